#include "codec/file_reading.h"

#include <QFile>

#include <new>

StreamOpener fileOpener(const QString &path)
{
    return [native = QFile::encodeName(path)](ByteStream &stream) {
        return !native.isEmpty() && stream.openFile(native.constData());
    };
}

BomKind DetectBom(const QString &path)
{
    return DetectBom(fileOpener(path));
}

ByteOrderResult DetectUtf16ByteOrder(const QString &path)
{
    return DetectUtf16ByteOrder(fileOpener(path));
}

int CheckUtf8(const QString &path)
{
    return CheckUtf8(fileOpener(path));
}

int CheckSjis(const QString &path)
{
    return CheckSjis(fileOpener(path));
}

int CheckEuc(const QString &path)
{
    return CheckEuc(fileOpener(path));
}

EncodingChoice ChooseEncoding(const QString &path)
{
    return ChooseEncoding(fileOpener(path));
}

FileReadResult ReadTextFile(const QString &path, FileEncoding encoding, TextSink &out)
{
    ByteStream stream;
    if (!fileOpener(path)(stream))
        return {ReadStatus::OpenFailed};
    return readOpenedFile(stream, encoding, out);
}

FileReadResult readOpenedFile(ByteStream &stream, FileEncoding encoding, TextSink &out)
{
    try {
        const ReadOutcome outcome = readTextStream(stream, encoding, out);
        return {outcome.failed ? ReadStatus::ReadFailed : ReadStatus::Read, outcome.firstBreak,
                outcome.unreadable, outcome.extension};
    } catch (const std::bad_alloc &) {
        return {ReadStatus::ReadFailed};
    }
}
