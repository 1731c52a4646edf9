// Saving and opening again gives the document back: random well-formed text
// from every plane (U+00A0, U+2028, U+2029, U+FDD0, U+FDD1, private use, pairs up
// to U+10FFFF) with line breaks, short and across several write steps. Left out
// are the texts whose change the file rules themselves make: one ending in
// exactly one line break, one starting with U+FEFF, and U+0000 and U+001A (and
// CR, a line break of its own to the reader).
#include "app/main_window.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"

#include <QAction>
#include <QRandomGenerator>
#include <QTest>

namespace {

char32_t randomCharacter(QRandomGenerator &rng)
{
    for (;;) {
        char32_t c = 0;
        switch (rng.bounded(10)) {
        case 0:
            return U'\n';
        case 1:
            c = 0x20 + rng.bounded(0x5F);
            break;
        case 2: {
            const char32_t kept[] = {0x00A0, 0x2028, 0x2029, 0xFDD0, 0xFDD1};
            c = kept[rng.bounded(5)];
            break;
        }
        case 3:
            c = 0xAC00 + rng.bounded(11172);
            break;
        case 4:
            c = 0x10000 + rng.bounded(0x100000); // planes 1 to 16
            break;
        case 5:
            c = 0xE000 + rng.bounded(0x2000); // private use and the top of the BMP
            break;
        default:
            c = 0x80 + rng.bounded(0xFF80);
            break;
        }
        if (c < 0xD800 || c > 0xDFFF)
            return c;
    }
}

QString randomText(QRandomGenerator &rng, int size)
{
    QString s;
    while (s.size() < size) {
        const char32_t c = randomCharacter(rng);
        if (s.isEmpty() && c == 0xFEFF)
            continue;
        s.append(QString::fromUcs4(&c, 1));
    }
    // A single final line break is the end of the last line to the reader.
    if (s.endsWith(QChar(u'\n')) && !s.endsWith(QStringLiteral("\n\n")))
        s.append(QChar(u'x'));
    return s;
}

} // namespace

class TestRoundTrip : public QObject
{
    Q_OBJECT
private slots:
    void openOfSaveGivesTextBack_data();
    void openOfSaveGivesTextBack();
};

void TestRoundTrip::openOfSaveGivesTextBack_data()
{
    QTest::addColumn<QString>("text");
    QRandomGenerator rng(4051);
    for (int i = 0; i < 40; ++i)
        QTest::newRow(qPrintable(QStringLiteral("short %1").arg(i)))
            << randomText(rng, int(rng.bounded(1, 300)));
    for (int i = 0; i < 3; ++i)
        QTest::newRow(qPrintable(QStringLiteral("several steps %1").arg(i)))
            << randomText(rng, 45000 + int(rng.bounded(20000)));
    QTest::newRow("two final breaks") << QStringLiteral("ab\n\n");
    QTest::newRow("three final breaks") << QStringLiteral("\uD55C\n\n\n");
    QTest::newRow("empty lines only") << QStringLiteral("\n\n");
    QTest::newRow("U+FEFF inside") << QStringLiteral("a\uFEFFb");
    QTest::newRow("pair at a step boundary")
        << QString(QString(19999, QChar(u'a')) + QString::fromUtf16(u"\xD83D\xDE00") + u'z');
}

void TestRoundTrip::openOfSaveGivesTextBack()
{
    QFETCH(QString, text);
    MainWindowFixture app;
    app.form.memo().setText(text);
    app.fake.saveAnswer = app.dir.file(QStringLiteral("round.txt"));
    app.form.action("savefile1")->trigger();
    QVERIFY(app.fake.boxes.isEmpty());
    app.form.memo().setText(u"");
    app.form.LoadTextFile(app.fake.saveAnswer);
    QCOMPARE(app.form.memo().text(), text);
}

QTEST_MAIN(TestRoundTrip)
#include "tst_round_trip.moc"
