// The encoders of "save with encoding" against Python's codecs of the same name
// (tools/make_encoder_reference.py: every table character and the Korean and
// Japanese FAQ prose), the round trip of read-then-save, the codes written where
// two codes give one character or our tables differ from Python's, and the
// characters an encoding cannot hold.
#include "codec/encoders.h"
#include "codec/text_reader.h"
#include "export/document_writer.h"
#include "support/test_bytes.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const std::pair<const char *, OutputFormat> Formats[] = {
    {"Utf8", OutputFormat::Utf8},         {"Utf8Bom", OutputFormat::Utf8Bom},
    {"Utf16Le", OutputFormat::Utf16Le},   {"Utf16Be", OutputFormat::Utf16Be},
    {"ShiftJis", OutputFormat::ShiftJis}, {"EucJp", OutputFormat::EucJp},
    {"Cp949", OutputFormat::Cp949}};

// The decoding a file written in `format` is read back with.
FileEncoding readingOf(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Utf16Le:
        return UTF16LE;
    case OutputFormat::Utf16Be:
        return UTF16BE;
    case OutputFormat::ShiftJis:
        return SJIS;
    case OutputFormat::EucJp:
        return EUC;
    case OutputFormat::Cp949:
        return CP949;
    default:
        return UTF8;
    }
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// What the writer makes of `text`, handed over in pieces of `pieceSize` units.
QByteArray encoded(OutputFormat format, QStringView text, LineBreakStyle style,
                   qsizetype pieceSize = 16384)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out"));
    const TextPieces pieces = [&](const PieceVisitor &visit) {
        for (qsizetype at = 0; at < text.size(); at += pieceSize)
            if (!visit(text.mid(at, pieceSize)))
                return;
    };
    if (writeDocument(path, format, pieces, style) != WriteResult::Written)
        return QByteArray("<write failed>");
    return fileBytes(path);
}

Unencodable scanned(LegacyEncoding encoding, const QString &text, qsizetype pieceSize)
{
    UnencodableScanner scanner(encoding);
    const auto *u = reinterpret_cast<const char16_t *>(text.utf16());
    for (qsizetype at = 0; at < text.size(); at += pieceSize)
        scanner.scan(u + at, std::size_t(std::min(pieceSize, text.size() - at)));
    return scanner.finish();
}

} // namespace

class TestEncoders : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void matchesPython_data();
    void matchesPython();
    void chosenCodes_data();
    void chosenCodes();
    void unencodable_data();
    void unencodable();

private:
    QTemporaryDir m_dir;
    QList<QStringList> m_cases;
};

void TestEncoders::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QProcess python;
    python.start(
        QStringLiteral("python3"),
        {QStringLiteral(TAVRIL_SOURCE_DIR "/tools/make_encoder_reference.py"), m_dir.path()});
    QVERIFY(python.waitForFinished(120000));
    QVERIFY2(python.exitCode() == 0, python.readAllStandardError().constData());
    QFile manifest(m_dir.filePath(QStringLiteral("manifest.tsv")));
    QVERIFY(manifest.open(QIODevice::ReadOnly));
    while (!manifest.atEnd())
        if (const QString line = QString::fromUtf8(manifest.readLine()).trimmed(); !line.isEmpty())
            m_cases.append(line.split(QLatin1Char('\t')));
    QCOMPARE(m_cases.size(), 11);
}

void TestEncoders::matchesPython_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("format");
    QTest::addColumn<bool>("crlf");
    for (const QStringList &c : std::as_const(m_cases)) {
        const auto it = std::find_if(std::begin(Formats), std::end(Formats),
                                     [&](const auto &f) { return c[1] == QLatin1String(f.first); });
        QVERIFY(it != std::end(Formats));
        QTest::newRow(qPrintable(c[0])) << c[0] << int(it->second) << (c[2] == u"crlf");
    }
}

// Python's bytes for the text, also in small pieces; and those bytes read with
// our decoder and saved again give the same bytes.
void TestEncoders::matchesPython()
{
    QFETCH(QString, name);
    QFETCH(int, format);
    QFETCH(bool, crlf);
    const QByteArray raw = fileBytes(m_dir.filePath(name + QStringLiteral(".txt")));
    const QString text(reinterpret_cast<const QChar *>(raw.constData()), raw.size() / 2);
    const QByteArray python = fileBytes(m_dir.filePath(name + QStringLiteral(".bytes")));
    const LineBreakStyle style = crlf ? LineBreakStyle::CrLf : LineBreakStyle::Lf;
    QVERIFY(encoded(OutputFormat(format), text, style) == python);
    QVERIFY(encoded(OutputFormat(format), text, style, 5) == python);

    ByteStream stream;
    stream.openMemory(span(python));
    TextBuffer read;
    const ReadOutcome outcome = readTextStream(stream, readingOf(OutputFormat(format)), read);
    QCOMPARE(outcome.unreadable, std::uint64_t(0));
    const QStringView back(reinterpret_cast<const QChar *>(read.data()), qsizetype(read.size()));
    QCOMPARE(back.size(), text.size());
    QVERIFY(back == text);
    QVERIFY(encoded(OutputFormat(format), back, style) == python);
}

void TestEncoders::chosenCodes_data()
{
    QTest::addColumn<int>("format");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    const int sjis = int(OutputFormat::ShiftJis), euc = int(OutputFormat::EucJp),
              cp949 = int(OutputFormat::Cp949);
    // Where two codes give one character, the one Python's cp932 writes.
    QTest::newRow("SJIS U+2252 (81E0, 8790)") << sjis << units({0x2252}) << hex("81E0");
    QTest::newRow("SJIS U+FFE2 (81CA, EEF9, FA54)") << sjis << units({0xFFE2}) << hex("81CA");
    QTest::newRow("SJIS U+2170 (EEEF, FA40)") << sjis << units({0x2170}) << hex("EEEF");
    QTest::newRow("SJIS U+7E8A (ED40, FA5C)") << sjis << units({0x7E8A}) << hex("ED40");
    QTest::newRow("SJIS backslash, tilde, half-width")
        << sjis << units({0x5C, 0x7E, 0xFF71}) << hex("5C7EB1");
    // Where our EUC-JP table differs from Python's euc_jp: back to our codes.
    QTest::newRow("EUC OVERLINE") << euc << units({0x203E}) << hex("A1B1");
    QTest::newRow("EUC EM DASH") << euc << units({0x2014}) << hex("A1BD");
    QTest::newRow("EUC YEN SIGN") << euc << units({0x00A5}) << hex("A1EF");
    QTest::newRow("EUC FULLWIDTH APOSTROPHE") << euc << units({0xFF07}) << hex("A2AF");
    QTest::newRow("EUC half-width katakana") << euc << units({0xFF71}) << hex("8EB1");
    QTest::newRow("EUC-KR syllables") << cp949 << QStringLiteral("한글") << hex("C7D1B1DB");
    // An extension syllable as its UHC code, never KS X 1001's eight-byte jamo form.
    QTest::newRow("CP949 extension") << cp949 << QStringLiteral("똠") << hex("8C63");
    QTest::newRow("CP949 line breaks") << cp949 << QStringLiteral("a\nb") << hex("610D0A62");
}

void TestEncoders::chosenCodes()
{
    QFETCH(int, format);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(encoded(OutputFormat(format), text, LineBreakStyle::CrLf), bytes);
}

void TestEncoders::unencodable_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::addColumn<uint>("first");
    QTest::addColumn<int>("offset");
    QTest::addColumn<bool>("extension");
    const int sjis = int(LegacyEncoding::ShiftJis), euc = int(LegacyEncoding::EucJp),
              cp949 = int(LegacyEncoding::Cp949);
    QTest::newRow("all written") << sjis << QStringLiteral("abc あ\n漢") << 0 << 0u << 0 << false;
    QTest::newRow("Hangul in Shift JIS")
        << sjis << QStringLiteral("ab\n한글") << 2 << 0xD55Cu << 3 << false;
    QTest::newRow("emoji is one character")
        << sjis << QStringLiteral("x\U0001F600y\U0001F600") << 2 << 0x1F600u << 1 << false;
    QTest::newRow("lone surrogates")
        << euc << units({u'a', 0xDC00, 0xD800, u'b', 0xD800}) << 3 << 0xDC00u << 1 << false;
    QTest::newRow("wave dash is not EUC-JP")
        << euc << units({0xFF5E}) << 1 << 0xFF5Eu << 0 << false;
    QTest::newRow("kana in CP949 is KS X 1001")
        << cp949 << QStringLiteral("あ") << 0 << 0u << 0 << false;
    QTest::newRow("extension syllable")
        << cp949 << QStringLiteral("만세 똠") << 0 << 0u << 0 << true;
    QTest::newRow("emoji in CP949") << cp949 << QStringLiteral("똠😀") << 1 << 0x1F600u << 1 << true;
}

void TestEncoders::unencodable()
{
    QFETCH(int, encoding);
    QFETCH(QString, text);
    QFETCH(int, count);
    QFETCH(uint, first);
    QFETCH(int, offset);
    QFETCH(bool, extension);
    // A pair split between two pieces is still one character.
    for (const qsizetype piece : {qsizetype(1), qsizetype(2), text.size()}) {
        const Unencodable u = scanned(LegacyEncoding(encoding), text, piece);
        QCOMPARE(u.count, std::uint64_t(count));
        QCOMPARE(u.extension, extension);
        if (count > 0) {
            QCOMPARE(uint(u.first), first);
            QCOMPARE(u.firstOffset, std::uint64_t(offset));
        }
    }
}

QTEST_GUILESS_MAIN(TestEncoders)
#include "tst_encoders.moc"
