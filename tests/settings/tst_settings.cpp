// The settings file and font record formats, without any window.
#include "settings/app_state.h"
#include "settings/font_record.h"
#include "settings/settings_file.h"

#include <QTemporaryDir>
#include <QTest>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
    void overLongLineIsCutAndEndsReading();
    void lineOfExactly499CharactersGoesOn();
    void formatIsSixCrLfLines();
    void leadingNumber_data();
    void leadingNumber();
    void fontRecordLayout();
    void fontRecordRoundTrip();
    void fontRecordShortIsIgnored();
    void fontNameCutAtCharacterBoundary();
    void fontNameWithoutZeroByte();
    void fontFileMissing();
    void settingsFolder_data();
    void settingsFolder();
    void windowFitsTheScreen_data();
    void windowFitsTheScreen();
};

// Rows: file bytes -> geometry after the limits, mode (-1: not read), wrap (-1: not read).
void TestSettings::parse_data()
{
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("empty file") << QByteArray() << QList<int>{86, 357, 416, 480, -1, -1};
    QTest::newRow("stored example") << QByteArray("86\r\n357\r\n416\r\n480\r\n1\r\n0\r\n")
                                    << QList<int>{86, 357, 416, 480, 1, 0};
    QTest::newRow("all limits") << QByteArray("800\r\n-5\r\n50\r\n5000\r\n7\r\n1\r\n")
                                << QList<int>{0, 0, 100, 700, 0, 1};
    QTest::newRow("upper bounds kept") << QByteArray("700\r\n1000\r\n2000\r\n3000\r\n2\r\n0\r\n")
                                       << QList<int>{700, 1000, 2000, 3000, 2, 0};
    QTest::newRow("just over") << QByteArray("701\r\n1001\r\n2001\r\n3001\r\n")
                               << QList<int>{0, 0, 1024, 700, -1, -1};
    QTest::newRow("width 99 height 99")
        << QByteArray("0\n0\n99\n99\n") << QList<int>{0, 0, 100, 100, -1, -1};
    QTest::newRow("abc first line")
        << QByteArray("abc\r\n") << QList<int>{0, 357, 416, 480, -1, -1};
    QTest::newRow("empty third line") << QByteArray("10\r\n20\r\n\r\n300\r\n300\r\n2\r\n1\r\n")
                                      << QList<int>{10, 20, 416, 480, -1, -1};
    QTest::newRow("mode 3") << QByteArray("1\n1\n200\n200\n3\n0\n")
                            << QList<int>{1, 1, 200, 200, 0, 0};
    QTest::newRow("mode -1") << QByteArray("1\n1\n200\n200\n-1\n")
                             << QList<int>{1, 1, 200, 200, 0, -1};
    QTest::newRow("wrap any non-zero")
        << QByteArray("1\n1\n200\n200\n1\n-7\n") << QList<int>{1, 1, 200, 200, 1, 1};
    QTest::newRow("leading numbers")
        << QByteArray("  12px\r\n+7\r\n300x\r\n") << QList<int>{12, 7, 300, 480, -1, -1};
    QTest::newRow("0x1a ends the data")
        << QByteArray("5\r\n6\x1a\r\n300\r\n") << QList<int>{5, 6, 416, 480, -1, -1};
    QTest::newRow("no final line break")
        << QByteArray("5\r\n6") << QList<int>{5, 6, 416, 480, -1, -1};
    QTest::newRow("seventh line ignored")
        << QByteArray("1\n2\n300\n400\n2\n1\n999\n") << QList<int>{1, 2, 300, 400, 2, 1};
    QTest::newRow("huge numbers saturate")
        << QByteArray("99999999999999999999\n-99999999999999999999\n")
        << QList<int>{0, 0, 416, 480, -1, -1};
}

void TestSettings::parse()
{
    QFETCH(QByteArray, data);
    QFETCH(QList<int>, expected);
    WindowSettings s;
    parseSettings(data, s);
    clampGeometry(s);
    QCOMPARE((QList<int>{s.top, s.left, s.width, s.height, s.imeMode.value_or(-1),
                         s.wordWrap ? int(*s.wordWrap) : -1}),
             expected);
}

void TestSettings::overLongLineIsCutAndEndsReading()
{
    // The first 499 characters are "1" followed by zeros: far above the limit.
    QByteArray first = "1" + QByteArray(600, '0');
    WindowSettings s;
    parseSettings(first + "\r\n5\r\n", s);
    QCOMPARE(s.top, INT_MAX);
    QCOMPARE(s.left, 357); // reading stopped after the cut line
    // A cut line that is a small number is still used.
    WindowSettings t;
    parseSettings(QByteArray(498, ' ') + "42" + "\r\n5\r\n", t);
    QCOMPARE(t.top, 4); // only "4" made it into the first 499 characters
    QCOMPARE(t.left, 357);
}

void TestSettings::lineOfExactly499CharactersGoesOn()
{
    WindowSettings s;
    parseSettings(QByteArray(497, ' ') + "12\r\n34\r\n", s);
    QCOMPARE(s.top, 12);
    QCOMPARE(s.left, 34);
}

void TestSettings::formatIsSixCrLfLines()
{
    QCOMPARE(formatSettings(86, 357, 416, 480, 1, false),
             QByteArray("86\r\n357\r\n416\r\n480\r\n1\r\n0\r\n"));
    QCOMPARE(formatSettings(-3, 0, 100, 100, 2, true),
             QByteArray("-3\r\n0\r\n100\r\n100\r\n2\r\n1\r\n"));
}

void TestSettings::leadingNumber_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << QByteArray("123") << 123;
    QTest::newRow("blanks and tab") << QByteArray(" \t 45") << 45;
    QTest::newRow("minus") << QByteArray("-5") << -5;
    QTest::newRow("sign only") << QByteArray("-") << 0;
    QTest::newRow("letters") << QByteArray("abc") << 0;
    QTest::newRow("sign then blank") << QByteArray("- 5") << 0;
    QTest::newRow("trailing text") << QByteArray("77abc") << 77;
}

void TestSettings::leadingNumber()
{
    QFETCH(QByteArray, text);
    QFETCH(int, value);
    QCOMPARE(::leadingNumber(text), value);
}

void TestSettings::fontRecordLayout()
{
    FontRecord r = FontRecord::designFont();
    r.color = 0x00112233;
    r.height = -19;
    r.pitch = 2;
    r.setCharsetByte(128);
    const QByteArray b = r.toBytes();
    QCOMPARE(b.size(), 216);
    QCOMPARE(b.mid(0, 4), QByteArray("\x33\x22\x11\x00", 4));
    QCOMPARE(b.mid(4, 4), QByteArray("\xED\xFF\xFF\xFF", 4));
    QCOMPARE(b.mid(8, 13), QByteArray("MS UI Gothic\0", 13));
    QCOMPARE(b.mid(21, 187), QByteArray(187, '\0'));
    QCOMPARE(b.at(208), '\x02');
    QCOMPARE(b.mid(209, 3), QByteArray(3, '\0'));
    QCOMPARE(b.mid(212, 4), QByteArray("\x80\xFF\xFF\xFF", 4));
}

void TestSettings::fontRecordRoundTrip()
{
    QByteArray bytes(216, '\0');
    for (int i = 0; i < 216; ++i)
        bytes[i] = char(i * 7 + 3);
    bytes[8 + 50] = '\0';
    const auto r = FontRecord::fromBytes(bytes + QByteArray("trailing"));
    QVERIFY(r);
    QCOMPARE(r->toBytes(), bytes); // padding and bytes after the name written back unchanged
    // Only the low byte of the charset means anything.
    QByteArray cs = FontRecord::designFont().toBytes();
    cs.replace(212, 4, QByteArray("\x80\x12\x34\x56", 4));
    QCOMPARE(FontRecord::fromBytes(cs)->charsetByte(), 0x80);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fontedit.dat"));
    QVERIFY(writeFontFile(path, *r));
    QCOMPARE(readFontFile(path)->toBytes(), bytes);
}

void TestSettings::fontRecordShortIsIgnored()
{
    QVERIFY(!FontRecord::fromBytes(QByteArray(215, 'x')));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fontedit.dat"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(100, 'x'));
    f.close();
    QVERIFY(!readFontFile(path));
}

void TestSettings::fontNameCutAtCharacterBoundary()
{
    FontRecord r;
    // 66 three-byte characters = 198 bytes, then one more: 201 bytes in all.
    const QString longName = QString(67, QChar(0x3042));
    r.setFamilyName(longName);
    QCOMPARE(r.familyName(), QString(66, QChar(0x3042)));
    QCOMPARE(r.toBytes().at(8 + 198), '\0');
    r.setFamilyName(QString(300, u'a'));
    QCOMPARE(r.familyName().size(), 199);
    QCOMPARE(r.toBytes().at(8 + 199), '\0');
}

void TestSettings::fontNameWithoutZeroByte()
{
    QByteArray bytes = FontRecord::designFont().toBytes();
    bytes.replace(8, 200, QByteArray(200, 'Z'));
    QCOMPARE(FontRecord::fromBytes(bytes)->familyName(), QString(200, u'Z'));
}

void TestSettings::fontFileMissing()
{
    QVERIFY(!readFontFile(QStringLiteral("/nonexistent/fontedit.dat")));
    QVERIFY(!writeFontFile(QStringLiteral("/nonexistent/fontedit.dat"), FontRecord()));
}

void TestSettings::settingsFolder_data()
{
    QTest::addColumn<QString>("exeDir");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("folder");
    const QString user = QStringLiteral("/home/u/.config/tavriledit/");
    QTest::newRow("portable copy") << "/home/u/tools" << true << "/home/u/tools/";
    QTest::newRow("read-only folder") << "/home/u/tools" << false << user;
    QTest::newRow("/usr/bin") << "/usr/bin" << true << user;
    QTest::newRow("/usr/local/bin") << "/usr/local/bin" << true << user;
    QTest::newRow("/opt") << "/opt/tavril/" << true << user;
    QTest::newRow("/bin") << "/bin" << true << user;
    QTest::newRow("/sbin") << "/sbin" << true << user;
    QTest::newRow("/usrlocal is no system folder") << "/usrlocal" << true << "/usrlocal/";
}

void TestSettings::settingsFolder()
{
    QFETCH(QString, exeDir);
    QFETCH(bool, writable);
    QFETCH(QString, folder);
    QCOMPARE(chooseSettingsFolder(exeDir, writable, QStringLiteral("/home/u/.config")), folder);
}

QTEST_GUILESS_MAIN(TestSettings)
// Rows: the window's inner rectangle, its frame and the screen's free area ->
// where it goes.
void TestSettings::windowFitsTheScreen_data()
{
    QTest::addColumn<QRect>("client");
    QTest::addColumn<QMargins>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");
    const QMargins frame(4, 24, 4, 4);
    QTest::newRow("fits: unchanged")
        << QRect(357, 86, 416, 480) << frame << QRect(0, 0, 1280, 900) << QRect(357, 86, 416, 480);
    QTest::newRow("off the right and bottom: moved")
        << QRect(357, 86, 416, 480) << frame << QRect(0, 0, 640, 450)
        << QRect(640 - 4 - 416, 24, 416, 450 - 28);
    QTest::newRow("moved only") << QRect(900, 500, 300, 300) << frame << QRect(0, 0, 1024, 768)
                                << QRect(1024 - 4 - 300, 768 - 4 - 300, 300, 300);
    QTest::newRow("larger than the screen: moved, then shrunk")
        << QRect(0, 0, 2000, 3000) << frame << QRect(0, 0, 800, 600)
        << QRect(4, 24, 800 - 8, 600 - 28);
    QTest::newRow("under a panel at the top")
        << QRect(10, 0, 200, 200) << frame << QRect(0, 30, 800, 570) << QRect(10, 54, 200, 200);
    QTest::newRow("second screen to the right")
        << QRect(0, 0, 400, 300) << QMargins() << QRect(1280, 0, 1024, 768)
        << QRect(1280, 0, 400, 300);
    QTest::newRow("screen smaller than 100")
        << QRect(0, 0, 300, 300) << QMargins() << QRect(0, 0, 80, 60) << QRect(0, 0, 100, 100);
}

void TestSettings::windowFitsTheScreen()
{
    QFETCH(QRect, client);
    QFETCH(QMargins, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    QCOMPARE(fitWindowToArea(client, frame, available), expected);
}

#include "tst_settings.moc"
