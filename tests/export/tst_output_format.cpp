// The three output formats and the atomic writer, without windows: the bytes
// of every edge case, the write steps around the 20000-unit boundary and the
// UTF-8 encoder against an independent reference.
#include "export/document_writer.h"
#include "export/output_format.h"
#include "support/test_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

namespace {

QByteArray utf8Bytes(const QString &text)
{
    std::vector<char> buffer(3 * std::size_t(text.size()) + 1, '\x55');
    const std::size_t n = EncodeUtf8(
        buffer.data(), reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size()));
    if (buffer[n] != '\0')
        return QByteArray("<no terminating zero>");
    return QByteArray(buffer.data(), qsizetype(n));
}

// The file the writer produces for `text`.
QByteArray written(OutputFormat format, const QString &text,
                   LineBreakStyle lineBreak = LineBreakStyle::CrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out"));
    if (writeDocument(path, format, text, lineBreak) != WriteResult::Written)
        return QByteArray("<write failed>");
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

const QByteArray CHead = "  wchar_t unicodestr[]={\r\n    ";
const QByteArray CTail = "0\r\n  };";
const QByteArray HtmlHead = "<html>\r\n<body>\r\n";
const QByteArray HtmlTail = "\r\n</body>\r\n</html>";

// Random text from every plane: ASCII, line feeds, Latin-1 (U+00A0), Hangul,
// U+2028, the private-use area and surrogate pairs from planes 1 to 16.
QString randomText(QRandomGenerator &rng, int size)
{
    QString s;
    s.reserve(size + 1);
    while (s.size() < size) {
        switch (rng.bounded(8)) {
        case 0:
            s.append(QChar(u'\n'));
            break;
        case 1:
            s.append(QChar(char16_t(0x80 + rng.bounded(0x780))));
            break;
        case 2:
            s.append(QChar(char16_t(0xAC00 + rng.bounded(11172))));
            break;
        case 3:
            s.append(QChar(rng.bounded(2) ? u'\u00A0' : u'\u2028'));
            break;
        case 4: {
            const char32_t c = 0x10000 + rng.bounded(0x100000);
            s.append(QString::fromUcs4(&c, 1));
            break;
        }
        case 5:
            s.append(QChar(char16_t(0xE000 + rng.bounded(0x2000))));
            break;
        default:
            s.append(QChar(char16_t(0x20 + rng.bounded(0x5F))));
            break;
        }
    }
    return s;
}

} // namespace

class TestOutputFormat : public QObject
{
    Q_OBJECT
private slots:
    void readOnlyFolderWritableFile();
    void metadataKept_data();
    void metadataKept();
    void utf8Units_data();
    void utf8Units();
    void utf8MatchesReferenceOnWellFormedText();
    void fileBytes_data();
    void fileBytes();
    void saveKeepsTheDocumentsStyle();
    void stepsStopAtTheBoundary_data();
    void stepsStopAtTheBoundary();
    void longDocumentsWrittenWhole_data();
    void longDocumentsWrittenWhole();
    void cCounterRestartsWithEachStep();
    void piecesGiveTheSameBytes_data();
    void piecesGiveTheSameBytes();
    void exportsAreAscii();
    void openFailsWhenParentIsAFile();
    void existingFileReplacedWhole();
    void targetIsAFolder();
};

void TestOutputFormat::utf8Units_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("A and Hangul") << units({u'A', 0xD55C}) << QByteArray("\x41\xED\x95\x9C");
    QTest::newRow("U+007F") << units({0x7F}) << QByteArray("\x7F");
    QTest::newRow("U+0080") << units({0x80}) << QByteArray("\xC2\x80");
    QTest::newRow("U+00E9") << units({0xE9}) << QByteArray("\xC3\xA9");
    QTest::newRow("U+07FF") << units({0x7FF}) << QByteArray("\xDF\xBF");
    QTest::newRow("U+0800") << units({0x800}) << QByteArray("\xE0\xA0\x80");
    QTest::newRow("U+FFFF") << units({0xFFFF}) << QByteArray("\xEF\xBF\xBF");
    QTest::newRow("pair D83D DE00") << units({0xD83D, 0xDE00}) << QByteArray("\xF0\x9F\x98\x80");
    QTest::newRow("U+10000") << units({0xD800, 0xDC00}) << QByteArray("\xF0\x90\x80\x80");
    QTest::newRow("U+10FFFF") << units({0xDBFF, 0xDFFF}) << QByteArray("\xF4\x8F\xBF\xBF");
    QTest::newRow("lone high, then ASCII")
        << units({0xD83D, u'a'}) << QByteArray("\xED\xA0\xBD\x61");
    QTest::newRow("lone high at the end")
        << units({u'a', 0xD83D}) << QByteArray("\x61\xED\xA0\xBD");
    QTest::newRow("lone low") << units({0xDE00}) << QByteArray("\xED\xB8\x80");
    QTest::newRow("low before high")
        << units({0xDE00, 0xD83D}) << QByteArray("\xED\xB8\x80\xED\xA0\xBD");
    QTest::newRow("two highs, then low")
        << units({0xD83D, 0xD83D, 0xDE00}) << QByteArray("\xED\xA0\xBD\xF0\x9F\x98\x80");
    QTest::newRow("zero keeps what follows") << units({u'a', 0, u'b'}) << QByteArray("a\0b", 3);
    // Long enough for the eight-unit ASCII path, broken at every position of a block.
    QTest::newRow("ASCII run, then Hangul")
        << QString(QStringLiteral("abcdefghijklmnopq") + QChar(0xD55C) + QStringLiteral("rs"))
        << QByteArray("abcdefghijklmnopq\xED\x95\x9Crs");
    QTest::newRow("Hangul inside a block")
        << QString(QStringLiteral("abcde") + QChar(0xD55C) + QStringLiteral("fghijkl"))
        << QByteArray("abcde\xED\x95\x9C"
                      "fghijkl");
}

void TestOutputFormat::utf8Units()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(utf8Bytes(text), bytes);
    // The save writes the same bytes (no byte-order mark, nothing added).
    QCOMPARE(written(OutputFormat::Utf8, text), bytes);
}

void TestOutputFormat::utf8MatchesReferenceOnWellFormedText()
{
    QRandomGenerator rng(20261207);
    for (int round = 0; round < 50; ++round) {
        const QString text = randomText(rng, int(rng.bounded(1, 400)));
        QCOMPARE(utf8Bytes(text), text.toUtf8());
        QString crlf = text;
        crlf.replace(QChar(u'\n'), QStringLiteral("\r\n"));
        QCOMPARE(written(OutputFormat::Utf8, text), crlf.toUtf8());
    }
}

void TestOutputFormat::fileBytes_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const int utf8 = int(OutputFormat::Utf8), html = int(OutputFormat::Html),
              c = int(OutputFormat::CArray);

    QTest::newRow("utf8 empty") << utf8 << QString() << QByteArray();
    QTest::newRow("utf8 two lines")
        << utf8 << QStringLiteral("ab\ncd") << QByteArray("\x61\x62\r\n\x63\x64");
    QTest::newRow("utf8 one final break") << utf8 << QStringLiteral("ab\n") << QByteArray("ab\r\n");
    QTest::newRow("utf8 two final breaks")
        << utf8 << QStringLiteral("ab\n\n") << QByteArray("ab\r\n\r\n");
    QTest::newRow("utf8 only a break") << utf8 << QStringLiteral("\n") << QByteArray("\r\n");
    QTest::newRow("utf8 only two breaks")
        << utf8 << QStringLiteral("\n\n") << QByteArray("\r\n\r\n");
    QTest::newRow("utf8 lone CR unit") << utf8 << QStringLiteral("a\rb") << QByteArray("a\rb");

    QTest::newRow("html ab") << html << QStringLiteral("ab") << HtmlHead + "&#97;&#98;" + HtmlTail;
    QTest::newRow("html empty") << html << QString() << HtmlHead + HtmlTail;
    QTest::newRow("html space amp lt Hangul")
        << html << QString(QStringLiteral(" &<") + QChar(0xD55C))
        << HtmlHead + "&#32;&#38;&#60;&#54620;" + HtmlTail;
    QTest::newRow("html tab raw") << html << QStringLiteral("\t") << HtmlHead + "\t" + HtmlTail;
    QTest::newRow("html line break")
        << html << QStringLiteral("a\nb") << HtmlHead + "&#97;\r\r\n&#98;" + HtmlTail;
    QTest::newRow("html two final breaks")
        << html << QStringLiteral("a\n\n") << HtmlHead + "&#97;\r\r\n\r\r\n" + HtmlTail;
    QTest::newRow("html pair, one reference")
        << html << units({0xD83D, 0xDE00}) << HtmlHead + "&#128512;" + HtmlTail;
    QTest::newRow("html lone halves keep their own")
        << html << units({0xDE00, 0xD83D, u'a', 0xDBFF, 0xDFFF})
        << HtmlHead + "&#56832;&#55357;&#97;&#1114111;" + HtmlTail;
    QTest::newRow("html zero writes nothing")
        << html << units({u'a', 0, u'b'}) << HtmlHead + "&#97;&#98;" + HtmlTail;
    QTest::newRow("html control codes")
        << html << units({1, 0x1A, 0x1F, u'\r', 0x7F, 0x80, 0xFFFF})
        << HtmlHead + "\x01\x1a\x1f\r&#127;&#128;&#65535;" + HtmlTail;

    QTest::newRow("c ab") << c << QStringLiteral("ab") << CHead + "0x61,0x62," + CTail;
    QTest::newRow("c empty") << c << QString() << CHead + CTail;
    QTest::newRow("c ten characters")
        << c << QStringLiteral("abcdefghij")
        << CHead + "0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68,0x69,0x6a,\r\n    " + CTail;
    QTest::newRow("c eleven characters")
        << c << QStringLiteral("abcdefghijk")
        << CHead + "0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68,0x69,0x6a,\r\n    0x6b," + CTail;
    QTest::newRow("c Hangul and tab")
        << c << QString(QChar(0xD55C) + QStringLiteral("\t")) << CHead + "0xd55c,0x9," + CTail;
    QTest::newRow("c line break gives two values")
        << c << QStringLiteral("a\nb") << CHead + "0x61,0xd,0xa,0x62," + CTail;
    QTest::newRow("c break across the tenth value")
        << c << QStringLiteral("abcdefghi\nx")
        << CHead + "0x61,0x62,0x63,0x64,0x65,0x66,0x67,0x68,0x69,0xd,\r\n    0xa,0x78," + CTail;
    QTest::newRow("c two final breaks")
        << c << QStringLiteral("ab\n\n") << CHead + "0x61,0x62,0xd,0xa,0xd,0xa," + CTail;
    QTest::newRow("c widths")
        << c << units({0, 0xF, 0x10, 0xFF, 0x100, 0xFFF, 0x1000, 0xFFFF, 0xD83D, 0xDE00})
        << CHead + "0x0,0xf,0x10,0xff,0x100,0xfff,0x1000,0xffff,0xd83d,0xde00,\r\n    " + CTail;
}

void TestOutputFormat::fileBytes()
{
    QFETCH(int, format);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(written(OutputFormat(format), text), bytes);
}

void TestOutputFormat::saveKeepsTheDocumentsStyle()
{
    const QString text = QStringLiteral("A\nB\n\n");
    QCOMPARE(written(OutputFormat::Utf8, text, LineBreakStyle::Lf), QByteArray("A\nB\n\n"));
    QCOMPARE(written(OutputFormat::Utf8, text, LineBreakStyle::Cr), QByteArray("A\rB\r\r"));
    // A break on every step boundary is written once.
    const QString edges = QString(19999, QChar(u'x')) + QStringLiteral("\n") +
                          QString(19999, QChar(u'y')) + QStringLiteral("\n\n");
    QString lf = edges;
    QCOMPARE(written(OutputFormat::Utf8, edges, LineBreakStyle::Lf), lf.toUtf8());
    QCOMPARE(written(OutputFormat::Utf8, edges, LineBreakStyle::Cr),
             lf.replace(QChar(u'\n'), QChar(u'\r')).toUtf8());
}

void TestOutputFormat::stepsStopAtTheBoundary_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("firstStep");
    const QString a19998(19998, QChar(u'a'));
    const QString a19999(19999, QChar(u'a'));
    for (const int format : {0, 1, 2}) {
        const QByteArray f = QByteArray::number(format);
        QTest::newRow(f + " exactly one step") << format << QString(20000, QChar(u'a')) << 20000;
        QTest::newRow(f + " one over") << format << QString(20001, QChar(u'a')) << 20000;
        QTest::newRow(f + " break fits as the last two")
            << format << QString(a19998 + QStringLiteral("\nb")) << 19999;
        QTest::newRow(f + " break would be split")
            << format << QString(a19999 + QStringLiteral("\nb")) << 19999;
    }
    // The UTF-8 save and the HTML export keep a pair together; C writes each half alike.
    QTest::newRow("utf8 pair would be split")
        << 0 << QString(a19999 + units({0xD83D, 0xDE00})) << 19999;
    QTest::newRow("html pair would be split")
        << 1 << QString(a19999 + units({0xD83D, 0xDE00})) << 19999;
    QTest::newRow("c pair split") << 2 << QString(a19999 + units({0xD83D, 0xDE00})) << 20000;
}

void TestOutputFormat::stepsStopAtTheBoundary()
{
    QFETCH(int, format);
    QFETCH(QString, text);
    QFETCH(int, firstStep);
    std::vector<char> buffer(StepBufferSize);
    const auto *src = reinterpret_cast<const char16_t *>(text.utf16());
    const StepResult first =
        encodeStep(OutputFormat(format), buffer.data(), src, std::size_t(text.size()));
    QCOMPARE(int(first.consumed), firstStep);
    QVERIFY(first.bytes <= maxStepBytes(OutputFormat(format)));
    const StepResult second = encodeStep(OutputFormat(format), buffer.data(), src + first.consumed,
                                         std::size_t(text.size()) - first.consumed);
    QCOMPARE(int(second.consumed), int(text.size()) - firstStep);
}

void TestOutputFormat::longDocumentsWrittenWhole_data()
{
    QTest::addColumn<QString>("text");
    QRandomGenerator rng(5);
    QTest::newRow("random, three steps and more") << randomText(rng, 65000);
    // Line breaks and pairs placed on every boundary position of the first steps.
    QString edges;
    for (int step = 0; step < 4; ++step) {
        edges += QString(19997, QChar(u'x'));
        edges += units({0xD83D, 0xDE00, u'\n', 0xD55C, u'\n', u'\n'});
    }
    QTest::newRow("breaks and pairs at the boundaries") << edges;
    QTest::newRow("only line breaks") << QString(45001, QChar(u'\n'));
    QTest::newRow("only Hangul") << QString(61234, QChar(0xD55C));
}

void TestOutputFormat::longDocumentsWrittenWhole()
{
    QFETCH(QString, text);
    // UTF-8: exactly the text, each break as CR LF, nothing repeated or lost.
    QString crlf = text;
    crlf.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    QCOMPARE(written(OutputFormat::Utf8, text), crlf.toUtf8());

    // HTML: one reference per character from the space up, in order.
    QByteArray html = HtmlHead;
    for (qsizetype i = 0; i < crlf.size(); ++i) {
        const char16_t u = crlf.at(i).unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < crlf.size() && crlf.at(i + 1).isLowSurrogate())
            html +=
                "&#" + QByteArray::number(QChar::surrogateToUcs4(u, crlf.at(++i).unicode())) + ';';
        else if (u >= 32)
            html += "&#" + QByteArray::number(u) + ';';
        else if (u == u'\n')
            html += "\r\n";
        else if (u != 0)
            html += char(u);
    }
    html += HtmlTail;
    QCOMPARE(written(OutputFormat::Html, text), html);

    // C: the values in order once the layout is taken away.
    const QByteArray c = written(OutputFormat::CArray, text);
    QVERIFY(c.startsWith(CHead));
    QVERIFY(c.endsWith(CTail));
    QByteArray values = c.mid(CHead.size(), c.size() - CHead.size() - CTail.size());
    values.replace("\r\n    ", "");
    QByteArray expected;
    for (const QChar ch : crlf)
        expected += "0x" + QByteArray::number(ch.unicode(), 16) + ',';
    QCOMPARE(values, expected);
}

void TestOutputFormat::cCounterRestartsWithEachStep()
{
    // The first step ends before the break (19999 values, the last line holding
    // nine); the second starts its count again on that same line.
    const QString text = QString(19999, QChar(u'a')) + QStringLiteral("\nb");
    const QByteArray c = written(OutputFormat::CArray, text);
    QVERIFY(c.endsWith("\r\n    " + QByteArray("0x61,").repeated(9) + "0xd,0xa,0x62,0\r\n  };"));
    QCOMPARE(c.count("\r\n    "), 1 + 1999 + 0);

    // A full step of 20000 values ends its last line; the next step starts fresh.
    const QByteArray full = written(OutputFormat::CArray, QString(20015, QChar(u'a')));
    QVERIFY(full.endsWith("\r\n    " + QByteArray("0x61,").repeated(10) + "\r\n    " +
                          QByteArray("0x61,").repeated(5) + "0\r\n  };"));

    // Steps that end before a break leave lines longer than ten values behind.
    const QString unit = QString(19999, QChar(u'a')) + QStringLiteral("\n");
    const QByteArray twice = written(OutputFormat::CArray, unit + unit + QStringLiteral("z"));
    QVERIFY(twice.contains("\r\n    " + QByteArray("0x61,").repeated(9) + "0xd,0xa," +
                           QByteArray("0x61,").repeated(8) + "\r\n    "));
}

void TestOutputFormat::piecesGiveTheSameBytes_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<int>("pieceSize");
    const std::pair<const char *, OutputFormat> formats[] = {
        {"UTF-8", OutputFormat::Utf8},         {"HTML", OutputFormat::Html},
        {"C", OutputFormat::CArray},           {"UTF-16 BE", OutputFormat::Utf16Be},
        {"Shift JIS", OutputFormat::ShiftJis}, {"CP949", OutputFormat::Cp949}};
    for (const auto &[name, format] : formats)
        for (const int size : {1, 3, 7919})
            QTest::addRow("%s in pieces of %d", name, size) << int(format) << size;
}

// The document's blocks may cut a surrogate pair or a step anywhere: the bytes
// are those of the whole text, the C array's lines included.
void TestOutputFormat::piecesGiveTheSameBytes()
{
    QFETCH(int, format);
    QFETCH(int, pieceSize);
    QRandomGenerator rng(7 + quint32(pieceSize));
    const QString text = randomText(rng, 45000);
    const auto whole = written(OutputFormat(format), text, LineBreakStyle::CrLf);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pieces"));
    const TextPieces pieces = [&](const PieceVisitor &visit) {
        for (qsizetype at = 0; at < text.size(); at += pieceSize)
            if (!visit(QStringView(text).mid(at, pieceSize)))
                return;
    };
    QCOMPARE(writeDocument(path, OutputFormat(format), pieces, LineBreakStyle::CrLf),
             WriteResult::Written);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll() == whole);
}

void TestOutputFormat::exportsAreAscii()
{
    QRandomGenerator rng(77);
    const QString text = randomText(rng, 30000);
    for (const OutputFormat format : {OutputFormat::Html, OutputFormat::CArray}) {
        const QByteArray bytes = written(format, text);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(std::all_of(bytes.begin(), bytes.end(), [](char b) { return (b & 0x80) == 0; }));
        // Every LF on disk is part of a CR LF pair (text mode).
        for (qsizetype i = bytes.indexOf('\n'); i >= 0; i = bytes.indexOf('\n', i + 1))
            QCOMPARE(bytes.at(i - 1), '\r');
    }
}

void TestOutputFormat::openFailsWhenParentIsAFile()
{
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.write("keep");
    plain.close();
    const QString path = dir.filePath(QStringLiteral("plain/out.txt"));
    QCOMPARE(writeDocument(path, OutputFormat::Utf8, QStringLiteral("x")), WriteResult::OpenFailed);
    QVERIFY(!QFile::exists(path));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plain"});
}

void TestOutputFormat::existingFileReplacedWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("doc.txt"));
    QFile old(path);
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(5000, 'z'));
    old.close();
    // A private file stays private.
    const auto ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    QVERIFY(QFile::setPermissions(path, ownerOnly));
    QCOMPARE(writeDocument(path, OutputFormat::Utf8, QStringLiteral("ab")), WriteResult::Written);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("ab"));
    const auto ownerGroupOther = QFileDevice::Permissions(0x7077);
    QCOMPARE(QFile::permissions(path) & ownerGroupOther, ownerOnly);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"doc.txt"});
}

void TestOutputFormat::targetIsAFolder()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const QString path = dir.filePath(QStringLiteral("folder"));
    QVERIFY(writeDocument(path, OutputFormat::Utf8, QStringLiteral("x")) != WriteResult::Written);
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}

void TestOutputFormat::readOnlyFolderWritableFile()
{
    // Nothing can be written beside the file, but the file itself is writable:
    // the save writes it in place rather than fail.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.txt"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("old") == 3);
    f.close();
    const auto all = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                     QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    QVERIFY(QFile::setPermissions(path, all));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner |
                                                  QFileDevice::ReadOther | QFileDevice::ExeOther |
                                                  QFileDevice::ReadGroup | QFileDevice::ExeGroup));
    bool written = false;
    if (::geteuid() == 0) {
        // The superuser writes into any folder: the save runs as an ordinary user.
        const pid_t child = ::fork();
        if (child == 0) {
            const bool ok =
                ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                writeDocument(path, OutputFormat::Utf8, u"new\ntext") == WriteResult::Written;
            ::_exit(ok ? 0 : 1);
        }
        int status = 0;
        QVERIFY(child > 0 && ::waitpid(child, &status, 0) == child);
        written = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    } else {
        written = writeDocument(path, OutputFormat::Utf8, u"new\ntext") == WriteResult::Written;
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(written);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("new\r\ntext"));
}

void TestOutputFormat::metadataKept_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("mode");
    QTest::newRow("plain 0640") << "plain" << 0640;
    QTest::newRow("plain 0755") << "plain" << 0755;
    QTest::newRow("symbolic link") << "symlink" << 0604;
    QTest::newRow("two hard links") << "hardlink" << 0660;
    QTest::newRow("link to a hard-linked file") << "both" << 0600;
}

// A save keeps what the file was: a link stays a link and its target gets the
// text, the mode bits stay, the owner and group stay (where the process may set
// them: here as the superuser), every hard-linked name sees the new text.
void TestOutputFormat::metadataKept()
{
    QFETCH(QString, kind);
    QFETCH(int, mode);
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("target.txt"));
    const QString other = dir.filePath(QStringLiteral("other name.txt"));
    const QString link = dir.filePath(QStringLiteral("link.txt"));
    QFile f(target);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write("a much longer old text") > 0);
    f.close();
    QCOMPARE(::chmod(QFile::encodeName(target).constData(), mode_t(mode)), 0);
    const bool root = ::geteuid() == 0;
    if (root)
        QCOMPARE(::chown(QFile::encodeName(target).constData(), 65534, 65534), 0);
    if (kind == QLatin1String("hardlink") || kind == QLatin1String("both"))
        QCOMPARE(
            ::link(QFile::encodeName(target).constData(), QFile::encodeName(other).constData()), 0);
    if (kind == QLatin1String("symlink") || kind == QLatin1String("both"))
        QVERIFY(QFile::link(QStringLiteral("target.txt"), link));
    const QString saved =
        kind == QLatin1String("plain") || kind == QLatin1String("hardlink") ? target : link;
    struct stat before;
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &before), 0);

    QCOMPARE(writeDocument(saved, OutputFormat::Utf8, u"new"), WriteResult::Written);

    struct stat after;
    QCOMPARE(::stat(QFile::encodeName(target).constData(), &after), 0);
    QCOMPARE(int(after.st_mode & 07777), mode);
    if (root) {
        QCOMPARE(after.st_uid, uid_t(65534));
        QCOMPARE(after.st_gid, gid_t(65534));
    }
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("new"));
    f.close();
    if (saved == link)
        QCOMPARE(QFileInfo(link).symLinkTarget(), target);
    if (before.st_nlink > 1) {
        QCOMPARE(after.st_ino, before.st_ino); // the same file under both names
        QFile o(other);
        QVERIFY(o.open(QIODevice::ReadOnly));
        QCOMPARE(o.readAll(), QByteArray("new"));
    }
    // No temporary file left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(),
             1 + int(before.st_nlink > 1) + int(saved == link));
}

QTEST_GUILESS_MAIN(TestOutputFormat)
#include "tst_output_format.moc"
