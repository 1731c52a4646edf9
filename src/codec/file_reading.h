// The detection and the document reader applied to a file named by its path.
#pragma once

#include "codec/encoding_detect.h"
#include "codec/text_reader.h"

#include <QString>

// Opens `path` afresh on each call.
StreamOpener fileOpener(const QString &path);

BomKind DetectBom(const QString &path);
ByteOrderResult DetectUtf16ByteOrder(const QString &path);
int CheckUtf8(const QString &path);
int CheckSjis(const QString &path);
int CheckEuc(const QString &path);
EncodingChoice ChooseEncoding(const QString &path);

// How reading a whole file went.
enum class ReadStatus {
    Read,       // the whole file is in the buffer
    OpenFailed, // nothing was read
    ReadFailed, // a read error or a lack of memory cut the text short: it must not be used
};

struct FileReadResult
{
    ReadStatus status = ReadStatus::OpenFailed;
    LineEnd firstBreak = LineEnd::None; // the file's first LF, CR LF or CR
    std::uint64_t unreadable = 0;       // codes the decoding could not read
    bool extension = false;             // code page 949: a UHC extension code occurred
};

// Appends the file's text to `out` (see readTextStream). Nothing is appended
// when the file cannot be opened; after a failed read `out` holds a part only.
FileReadResult ReadTextFile(const QString &path, FileEncoding encoding, TextSink &out);
// The same for a stream already opened on the file.
FileReadResult readOpenedFile(ByteStream &stream, FileEncoding encoding, TextSink &out);
