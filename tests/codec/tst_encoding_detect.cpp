// Choosing the encoding: byte-order marks, the UTF-16 byte-order guess, the three
// content checks, the decision between them, the labels and unreadable files.
#include "codec/code_tables.h"
#include "codec/file_reading.h"
#include "support/test_bytes.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

Q_DECLARE_METATYPE(FileEncoding)
Q_DECLARE_METATYPE(BomKind)

class TestEncodingDetect : public QObject
{
    Q_OBJECT
private slots:
    void skipsBom_data();
    void skipsBom();
    void detectsBom_data();
    void detectsBom();
    void byteOrder_data();
    void byteOrder();
    void contentChecks_data();
    void contentChecks();
    void choosesEncoding_data();
    void choosesEncoding();
    void labels_data();
    void labels();
    void koreanOrJapanese_data();
    void koreanOrJapanese();
    void unreadablePaths_data();
    void unreadablePaths();
    void unreadableByPermission();

private:
    QString write(const QByteArray &bytes);
    QTemporaryDir m_dir;
    int m_files = 0;
};

namespace {

} // namespace

QString TestEncodingDetect::write(const QByteArray &bytes)
{
    const QString path = m_dir.filePath(QStringLiteral("f%1.txt").arg(++m_files));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestEncodingDetect::skipsBom_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("rest");
    QTest::newRow("empty") << QByteArray() << 1 << QByteArray();
    QTest::newRow("one byte stays") << hex("41") << 1 << hex("41");
    QTest::newRow("FF alone stays") << hex("FF") << 1 << hex("FF");
    QTest::newRow("little-endian") << hex("FFFE4100") << 0 << hex("4100");
    QTest::newRow("little-endian only") << hex("FFFE") << 0 << QByteArray();
    QTest::newRow("big-endian") << hex("FEFF0041") << 1 << hex("0041");
    QTest::newRow("UTF-8") << hex("EFBBBF41") << 1 << hex("41");
    QTest::newRow("UTF-8 only") << hex("EFBBBF") << 1 << QByteArray();
    QTest::newRow("EF BB then other") << hex("EFBB41") << 1 << hex("EFBB41");
    QTest::newRow("EF BB then end") << hex("EFBB") << 1 << hex("EFBB");
    QTest::newRow("EF alone then other") << hex("EF41BF") << 1 << hex("EF41BF");
    QTest::newRow("reversed") << hex("FEFE") << 1 << hex("FEFE");
}

void TestEncodingDetect::skipsBom()
{
    QFETCH(QByteArray, file);
    QFETCH(int, result);
    QFETCH(QByteArray, rest);
    ByteStream stream;
    QVERIFY(fileOpener(write(file))(stream));
    QCOMPARE(SkipBom(stream), result);
    QByteArray after(file.size() + 4, '\0');
    after.resize(qsizetype(
        stream.read(reinterpret_cast<std::uint8_t *>(after.data()), std::size_t(after.size()))));
    QCOMPARE(after, rest);
    QVERIFY(stream.atEnd());
}

void TestEncodingDetect::detectsBom_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<BomKind>("kind");
    QTest::newRow("FF FE") << hex("FFFE") << LittleEndianBom;
    QTest::newRow("FE FF text") << hex("FEFF0041") << BigEndianBom;
    QTest::newRow("EF BB BF") << hex("EFBBBF") << Utf8Bom;
    QTest::newRow("EF BB") << hex("EFBB") << NoBom;
    QTest::newRow("EF BB 00") << hex("EFBB00") << NoBom;
    QTest::newRow("one byte") << hex("FF") << NoBom;
    QTest::newRow("empty") << QByteArray() << NoBom;
    QTest::newRow("text") << QByteArray("abc") << NoBom;
}

void TestEncodingDetect::detectsBom()
{
    QFETCH(QByteArray, file);
    QFETCH(BomKind, kind);
    QCOMPARE(DetectBom(write(file)), kind);
}

void TestEncodingDetect::byteOrder_data()
{
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<int>("order");
    QTest::newRow("empty") << QByteArray() << int(ByteOrderUndecided);
    QTest::newRow("one byte") << hex("00") << int(ByteOrderUndecided);
    QTest::newRow("one BE pair decides") << hex("0041") << int(ByteOrderBE);
    QTest::newRow("one LE pair") << hex("4100") << int(ByteOrderUndecided);
    QTest::newRow("two LE pairs") << hex("41004200") << int(ByteOrderLE);
    QTest::newRow("LE line break counts") << hex("41000A00") << int(ByteOrderLE);
    QTest::newRow("LE then BE pair") << hex("41000042") << int(ByteOrderBE);
    QTest::newRow("both zero skipped") << hex("000041004200") << int(ByteOrderLE);
    QTest::newRow("both non-zero skipped") << hex("5CD56DAD") << int(ByteOrderUndecided);
    QTest::newRow("SUB after one LE pair") << hex("41001A000042") << int(ByteOrderLE);
    QTest::newRow("SUB first stops") << hex("1A0041004200") << int(ByteOrderUndecided);
    QTest::newRow("odd last byte ignored") << hex("410000") << int(ByteOrderUndecided);
    QTest::newRow("pairs at even offsets") << hex("4100414200") << int(ByteOrderUndecided);
}

void TestEncodingDetect::byteOrder()
{
    QFETCH(QByteArray, sample);
    QFETCH(int, order);
    QCOMPARE(int(DetectUtf16ByteOrder(span(sample))), order);
    // Through a file, after a mark that is not part of the sample.
    QCOMPARE(int(DetectUtf16ByteOrder(write(hex("EFBBBF") + sample))), order);
}

void TestEncodingDetect::contentChecks_data()
{
    QTest::addColumn<QByteArray>("sample");
    QTest::addColumn<int>("utf8");
    QTest::addColumn<int>("sjis");
    QTest::addColumn<int>("euc");
    const int ok = CheckPasses, no = CheckFails;
    QTest::newRow("empty fails all") << QByteArray() << no << no << no;
    QTest::newRow("ASCII") << QByteArray("plain text\n") << ok << ok << ok;
    QTest::newRow("one byte never examined") << hex("80") << ok << ok << ok;
    QTest::newRow("last byte never examined") << hex("41C3") << ok << ok << ok;
    QTest::newRow("UTF-8 two bytes") << hex("C3A941") << ok << ok << ok;
    QTest::newRow("UTF-8 bad continuation") << hex("C34141") << no << ok << no;
    QTest::newRow("UTF-8 three bytes") << hex("E3818241") << ok << ok << no;
    QTest::newRow("UTF-8 kana, line feed") << hex("E381820A41") << ok << no << no;
    QTest::newRow("UTF-8 cut at end") << hex("41E381") << ok << ok << no;
    QTest::newRow("UTF-8 four bytes") << hex("F09F988041") << ok << ok << no;
    QTest::newRow("UTF-8 four cut") << hex("41F09F98") << ok << ok << no;
    QTest::newRow("UTF-8 four bad") << hex("F09F984141") << no << ok << no;
    QTest::newRow("stray continuation as leader") << hex("80808041") << ok << no << no;
    QTest::newRow("C0 as leader") << hex("C0AF41") << no << ok << ok;
    QTest::newRow("FF skipped") << hex("FF41FF41") << ok << no << no;
    QTest::newRow("SJIS kanji then A") << hex("889F41") << no << ok << no;
    QTest::newRow("SJIS trail 7F") << hex("887F41") << no << no << no;
    QTest::newRow("SJIS trail FD") << hex("88FD41") << no << no << no;
    QTest::newRow("SJIS A0") << hex("41A04141") << no << no << no;
    QTest::newRow("half-width katakana") << hex("DFDF41") << no << ok << ok;
    QTest::newRow("EUC and SJIS") << hex("B0A14142") << no << ok << ok;
    QTest::newRow("EUC with FE") << hex("A4A2FEA14142") << no << no << ok;
    QTest::newRow("EUC SS2 kana") << hex("8EB14142") << no << ok << ok;
    QTest::newRow("EUC SS2 bad") << hex("8EE04142") << no << ok << no;
    QTest::newRow("EUC SS3") << hex("8FC1C14141") << no << ok << ok;
    QTest::newRow("EUC SS3 bad third") << hex("8FA24141") << no << ok << no;
    QTest::newRow("EUC SS3 cut") << hex("418FA2") << ok << ok << ok;
    QTest::newRow("EUC bad second") << hex("A44141") << no << ok << no;
}

void TestEncodingDetect::contentChecks()
{
    QFETCH(QByteArray, sample);
    QFETCH(int, utf8);
    QFETCH(int, sjis);
    QFETCH(int, euc);
    QCOMPARE(CheckUtf8(span(sample)), utf8);
    QCOMPARE(CheckSjis(span(sample)), sjis);
    QCOMPARE(CheckEuc(span(sample)), euc);
    // The same through a file; a mark before the sample is skipped.
    const QString path = write(hex("FFFE") + sample);
    QCOMPARE(CheckUtf8(path), utf8);
    QCOMPARE(CheckSjis(path), sjis);
    QCOMPARE(CheckEuc(path), euc);
}

void TestEncodingDetect::choosesEncoding_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<FileEncoding>("encoding");
    QTest::addColumn<BomKind>("bom");
    QTest::addColumn<QString>("label");
    const QString jp = QString::fromUtf8("日本語のテキスト、かな。");
    QTest::newRow("ASCII") << QByteArray("just ascii\r\n") << UTF8 << NoBom << "UTF-8 nonBOM";
    QTest::newRow("UTF-8 mark") << hex("EFBBBF") + "abc" << UTF8 << Utf8Bom << "UTF-8 BOM";
    QTest::newRow("UTF-8 Japanese") << jp.toUtf8() << UTF8 << NoBom << "UTF-8 nonBOM";
    QTest::newRow("FF FE text") << hex("FFFE") + le("AB") << UTF16 << LittleEndianBom
                                << "UTF16 BOM LE";
    QTest::newRow("FF FE line breaks count")
        << hex("FFFE") + le(QStringLiteral("\r\n")) << UTF16 << LittleEndianBom << "UTF16 BOM LE";
    QTest::newRow("FE FF text") << hex("FEFF") + be("AB") << UTF16 << BigEndianBom
                                << "UTF16 BOM BE";
    QTest::newRow("BE no mark") << be("A" + jp) << UTF16 << NoBom << "UTF16 nonBOM BE";
    QTest::newRow("LE no mark") << le("AB" + jp) << UTF16LE << NoBom << "UTF16 nonBOM LE";
    QTest::newRow("LE single char") << hex("4100") << UTF8 << NoBom << "UTF-8 nonBOM";
    QTest::newRow("FF FE BE-looking")
        << hex("FFFE0041") << UTF16 << LittleEndianBom << "UTF16 BOM LE";
    QTest::newRow("EF BB BF BE-looking")
        << hex("EFBBBF0041") << UTF16 << Utf8Bom << "UTF16 nonBOM BE";
    QTest::newRow("SJIS kanji") << hex("889F41") << SJIS << NoBom << "SJIS";
    QTest::newRow("SJIS and EUC") << hex("B0A14142") << SJIS << NoBom << "SJIS";
    QTest::newRow("EUC only") << hex("A4A2FEA14142") << EUC << NoBom << "EUC";
    QTest::newRow("all fail") << hex("80414243") << UTF8 << NoBom << "UTF-8 nonBOM";
    QTest::newRow("all fail after FF FE")
        << hex("FFFE80418041") << UTF16 << LittleEndianBom << "UTF16 BOM LE";
    QTest::newRow("SJIS and EUC after FE FF")
        << hex("FEFFB0A14142") << UTF16 << BigEndianBom << "UTF16 BOM BE";
    QTest::newRow("Hangul after FF FE") << hex("FFFE5CD56DAD") << SJIS << LittleEndianBom << "SJIS";
    QTest::newRow("one byte") << QByteArray("A") << UTF8 << NoBom << "UTF-8 nonBOM";
    QTest::newRow("empty") << QByteArray() << UTF8 << NoBom << "UTF-8 nonBOM";
    QTest::newRow("only EF BB BF") << hex("EFBBBF") << UTF8 << Utf8Bom << "UTF-8 BOM";
    QTest::newRow("only FF FE") << hex("FFFE") << UTF16 << LittleEndianBom << "UTF16 BOM LE";
    QTest::newRow("only FE FF") << hex("FEFF") << UTF16 << BigEndianBom << "UTF16 BOM BE";
    const QByteArray filler(int(DetectionSampleSize), 'A');
    QTest::newRow("invalid beyond sample")
        << filler + hex("889F41") << UTF8 << NoBom << "UTF-8 nonBOM";
    QTest::newRow("invalid beyond sample after mark")
        << hex("EFBBBF") + filler + hex("889F41") << UTF8 << Utf8Bom << "UTF-8 BOM";
    QTest::newRow("invalid at sample end")
        << filler.left(filler.size() - 3) + hex("889F41") << SJIS << NoBom << "SJIS";
    QTest::newRow("Shift JIS text")
        << hex("93FA967B8CEA82CC8365834C83588367") << SJIS << NoBom << "SJIS";
}

void TestEncodingDetect::choosesEncoding()
{
    QFETCH(QByteArray, file);
    QFETCH(FileEncoding, encoding);
    QFETCH(BomKind, bom);
    QFETCH(QString, label);
    const EncodingChoice choice = ChooseEncoding(write(file));
    QCOMPARE(choice.encoding, encoding);
    QCOMPARE(choice.bom, bom);
    QCOMPARE(QString::fromLatin1(EncodingLabel(choice.encoding, choice.bom)), label);
}

void TestEncodingDetect::labels_data()
{
    QTest::addColumn<FileEncoding>("encoding");
    QTest::addColumn<BomKind>("bom");
    QTest::addColumn<QString>("label");
    for (BomKind b : {LittleEndianBom, BigEndianBom, Utf8Bom, NoBom, Unreadable}) {
        const QByteArray kind = QByteArray::number(int(b));
        QTest::newRow("SJIS " + kind) << SJIS << b << "SJIS";
        QTest::newRow("UTF16LE " + kind)
            << UTF16LE << b << (b == LittleEndianBom ? "UTF16 BOM LE" : "UTF16 nonBOM LE");
        QTest::newRow("UTF16BE " + kind)
            << UTF16BE << b << (b == BigEndianBom ? "UTF16 BOM BE" : "UTF16 nonBOM BE");
        QTest::newRow("EUC " + kind) << EUC << b << "EUC";
        QTest::newRow("EUCKR " + kind) << EUCKR << b << "EUC-KR";
        QTest::newRow("CP949 " + kind) << CP949 << b << "CP949";
        QTest::newRow("UTF16 " + kind) << UTF16 << b
                                       << (b == LittleEndianBom ? "UTF16 BOM LE"
                                           : b == BigEndianBom  ? "UTF16 BOM BE"
                                                                : "UTF16 nonBOM BE");
        QTest::newRow("UTF8 " + kind) << UTF8 << b << (b == Utf8Bom ? "UTF-8 BOM" : "UTF-8 nonBOM");
    }
}

void TestEncodingDetect::labels()
{
    QFETCH(FileEncoding, encoding);
    QFETCH(BomKind, bom);
    QFETCH(QString, label);
    QCOMPARE(QString::fromLatin1(EncodingLabel(encoding, bom)), label);
}

namespace {

// Text written with one of the code tables (the lowest code of a character wins).
QByteArray encodeWith(std::span<const CodeEntry> table, const QString &text)
{
    QHash<char16_t, std::uint16_t> codes;
    for (const CodeEntry &e : table)
        if (!codes.contains(e.character))
            codes.insert(e.character, e.code);
    QByteArray out;
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        const std::uint16_t code = c < 0x80 ? c : codes.value(c, 0);
        if (code == 0)
            return QByteArray("unencodable");
        if (code > 0xFF)
            out.append(char(code >> 8));
        out.append(char(code & 0xFF));
    }
    return out;
}

} // namespace

void TestEncodingDetect::koreanOrJapanese_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("label");
    const auto korean = [](const char *name, const char *text, const char *label) {
        const QString t = QString::fromUtf8(text);
        QTest::addRow("%s EUC-KR", name) << encodeWith(Cp949Table, t) << QString::fromLatin1(label);
    };
    // Korean in KS X 1001 only, then with extension codes (label CP949).
    korean("greeting", "안녕하세요. 오늘은 날씨가 정말 좋네요!", "EUC-KR");
    korean("capital", "대한민국의 수도는 서울입니다. 인구는 약 940만 명입니다.", "EUC-KR");
    korean("program", "컴퓨터 프로그램을 만들었습니다 (version 2.1, 2024년).", "EUC-KR");
    korean("quotes kana", "일본어로 「こんにちは」는 한국어로 안녕하세요라는 뜻입니다.", "EUC-KR");
    korean("quotes hanja", "大韓民國 헌법 제1조: 대한민국은 민주공화국이다.", "EUC-KR");
    korean("long",
           "우리 회사는 2019년에 서울에서 시작했습니다. 처음에는 직원이 다섯 명뿐이었지만, 지금은 "
           "백 명이 넘는 사람들이 함께 일하고 있습니다. 앞으로도 좋은 제품을 만들기 위해 "
           "노력하겠습니다.\r\n감사합니다.",
           "EUC-KR");
    korean("extension", "똠방각하께서 오늘 회의에 오셨습니다.", "CP949");
    korean("extension long",
           "햏자들이 모여서 뷁이라고 외쳤다. 그 소리에 모두 웃었고, 쐐기를 박듯이 다시 말했다: "
           "\"훗, 그건 아니지.\" 2시 30분이었다.",
           "CP949");
    // Japanese keeps the label the written checks give it.
    const auto japanese = [](const char *name, const char *text, const char *sjisLabel,
                             const char *eucLabel) {
        const QString t = QString::fromUtf8(text);
        QTest::addRow("%s SJIS", name)
            << encodeWith(SjisTable, t) << QString::fromLatin1(sjisLabel);
        QTest::addRow("%s EUC-JP", name)
            << encodeWith(EucTable, t) << QString::fromLatin1(eucLabel);
    };
    japanese("greeting", "こんにちは、世界。今日はいい天気ですね。", "SJIS", "SJIS");
    japanese("address", "東京都千代田区丸の内一丁目", "SJIS", "EUC");
    japanese("long",
             "日本語のテキストを読み込みます。東京駅から大阪まで新幹線で行きました。"
             "料金は13,620円でした。",
             "SJIS", "EUC");
    japanese("kanji heavy", "国立国会図書館資料保存課長会議議事録第3号", "SJIS", "EUC");
}

void TestEncodingDetect::koreanOrJapanese()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, label);
    const EncodingChoice choice = ChooseEncoding(memoryOpener(span(bytes)));
    QCOMPARE(QString::fromLatin1(EncodingLabel(choice.encoding, choice.bom)), label);
}

void TestEncodingDetect::unreadablePaths_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("missing") << m_dir.filePath(QStringLiteral("no such file.txt"));
    QTest::newRow("missing folder") << m_dir.filePath(QStringLiteral("none/a.txt"));
    QTest::newRow("folder") << m_dir.path();
    QTest::newRow("empty path") << QString();
}

void TestEncodingDetect::unreadablePaths()
{
    QFETCH(QString, path);
    QCOMPARE(DetectBom(path), Unreadable);
    QCOMPARE(DetectUtf16ByteOrder(path), ByteOrderUnreadable);
    QCOMPARE(CheckUtf8(path), int(CheckUnreadable));
    QCOMPARE(CheckSjis(path), int(CheckUnreadable));
    QCOMPARE(CheckEuc(path), int(CheckUnreadable));
    const EncodingChoice choice = ChooseEncoding(path);
    QCOMPARE(choice.encoding, UTF8);
    QCOMPARE(choice.bom, Unreadable);
    QCOMPARE(QString::fromLatin1(EncodingLabel(choice.encoding, choice.bom)),
             QStringLiteral("UTF-8 nonBOM"));
    TextBuffer text;
    QCOMPARE(ReadTextFile(path, UTF8, text).status, ReadStatus::OpenFailed);
    QCOMPARE(text.size(), std::size_t(0));
}

void TestEncodingDetect::unreadableByPermission()
{
    if (::geteuid() == 0)
        QSKIP("the superuser reads every file");
    const QString path = write(QByteArray("secret"));
    QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
    QCOMPARE(ChooseEncoding(path), (EncodingChoice{UTF8, Unreadable}));
    TextBuffer text;
    QCOMPARE(ReadTextFile(path, UTF8, text).status, ReadStatus::OpenFailed);
}

QTEST_GUILESS_MAIN(TestEncodingDetect)
#include "tst_encoding_detect.moc"
