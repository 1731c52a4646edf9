// "save with encoding" and the Hangul composition commands through the main
// window: menu places and items, the bytes each item writes, the refusal of
// characters an encoding cannot hold, one undo step and the modified flag.
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_bytes.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTest>

namespace {

QStringList captions(const QList<QAction *> &actions)
{
    QStringList out;
    for (const QAction *a : actions)
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

} // namespace

class TestSaveWithEncoding : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setQuitOnLastWindowClosed(false); }
    void menus();
    void writes_data();
    void writes();
    void refuses_data();
    void refuses();
    void composes_data();
    void composes();
};

void TestSaveWithEncoding::menus()
{
    MainWindowFixture app;
    const QList<QAction *> file = app.form.menu("FILE1")->actions();
    const auto at = file.indexOf(app.form.menu("reopenwithencoding1")->menuAction());
    QVERIFY(at >= 0 && at + 1 < file.size());
    QCOMPARE(file[at + 1]->menu()->objectName(), QStringLiteral("savewithencoding1"));
    QCOMPARE(file[at + 1]->text(), QStringLiteral("save with encoding"));
    QCOMPARE(captions(file[at + 1]->menu()->actions()),
             (QStringList{"UTF-8", "UTF-8 BOM", "UTF-16 LE BOM", "UTF-16 BE BOM", "Shift JIS",
                          "EUC-JP", "EUC-KR / CP949"}));
    const QStringList edit = captions(app.form.menu("edit1")->actions());
    QCOMPARE(edit.mid(edit.size() - 3),
             (QStringList{"-", "compose Hangul (NFC)", "decompose Hangul (NFD)"}));
    QCOMPARE(app.form.menu("edit1")->actions().last()->objectName(),
             QStringLiteral("decomposeHangul1"));
    QCOMPARE(app.form.menu("edit1")->actions().at(edit.size() - 2)->objectName(),
             QStringLiteral("composeHangul1"));
    const QStringList popup = captions(app.form.menu("PopupMenu1")->actions());
    QCOMPARE(popup.mid(popup.size() - 3),
             (QStringList{"-", "compose Hangul (NFC)", "decompose Hangul (NFD)"}));
}

void TestSaveWithEncoding::writes_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("label");
    const QString korean = QStringLiteral("a한\nb");
    const QString japanese = QStringLiteral("aあ\nb");
    QTest::newRow("UTF-8") << 0 << korean << hex("61ED959C0D0A62") << "UTF-8 nonBOM";
    QTest::newRow("UTF-8 BOM") << 1 << korean << hex("EFBBBF61ED959C0D0A62") << "UTF-8 BOM";
    QTest::newRow("UTF-16 LE BOM")
        << 2 << korean << hex("FFFE61005CD50D000A006200") << "UTF16 BOM LE";
    QTest::newRow("UTF-16 BE BOM")
        << 3 << korean << hex("FEFF0061D55C000D000A0062") << "UTF16 BOM BE";
    QTest::newRow("Shift JIS") << 4 << japanese << hex("6182A00D0A62") << "SJIS";
    QTest::newRow("EUC-JP") << 5 << japanese << hex("61A4A20D0A62") << "EUC";
    QTest::newRow("EUC-KR") << 6 << korean << hex("61C7D10D0A62") << "EUC-KR";
    QTest::newRow("CP949") << 6 << QStringLiteral("똠방") << hex("8C63B9E6") << "CP949";
}

void TestSaveWithEncoding::writes()
{
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, label);
    MainWindowFixture app;
    app.form.document().setFileName(app.dir.file(QStringLiteral("opened.txt")));
    app.fake.saveAnswer = app.dir.file(QStringLiteral("saved.txt"));
    app.form.memo().setText(text);
    QVERIFY(documentModified); // the text set above is an edit
    app.form.findChild<QMenu *>(QStringLiteral("savewithencoding1"))->actions()[item]->trigger();
    QCOMPARE(app.fake.saveRequests.size(), 1);
    QCOMPARE(app.fake.saveRequests[0].title, QStringLiteral("Save a Text file"));
    QCOMPARE(app.fake.saveRequests[0].filters,
             (QStringList{"Text files(*.txt)", "HTML files(*.html)", "All(*.*)"}));
    QCOMPARE(app.fake.saveRequests[0].defaultSuffix, QStringLiteral("txt"));
    QCOMPARE(app.fake.saveRequests[0].initialPath, currentFileName);
    QCOMPARE(readFile(app.fake.saveAnswer), bytes);
    QCOMPARE(app.form.panelText(3), label + QStringLiteral("  ") + app.fake.saveAnswer);
    QCOMPARE(currentFileName, app.dir.file(QStringLiteral("opened.txt")));
    QVERIFY(!documentModified);
    QVERIFY(app.fake.boxes.isEmpty());
}

void TestSaveWithEncoding::refuses_data()
{
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("caret");
    QTest::newRow("one") << 4 << QStringLiteral("ab\nc한")
                         << "1 character cannot be written in Shift JIS: U+D55C at line 2, "
                            "column 2."
                         << 4;
    QTest::newRow("several, an emoji first") << 6 << QStringLiteral("x😀y\n😀ア")
                                             << "2 characters cannot be written in EUC-KR / CP949; "
                                                "the first is U+1F600 at line 1, column 2."
                                             << 1;
    QTest::newRow("wave dash in EUC-JP")
        << 5 << QStringLiteral("～")
        << "1 character cannot be written in EUC-JP: U+FF5E at line 1, "
           "column 1."
        << 0;
}

void TestSaveWithEncoding::refuses()
{
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(QString, message);
    QFETCH(int, caret);
    MainWindowFixture app;
    app.fake.saveAnswer = app.dir.file(QStringLiteral("refused.txt"));
    app.form.memo().setText(text);
    QVERIFY(documentModified); // the text set above is an edit
    app.form.setPanelText(3, QStringLiteral("before"));
    app.form.findChild<QMenu *>(QStringLiteral("savewithencoding1"))->actions()[item]->trigger();
    QCOMPARE(app.fake.boxes.size(), 1);
    QCOMPARE(app.fake.boxes[0].kind, QStringLiteral("error"));
    QCOMPARE(app.fake.boxes[0].text, message);
    QCOMPARE(app.fake.boxes[0].caption, QStringLiteral("ERROR"));
    QCOMPARE(app.form.memo().selStart(), caret);
    QCOMPARE(app.form.memo().selLength(), 0);
    QVERIFY(!QFile::exists(app.fake.saveAnswer));
    QVERIFY(documentModified);
    QCOMPARE(app.form.panelText(3), QStringLiteral("before"));
}

void TestSaveWithEncoding::composes_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("result");
    const QString nfd = QStringLiteral("e\u0301 \u1112\u1161\u11AB\u1100\u1173\u11AF");
    QTest::newRow("compose all") << "composeHangul1" << nfd << 0 << 0
                                 << QStringLiteral("e\u0301 한글");
    QTest::newRow("compose selection")
        << "composeHangul2" << nfd << 3 << 3 << QStringLiteral("e\u0301 한\u1100\u1173\u11AF");
    QTest::newRow("decompose all") << "decomposeHangul1" << QStringLiteral("한 a") << 0 << 0
                                   << QStringLiteral("\u1112\u1161\u11AB a");
    QTest::newRow("nothing to compose") << "composeHangul1" << QStringLiteral("한글 e\u0301") << 0
                                        << 0 << QStringLiteral("한글 e\u0301");
    QTest::newRow("nothing to decompose")
        << "decomposeHangul2" << QStringLiteral("abc ㄱ") << 0 << 0 << QStringLiteral("abc ㄱ");
}

void TestSaveWithEncoding::composes()
{
    QFETCH(QString, item);
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, result);
    MainWindowFixture app;
    app.form.memo().setText(text);
    app.form.memo().setSelStart(selStart);
    app.form.memo().setSelLength(selLength);
    app.form.document().setSaved(QString());
    app.form.findChild<QAction *>(item)->trigger();
    QCOMPARE(app.form.memo().text(), result);
    // Modified only when something changed; one undo step gives the text back.
    QCOMPARE(documentModified, result != text);
    if (result != text) {
        app.form.Memo1->undo();
        QCOMPARE(app.form.memo().text(), text);
    }
}

QTEST_MAIN(TestSaveWithEncoding)
#include "tst_save_with_encoding.moc"
