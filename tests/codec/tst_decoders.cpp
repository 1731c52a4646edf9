// Line readers, the four decoders, the three code tables and whole documents,
// including lines far longer than one read, into a buffer and into the store.
#include "codec/decoders.h"
#include "codec/store_loading.h"
#include "codec/text_reader.h"
#include "document/text_store.h"
#include "support/test_bytes.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <vector>

Q_DECLARE_METATYPE(FileEncoding)

class TestDecoders : public QObject
{
    Q_OBJECT
private slots:
    void byteLines_data();
    void byteLines();
    void utf16Lines_data();
    void utf16Lines();
    void utf8_data();
    void utf8();
    void sjis_data();
    void sjis();
    void euc_data();
    void euc();
    void cp949_data();
    void cp949();
    void cutOffAtPieceEnd_data();
    void cutOffAtPieceEnd();
    void tableCountsAndOrder();
    void tableSamples_data();
    void tableSamples();
    void everyEntryFound();
    void decodersAgreeWithLookup();
    void tablesMatchGenerator();
    void documents_data();
    void documents();
    void firstLineBreak_data();
    void firstLineBreak();
    void longLinesStayWhole_data();
    void longLinesStayWhole();
    void loadFileIntoStore();
};

namespace {

// Every read until the stream is at its end: each piece, "+" marking one that
// stopped at the limit.
QStringList bytePieces(const QByteArray &bytes, int limit)
{
    ByteStream stream;
    stream.openMemory(span(bytes));
    std::vector<std::uint8_t> buffer(std::size_t(limit) + 1);
    QStringList out;
    for (int guard = 0; guard < 1000; ++guard) {
        const LinePiece p = ReadByteLine(stream, buffer.data(), limit);
        if (buffer[std::size_t(p.length)] != 0)
            return {QStringLiteral("unterminated")};
        out << QString::fromLatin1(reinterpret_cast<const char *>(buffer.data()), p.length) +
                   (p.more ? QStringLiteral("+") : QString());
        if (stream.atEnd())
            break;
    }
    return out;
}

QStringList unitPieces(const QByteArray &bytes, int limit, bool bigEndian)
{
    ByteStream stream;
    stream.openMemory(span(bytes));
    std::vector<char16_t> buffer(std::size_t(limit) + 1);
    QStringList out;
    for (int guard = 0; guard < 1000; ++guard) {
        const LinePiece p = ReadUtf16Line(stream, buffer.data(), limit, bigEndian);
        if (buffer[std::size_t(p.length)] != 0)
            return {QStringLiteral("unterminated")};
        out << QString(reinterpret_cast<const QChar *>(buffer.data()), p.length) +
                   (p.more ? QStringLiteral("+") : QString());
        if (stream.atEnd())
            break;
    }
    return out;
}

using Decoder = DecodeResult (*)(std::span<const std::uint8_t>, char16_t *, bool);

QString decode(Decoder d, const QByteArray &bytes, bool last = true, int *used = nullptr)
{
    std::vector<char16_t> out(std::size_t(bytes.size()) + 1, u'\xAAAA');
    const DecodeResult r = d(span(bytes), out.data(), last);
    if (used)
        *used = r.used;
    else if (r.used != bytes.size())
        return QStringLiteral("not all bytes used");
    if (r.units > bytes.size())
        return QStringLiteral("longer than its input");
    return QString(reinterpret_cast<const QChar *>(out.data()), r.units);
}

QString readDocument(const QByteArray &bytes, FileEncoding encoding, int pieceLimit = MaxLineLength,
                     std::size_t *lines = nullptr)
{
    ByteStream stream;
    stream.openMemory(span(bytes));
    TextBuffer text;
    const std::size_t n = readTextStream(stream, encoding, text, pieceLimit).lines;
    if (lines)
        *lines = n;
    return QString(reinterpret_cast<const QChar *>(text.data()), qsizetype(text.size()));
}

// The same document read straight into the store's blocks (tiny ones when
// `blockUnits` is set, so that every read needs fresh room).
QString readIntoStore(const QByteArray &bytes, FileEncoding encoding, int pieceLimit,
                      int blockUnits = 0)
{
    TextStore store;
    store.setBlockUnits(blockUnits);
    {
        ByteStream stream;
        stream.openMemory(span(bytes));
        TextStore::Loader loader(store);
        LoaderSink sink(loader);
        readTextStream(stream, encoding, sink, pieceLimit);
    }
    return store.text();
}

} // namespace

void TestDecoders::byteLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("pieces");
    const int max = MaxLineLength;
    QTest::newRow("LF, CR LF, CR")
        << QByteArray("A\r\nB\rC\nD") << max << QStringList{"A", "B", "C", "D"};
    QTest::newRow("final break, then empty read")
        << QByteArray("A\n") << max << QStringList{"A", ""};
    QTest::newRow("SUB in a line") << QByteArray("ab\x1A"
                                                 "cd")
                                   << max << QStringList{"ab", "cd"};
    QTest::newRow("CR SUB is one break") << QByteArray("A\r\x1A"
                                                       "B")
                                         << max << QStringList{"A", "B"};
    QTest::newRow("CR at the end") << QByteArray("A\r") << max << QStringList{"A"};
    QTest::newRow("CR CR at the end") << QByteArray("A\r\r") << max << QStringList{"A", ""};
    QTest::newRow("CR CR LF") << QByteArray("A\r\r\nB") << max << QStringList{"A", "", "B"};
    QTest::newRow("zero byte") << QByteArray("A\0B", 3) << max << QStringList{"A", "B"};
    QTest::newRow("CR zero") << QByteArray("A\r\0B", 4) << max << QStringList{"A", "", "B"};
    QTest::newRow("SUB alone") << QByteArray("\x1A") << max << QStringList{"", ""};
    QTest::newRow("empty") << QByteArray() << max << QStringList{""};
    QTest::newRow("limit") << QByteArray("abcdefg\n") << 3 << QStringList{"abc+", "def+", "g", ""};
    QTest::newRow("limit at break") << QByteArray("abc\nd") << 3 << QStringList{"abc+", "", "d"};
    QTest::newRow("long ASCII run") << QByteArray("0123456789abcdefghij\tklmnop\r\nq") << max
                                    << QStringList{"0123456789abcdefghij\tklmnop", "q"};
}

void TestDecoders::byteLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, limit);
    QFETCH(QStringList, pieces);
    QCOMPARE(bytePieces(bytes, limit), pieces);
}

void TestDecoders::utf16Lines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("bigEndian");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QStringList>("pieces");
    const int max = MaxLineLength;
    QTest::newRow("CR LF") << hex("41000D000A004200") << false << max << QStringList{"A", "B"};
    QTest::newRow("lone CR keeps B")
        << hex("41000D004200") << false << max << QStringList{"A", "B"};
    QTest::newRow("CR CR LF one break")
        << hex("41000D000D000A004200") << false << max << QStringList{"A", "B"};
    QTest::newRow("CR CR two breaks") << le("A\r\rB") << false << max << QStringList{"A", "", "B"};
    QTest::newRow("CR CR CR LF") << le("A\r\r\r\nB") << false << max << QStringList{"A", "", "B"};
    QTest::newRow("CR CR at the end") << le("A\r\r") << false << max << QStringList{"A", ""};
    QTest::newRow("CR at the end") << le("A\r") << false << max << QStringList{"A"};
    QTest::newRow("CR zero") << le(QString::fromUtf16(u"A\r\0B", 4)) << false << max
                             << QStringList{"A", "B"};
    QTest::newRow("CR SUB") << le("A\r\x1A"
                                  "B")
                            << false << max << QStringList{"A", "", "B"};
    QTest::newRow("zero unit") << le(QString::fromUtf16(u"A\0B", 3)) << false << max
                               << QStringList{"A", "B"};
    QTest::newRow("SUB") << le("A\x1A"
                               "B")
                         << false << max << QStringList{"A", "B"};
    QTest::newRow("swapped controls are characters")
        << hex("000A000D001A4100") << false << max
        << QStringList{units({0x0A00, 0x0D00, 0x1A00, u'A'})};
    QTest::newRow("big-endian") << be("A\r\nB\rC") << true << max << QStringList{"A", "B", "C"};
    QTest::newRow("big-endian swapped controls")
        << hex("0A000D001A000041") << true << max
        << QStringList{units({0x0A00, 0x0D00, 0x1A00, u'A'})};
    QTest::newRow("odd last byte lost")
        << hex("41004200") + "C" << false << max << QStringList{"AB"};
    QTest::newRow("surrogates pass")
        << hex("3DD800DE3DD8") << false << max << QStringList{units({0xD83D, 0xDE00, 0xD83D})};
    QTest::newRow("limit") << le("ABCDE\n") << false << 2 << QStringList{"AB+", "CD+", "E", ""};
}

void TestDecoders::utf16Lines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, bigEndian);
    QFETCH(int, limit);
    QFETCH(QStringList, pieces);
    QCOMPARE(unitPieces(bytes, limit, bigEndian), pieces);
}

void TestDecoders::utf8_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const char16_t R = ReplacementCharacter;
    QTest::newRow("three bytes") << hex("E38182") << units({0x3042});
    QTest::newRow("two bytes") << hex("C3A9") << units({0x00E9});
    QTest::newRow("four bytes as a pair") << hex("F09F9880") << units({0xD83D, 0xDE00});
    QTest::newRow("lowest four bytes") << hex("F0908080") << units({0xD800, 0xDC00});
    QTest::newRow("highest four bytes") << hex("F48FBFBF") << units({0xDBFF, 0xDFFF});
    QTest::newRow("encoded surrogates kept") << hex("EDA0BDEDB880") << units({0xD83D, 0xDE00});
    QTest::newRow("below surrogates") << hex("ED9FBF") << units({0xD7FF});
    QTest::newRow("mark inside") << hex("41EFBBBF42") << units({u'A', 0xFEFF, u'B'});
    QTest::newRow("highest BMP") << hex("EFBFBF") << units({0xFFFF});
    QTest::newRow("stray continuation") << hex("80BF41") << units({R, R, u'A'});
    QTest::newRow("C0 C1 never start") << hex("C0AFC181") << units({R, R, R, R});
    QTest::newRow("overlong three") << hex("E080AF") << units({R, R, R});
    QTest::newRow("three cut by ASCII") << hex("E38141") << units({R, u'A'});
    QTest::newRow("three cut early") << hex("E341") << units({R, u'A'});
    QTest::newRow("cut then whole") << hex("E381E38182") << units({R, 0x3042});
    QTest::newRow("above U+10FFFF") << hex("F4908080") << units({R, R, R, R});
    QTest::newRow("four cut by ASCII") << hex("F09F9841") << units({R, u'A'});
    QTest::newRow("four overlong") << hex("F08F8080") << units({R, R, R, R});
    QTest::newRow("F5 and FF") << hex("F580FF") << units({R, R, R});
    QTest::newRow("cut at line end") << hex("41F09F98") << units({u'A', R});
    QTest::newRow("two cut at line end") << hex("C2") << units({R});
    QTest::newRow("ASCII runs") << QByteArray("abcdefghijk\xC3\xA9lmnopqrstuvwxyz01")
                                << QString::fromUtf8("abcdefghijkélmnopqrstuvwxyz01");
    QTest::newRow("Japanese") << QString::fromUtf8("日本語のテキスト、ｶﾅ。").toUtf8()
                              << QString::fromUtf8("日本語のテキスト、ｶﾅ。");
}

void TestDecoders::utf8()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decode(&DecodeUtf8, bytes), text);
}

void TestDecoders::sjis_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const char16_t M = MissingCharacter;
    QTest::newRow("hiragana") << hex("82A0") << units({0x3042});
    QTest::newRow("backslash stays") << hex("5C7E") << units({0x5C, 0x7E});
    QTest::newRow("lone lead at end") << hex("4182") << units({u'A', M});
    QTest::newRow("user-defined area") << hex("F040F9FC") << units({M, M});
    QTest::newRow("wave dash") << hex("8160") << units({0xFF5E});
    QTest::newRow("unassigned takes its trail") << hex("824041") << units({M, u'A'});
    QTest::newRow("lead without trail") << hex("827F41") << units({M, 0x7F, u'A'});
    QTest::newRow("lead before line end byte") << hex("8220") << units({M, u' '});
    QTest::newRow("single bytes without mapping") << hex("80A0FDFEFF") << units({M, M, M, M, M});
    QTest::newRow("half-width katakana") << hex("A1B1DF") << units({0xFF61, 0xFF71, 0xFF9F});
    QTest::newRow("NEC and IBM rows")
        << hex("87408790ED40FA40") << units({0x2460, 0x2252, 0x7E8A, 0x2170});
    QTest::newRow("last entry") << hex("FC4BFC4C") << units({0x9ED1, M});
    QTest::newRow("text") << hex("93FA967B8CEA82CC83658393834C8358836741")
                          << QString::fromUtf8("日本語のテンキストA");
}

void TestDecoders::sjis()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decode(&DecodeSjis, bytes), text);
}

void TestDecoders::euc_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const char16_t M = MissingCharacter;
    QTest::newRow("hiragana") << hex("A4A2") << units({0x3042});
    QTest::newRow("half-width katakana") << hex("8EB1") << units({0xFF71});
    QTest::newRow("wave dash") << hex("A1C1") << units({0x301C});
    QTest::newRow("lone first byte dropped") << hex("41A4") << units({u'A'});
    QTest::newRow("single-shift 3") << hex("8FA2AF41") << units({M, M});
    QTest::newRow("three changed entries")
        << hex("A1B1A1BDA1EF") << units({0x203E, 0x2014, 0x00A5});
    QTest::newRow("apostrophe") << hex("A2AF") << units({0xFF07});
    QTest::newRow("last JIS X 0208") << hex("F4A6F4A7") << units({0x7199, M});
    QTest::newRow("no row 13") << hex("ADA1") << units({M});
    QTest::newRow("ASCII unchanged") << QByteArray("a\\b~c") << QStringLiteral("a\\b~c");
    QTest::newRow("pair with ASCII second") << hex("A44142") << units({M, u'B'});
}

void TestDecoders::euc()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decode(&DecodeEuc, bytes), text);
}

void TestDecoders::cp949_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    const char16_t M = MissingCharacter;
    QTest::newRow("EUC-KR Hangul") << hex("C7D1B1DB") << QString::fromUtf8("한글");
    QTest::newRow("extension codes") << hex("8C63B9E6B0A2C7CF") << QString::fromUtf8("똠방각하");
    QTest::newRow("first and last extension") << hex("8141C652") << units({0xAC02, 0xD7A3});
    QTest::newRow("hanja, jamo, kana")
        << hex("CAFAA4A1AAA1ABA1") << units({0x7D3A, 0x3131, 0x3041, 0x30A1});
    QTest::newRow("symbols") << hex("A1A1A2E6A3DC") << units({0x3000, 0x20AC, 0xFFE6});
    QTest::newRow("ASCII unchanged")
        << QByteArray("a\\b~c 0123456789") << QStringLiteral("a\\b~c 0123456789");
    QTest::newRow("user-defined rows") << hex("C9A1FEFE") << units({M, M});
    QTest::newRow("unassigned takes its trail") << hex("A2E841") << units({M, u'A'});
    QTest::newRow("lead without trail") << hex("B05B41") << units({M, u'[', u'A'});
    QTest::newRow("lead before a space") << hex("C720") << units({M, u' '});
    QTest::newRow("single bytes without mapping") << hex("80FF41") << units({M, M, u'A'});
    QTest::newRow("lone lead at end") << hex("41C7") << units({u'A', M});
    QTest::newRow("sentence") << hex("BEC8B3E7C7CFBCBCBFE42E20414243")
                              << QString::fromUtf8("안녕하세요. ABC");
}

void TestDecoders::cp949()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decode(&decodeCp949, bytes), text);
}

void TestDecoders::cutOffAtPieceEnd_data()
{
    QTest::addColumn<int>("which");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("used");
    QTest::addColumn<QString>("text");
    QTest::newRow("UTF-8 three cut") << 0 << hex("41E381") << 1 << "A";
    QTest::newRow("UTF-8 four cut") << 0 << hex("F09F98") << 0 << "";
    QTest::newRow("UTF-8 invalid decided")
        << 0 << hex("E341") << 2 << units({ReplacementCharacter, u'A'});
    QTest::newRow("UTF-8 stray byte decided")
        << 0 << hex("4180") << 2 << units({u'A', ReplacementCharacter});
    QTest::newRow("SJIS lead cut") << 1 << hex("4182") << 1 << "A";
    QTest::newRow("SJIS katakana complete") << 1 << hex("41B1") << 2 << units({u'A', 0xFF71});
    QTest::newRow("EUC first byte cut") << 2 << hex("41A4") << 1 << "A";
    QTest::newRow("CP949 lead cut") << 3 << hex("41C7") << 1 << "A";
    QTest::newRow("CP949 pair complete") << 3 << hex("8C63") << 2 << QString::fromUtf8("똠");
    QTest::newRow("CP949 stray byte decided")
        << 3 << hex("4180") << 2 << units({u'A', MissingCharacter});
}

void TestDecoders::cutOffAtPieceEnd()
{
    QFETCH(int, which);
    QFETCH(QByteArray, bytes);
    QFETCH(int, used);
    QFETCH(QString, text);
    const Decoder d[] = {&DecodeUtf8, &DecodeSjis, &DecodeEuc, &decodeCp949};
    int actualUsed = -1;
    QCOMPARE(decode(d[which], bytes, false, &actualUsed), text);
    QCOMPARE(actualUsed, used);
}

void TestDecoders::tableCountsAndOrder()
{
    // Strictly ascending codes: no duplicates and no unfilled entries.
    const auto ascending = [](std::span<const CodeEntry> t) {
        return std::adjacent_find(t.begin(), t.end(), [](const CodeEntry &a, const CodeEntry &b) {
                   return a.code >= b.code;
               }) == t.end();
    };
    QCOMPARE(std::size(SjisTable), std::size_t(7915));
    QCOMPARE(std::size(EucTable), std::size_t(6943));
    QCOMPARE(std::size(Cp949Table), std::size_t(17048));
    QVERIFY(ascending(SjisTable));
    QVERIFY(ascending(EucTable));
    QVERIFY(ascending(Cp949Table));
    const auto count = [](std::span<const CodeEntry> t, unsigned lo, unsigned hi) {
        return std::count_if(t.begin(), t.end(),
                             [&](const CodeEntry &e) { return e.code >= lo && e.code <= hi; });
    };
    QCOMPARE(count(SjisTable, 0x00, 0xFF), 191);     // 0x00-0x7F and 0xA1-0xDF
    QCOMPARE(count(SjisTable, 0x100, 0xFFFF), 7724); // double-byte codes
    QCOMPARE(count(SjisTable, 0xF040, 0xF9FC), 0);   // no user-defined area
    QCOMPARE(count(EucTable, 0xA1A1, 0xFEFE), 6880); // JIS X 0208 and 0xA2AF
    QCOMPARE(count(EucTable, 0x8EA1, 0x8EDF), 63);   // half-width katakana
    QCOMPARE(count(EucTable, 0xF4A7, 0xFFFF), 0);    // nothing after 0xF4A6
    // KS X 1001 in A1-FE pairs, the rest extension Hangul syllables.
    const auto ksx1001 =
        std::count_if(std::begin(Cp949Table), std::end(Cp949Table), [](const CodeEntry &e) {
            return e.code >= 0xA100 && (e.code & 0xFF) >= 0xA1;
        });
    QCOMPARE(ksx1001, 8226);
    QCOMPARE(std::count_if(
                 std::begin(Cp949Table), std::end(Cp949Table),
                 [](const CodeEntry &e) { return e.character >= 0xAC00 && e.character <= 0xD7A3; }),
             11172); // every modern Hangul syllable, once
    QCOMPARE(count(Cp949Table, 0x0000, 0x8140), 0);
    QCOMPARE(count(Cp949Table, 0xC9A1, 0xC9FE), 0); // user-defined rows
    QCOMPARE(count(Cp949Table, 0xFEA1, 0xFEFE), 0);
    for (unsigned b = 0; b < 0x80; ++b)
        QCOMPARE(LookupCode(SjisTable, std::uint16_t(b)), char16_t(b));
    for (unsigned b = 0xA1; b <= 0xDF; ++b) {
        QCOMPARE(LookupCode(SjisTable, std::uint16_t(b)), char16_t(0xFF61 + b - 0xA1));
        QCOMPARE(LookupCode(EucTable, std::uint16_t(0x8E00 + b)), char16_t(0xFF61 + b - 0xA1));
    }
    QCOMPARE(SjisTable[std::size(SjisTable) - 1].code, std::uint16_t(0xFC4B));
    QCOMPARE(EucTable[std::size(EucTable) - 1].code, std::uint16_t(0xF4A6));
    QCOMPARE(Cp949Table[std::size(Cp949Table) - 1].code, std::uint16_t(0xFDFE));
}

void TestDecoders::tableSamples_data()
{
    QTest::addColumn<int>("table"); // 0 Shift JIS, 1 EUC-JP, 2 code page 949
    QTest::addColumn<int>("code");
    QTest::addColumn<int>("character");
    const int M = MissingCharacter;
    const int sjisSamples[][2] = {
        {0x5C, 0x5C},     {0x7E, 0x7E},     {0xA1, 0xFF61},   {0xDF, 0xFF9F},   {0x815F, 0xFF3C},
        {0x8160, 0xFF5E}, {0x8161, 0x2225}, {0x817C, 0xFF0D}, {0x8191, 0xFFE0}, {0x8192, 0xFFE1},
        {0x81CA, 0xFFE2}, {0x8740, 0x2460}, {0x8790, 0x2252}, {0x81E0, 0x2252}, {0xED40, 0x7E8A},
        {0xFA40, 0x2170}, {0x889F, 0x4E9C}, {0x82A0, 0x3042}, {0xFC4B, 0x9ED1}, {0x80, M},
        {0xA0, M},        {0xFD, M},        {0xFE, M},        {0xFF, M},        {0xF040, M},
        {0xF5A0, M},      {0xF9FC, M},      {0x8240, M},
    };
    for (const auto &s : sjisSamples)
        QTest::addRow("SJIS %04X", s[0]) << 0 << s[0] << s[1];
    const int eucSamples[][2] = {
        {0xA1A1, 0x3000}, {0xA1C0, 0xFF3C}, {0xA1C1, 0x301C}, {0xA1C2, 0x2016}, {0xA1DD, 0x2212},
        {0xA1F1, 0x00A2}, {0xA1F2, 0x00A3}, {0xA2CC, 0x00AC}, {0xB0A1, 0x4E9C}, {0xA4A2, 0x3042},
        {0xF4A6, 0x7199}, {0xA1B1, 0x203E}, {0xA1BD, 0x2014}, {0xA1EF, 0x00A5}, {0xA2AF, 0xFF07},
        {0x8EA1, 0xFF61}, {0x8EDF, 0xFF9F}, {0x8EE0, M},      {0x8FA1, M},      {0xADA1, M},
        {0x41, M},        {0xF5A1, M},
    };
    for (const auto &s : eucSamples)
        QTest::addRow("EUC %04X", s[0]) << 1 << s[0] << s[1];
    const int cp949Samples[][2] = {
        {0xB0A1, 0xAC00}, {0xC8FE, 0xD79D}, {0x8141, 0xAC02}, {0xC652, 0xD7A3}, {0x8C63, 0xB620},
        {0xA1A1, 0x3000}, {0xA1CD, 0xFFE5}, {0xA2E6, 0x20AC}, {0xA2E7, 0x00AE}, {0xA4A1, 0x3131},
        {0xA5A1, 0x2170}, {0xCAFA, 0x7D3A}, {0xFDFE, 0x8A70}, {0xA2E8, M},      {0xC9A1, M},
        {0xFEA1, M},      {0x41, M},        {0xC653, M},      {0xC6A1, 0xD264}, {0xA141, 0xC8A5},
    };
    for (const auto &s : cp949Samples)
        QTest::addRow("CP949 %04X", s[0]) << 2 << s[0] << s[1];
}

void TestDecoders::tableSamples()
{
    QFETCH(int, table);
    QFETCH(int, code);
    QFETCH(int, character);
    const std::span<const CodeEntry> tables[] = {SjisTable, EucTable, Cp949Table};
    QCOMPARE(int(LookupCode(tables[table], std::uint16_t(code))), character);
}

void TestDecoders::everyEntryFound()
{
    for (std::span<const CodeEntry> table :
         {std::span<const CodeEntry>(SjisTable), std::span<const CodeEntry>(EucTable),
          std::span<const CodeEntry>(Cp949Table)}) {
        for (const CodeEntry &e : table)
            QCOMPARE(LookupCode(table, e.code), char16_t(e.character));
    }
    QCOMPARE(LookupCode({}, 0x41), MissingCharacter);
}

void TestDecoders::decodersAgreeWithLookup()
{
    // Every single byte and every pair the decoders take as one code gives what
    // the binary search over the table gives.
    char16_t out[3];
    for (unsigned first = 0; first < 256; ++first) {
        const std::uint8_t one[1] = {std::uint8_t(first)};
        if (first != 0x0A && first != 0x0D && first != 0x1A && first != 0) {
            const bool lead = (first >= 0x81 && first <= 0x9F) || first >= 0xE0;
            if (!lead || first > 0xFC) {
                DecodeSjis(one, out, true);
                QCOMPARE(out[0], LookupCode(SjisTable, std::uint16_t(first)));
            }
        }
        for (unsigned second = 0; second < 256; ++second) {
            const std::uint8_t two[2] = {std::uint8_t(first), std::uint8_t(second)};
            const std::uint16_t code = std::uint16_t(first << 8 | second);
            const bool lead = (first >= 0x81 && first <= 0x9F) || (first >= 0xE0 && first <= 0xFC);
            if (lead && second >= 0x40 && second <= 0xFC && second != 0x7F) {
                QCOMPARE(DecodeSjis(two, out, true).units, 1);
                QCOMPARE(out[0], LookupCode(SjisTable, code));
            }
            if (first >= 0x80) {
                QCOMPARE(DecodeEuc(two, out, true).units, 1);
                QCOMPARE(out[0], LookupCode(EucTable, code));
            }
            const bool koreanTrail = (second >= 0x41 && second <= 0x5A) ||
                                     (second >= 0x61 && second <= 0x7A) ||
                                     (second >= 0x81 && second <= 0xFE);
            if (first >= 0x81 && first <= 0xFE && koreanTrail) {
                QCOMPARE(decodeCp949(two, out, true).units, 1);
                QCOMPARE(out[0], LookupCode(Cp949Table, code));
            }
        }
    }
}

void TestDecoders::tablesMatchGenerator()
{
    // The committed tables are exactly what the generator makes from the
    // reference codecs.
    const QString source = QStringLiteral(TAVRIL_SOURCE_DIR);
    QTemporaryDir dir;
    const QString generated = dir.filePath(QStringLiteral("code_tables.cpp"));
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {source + QStringLiteral("/tools/gen_code_tables.py"), generated});
    QVERIFY2(python.waitForFinished(60000), "python3 did not finish");
    QCOMPARE(python.exitCode(), 0);
    QFile a(generated), b(source + QStringLiteral("/src/codec/code_tables.cpp"));
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QVERIFY(a.readAll() == b.readAll());
}

void TestDecoders::documents_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FileEncoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::newRow("final break kept") << QByteArray("A\nB\n") << UTF8 << "A\nB\n";
    QTest::newRow("empty last line") << QByteArray("A\n\n") << UTF8 << "A\n\n";
    QTest::newRow("no final break") << QByteArray("A\r\nB") << UTF8 << "A\nB";
    QTest::newRow("final CR kept") << QByteArray("A\r") << UTF8 << "A\n";
    QTest::newRow("final SUB adds no line") << QByteArray("ab\x1A") << UTF8 << "ab";
    // One UTF-16 unit without a mark is read as bytes: its zero byte is no break.
    QTest::newRow("final zero adds no line") << hex("4100") << UTF8 << "A";
    QTest::newRow("final zero unit adds no line") << le(units({u'A', 0})) << UTF16LE << "A";
    QTest::newRow("final zero after SJIS") << hex("82A000") << SJIS << units({0x3042});
    QTest::newRow("mixed breaks") << QByteArray("A\r\nB\rC\nD") << UTF8 << "A\nB\nC\nD";
    QTest::newRow("SUB splits") << QByteArray("ab\x1A"
                                              "cd")
                                << UTF8 << "ab\ncd";
    QTest::newRow("empty") << QByteArray() << UTF8 << "";
    QTest::newRow("mark only") << hex("EFBBBF") << UTF8 << "";
    QTest::newRow("mark skipped") << hex("EFBBBF41") << UTF8 << "A";
    QTest::newRow("EF BB is no mark")
        << hex("EFBB41") << UTF8 << units({ReplacementCharacter, u'A'});
    QTest::newRow("one byte") << QByteArray("A") << UTF8 << "A";
    QTest::newRow("FF FE skipped for SJIS")
        << hex("FFFE5CD56DAD") << SJIS << units({0x5C, 0xFF95, u'm', 0xFF6D});
    QTest::newRow("SJIS lines") << hex("82A00D0A82A2") << SJIS << units({0x3042, u'\n', 0x3044});
    QTest::newRow("EUC lines") << hex("A4A20AA4A4") << EUC << units({0x3042, u'\n', 0x3044});
    QTest::newRow("EUC-KR lines") << hex("C7D10D0AB1DB") << EUCKR << QString::fromUtf8("한\n글");
    QTest::newRow("CP949 lines") << hex("8C630AB9E6") << CP949 << QString::fromUtf8("똠\n방");
    QTest::newRow("UTF16 FF FE") << hex("FFFE") + le("A\r\nB") << UTF16 << "A\nB";
    QTest::newRow("UTF16 FE FF") << hex("FEFF") + be("A\r\nB") << UTF16 << "A\nB";
    QTest::newRow("UTF16 without mark is BE") << be("AB\nC") << UTF16 << "AB\nC";
    QTest::newRow("UTF16 FF FE with BE look")
        << hex("FFFE00410042") << UTF16 << units({0x4100, 0x4200});
    QTest::newRow("UTF16LE") << le("A\nB\n") << UTF16LE << "A\nB\n";
    QTest::newRow("UTF16LE mark skipped") << hex("FFFE") + le("AB") << UTF16LE << "AB";
    QTest::newRow("UTF16 CR CR") << le("A\r\rB") << UTF16LE << "A\n\nB";
    QTest::newRow("UTF16 odd byte") << le("AB") + "C" << UTF16LE << "AB";
    QTest::newRow("UTF16 empty line at end") << le("A\n\n") << UTF16LE << "A\n\n";
    QTest::newRow("UTF16 special units")
        << le(units({0x00A0, 0x2028, 0xFDD0, 0xFDD1, 0xFEFF, 0xDC00, 0xD800})) << UTF16LE
        << units({0x00A0, 0x2028, 0xFDD0, 0xFDD1, 0xFEFF, 0xDC00, 0xD800});
}

void TestDecoders::documents()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FileEncoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(readDocument(bytes, encoding), text);
    // Read in tiny pieces, the document is the same.
    QCOMPARE(readDocument(bytes, encoding, 4), text);
    QCOMPARE(readIntoStore(bytes, encoding, MaxLineLength), text);
    QCOMPARE(readIntoStore(bytes, encoding, 4, 3), text);
}

void TestDecoders::firstLineBreak_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FileEncoding>("encoding");
    QTest::addColumn<int>("style");
    QTest::newRow("LF first") << QByteArray("A\nB\r\n") << UTF8 << int(LineEnd::Lf);
    QTest::newRow("CR LF first") << QByteArray("A\r\nB\n") << UTF8 << int(LineEnd::CrLf);
    QTest::newRow("CR first") << QByteArray("A\rB\n") << UTF8 << int(LineEnd::Cr);
    QTest::newRow("NUL and SUB are no style") << QByteArray("A\0B\x1A"
                                                            "C\nD",
                                                            8)
                                              << UTF8 << int(LineEnd::Lf);
    QTest::newRow("none") << QByteArray("AB") << UTF8 << int(LineEnd::None);
    QTest::newRow("UTF-16 CR LF") << le("A\r\nB\n") << UTF16LE << int(LineEnd::CrLf);
    QTest::newRow("CR LF split by the piece limit") << QByteArray(3, 'x') + "\r\n"
                                                    << SJIS << int(LineEnd::CrLf);
}

void TestDecoders::firstLineBreak()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FileEncoding, encoding);
    QFETCH(int, style);
    ByteStream stream;
    stream.openMemory(span(bytes));
    TextBuffer text;
    const ReadOutcome outcome = readTextStream(stream, encoding, text, 4);
    QCOMPARE(int(outcome.firstBreak), style);
    QVERIFY(!outcome.failed);
}

void TestDecoders::longLinesStayWhole_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<FileEncoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lines");
    const QString kana = QString::fromUtf8("あ");
    const QString emoji = QString::fromUtf8("😀");
    const QString a70001(70001, u'x');
    QTest::newRow("70001 ASCII bytes") << a70001.toLatin1() << UTF8 << a70001 << 1;
    QTest::newRow("70000 then a break")
        << (QString(70000, u'x') + "\nB").toLatin1() << UTF8 << QString(70000, u'x') + "\nB" << 2;
    QTest::newRow("70000 then CR LF at end")
        << (QString(70000, u'x') + "\r\n").toLatin1() << UTF8 << QString(70000, u'x') + "\n"
        << 2;
    // Characters that straddle the 70000th byte.
    const QString utf8Text = "AB" + kana.repeated(30000) + "\nC";
    QTest::newRow("UTF-8 kana across the limit") << utf8Text.toUtf8() << UTF8 << utf8Text << 2;
    const QString emojiText = "ABC" + emoji.repeated(20000);
    QTest::newRow("UTF-8 four bytes across the limit")
        << emojiText.toUtf8() << UTF8 << emojiText << 1;
    QTest::newRow("SJIS across the limit")
        << "A" + hex("82A0").repeated(40000) << SJIS << "A" + kana.repeated(40000) << 1;
    QTest::newRow("EUC across the limit")
        << "A" + hex("A4A2").repeated(40000) << EUC << "A" + kana.repeated(40000) << 1;
    QTest::newRow("CP949 across the limit") << "A" + hex("8C63").repeated(40000) << CP949
                                            << "A" + QString::fromUtf8("똠").repeated(40000) << 1;
    QTest::newRow("UTF-16 70001 units") << le(a70001 + "\n") << UTF16LE << a70001 + "\n" << 2;
    QTest::newRow("UTF-16 CR LF across the limit")
        << le(QString(69999, u'x') + "\r\ny") << UTF16LE << QString(69999, u'x') + "\ny" << 2;
}

void TestDecoders::longLinesStayWhole()
{
    QFETCH(QByteArray, bytes);
    QFETCH(FileEncoding, encoding);
    QFETCH(QString, text);
    QFETCH(int, lines);
    std::size_t count = 0;
    QCOMPARE(readDocument(bytes, encoding, MaxLineLength, &count), text);
    QCOMPARE(int(count), lines);
    QCOMPARE(readIntoStore(bytes, encoding, MaxLineLength), text);
}

// A file loads into the store with one notification; a file that cannot be
// opened leaves the store's text as it was.
void TestDecoders::loadFileIntoStore()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"a.txt"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString::fromUtf8("あい\r\nB\u2029\n").toUtf8());
    file.close();
    TextStore store;
    store.setText(u"old"_qs);
    int notes = 0;
    QObject::connect(&store, &TextStore::changed, &store, [&] { ++notes; });
    QCOMPARE(LoadTextFile(dir.filePath(u"missing.txt"_qs), UTF8, store).status,
             ReadStatus::OpenFailed);
    QCOMPARE(store.text(), u"old"_qs);
    const FileReadResult result = LoadTextFile(path, UTF8, store);
    QCOMPARE(result.status, ReadStatus::Read);
    QCOMPARE(int(result.firstBreak), int(LineEnd::CrLf));
    QCOMPARE(store.text(), QString::fromUtf8("あい\nB\u2029\n"));
    QCOMPARE(store.lineCount(), 3);
    QCOMPARE(notes, 1);
}

QTEST_GUILESS_MAIN(TestDecoders)
#include "tst_decoders.moc"
