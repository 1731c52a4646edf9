// The find dialog and the main window's find command: the wait, the flags and
// indicators it touches, where the caret ends, and the dialog's own controls.
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "find/search_form.h"
#include "ime/ime_mode.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"

#include <QAction>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

struct Fixture : MainWindowFixture
{
    Tsearchform &dialog = searchForm();
};

struct WaitState
{
    bool dialogVisible = false;
    bool memoEnabled = true;
    bool fileEnabled = true;
    bool findEnabled = true;
};

// Runs the find command; `duringWait` acts while the dialog is up (as the user
// would) and must leave it, by Find or by closing it.
WaitState runFind(Fixture &f, const std::function<void()> &duringWait)
{
    WaitState seen;
    QTimer::singleShot(0, &f.form, [&] {
        seen.dialogVisible = f.form.searchform() && f.form.searchform()->isVisible();
        seen.memoEnabled = f.form.Memo1->isEnabled();
        seen.fileEnabled = f.form.menu("FILE1")->menuAction()->isEnabled();
        seen.findEnabled = f.form.action("find1")->isEnabled();
        duringWait();
    });
    f.form.find1Click();
    return seen;
}

std::function<void()> findText(Fixture &f, const QString &text)
{
    return [&f, text] {
        f.dialog.Edit1->setText(text);
        f.dialog.Button1Click();
    };
}

} // namespace

class TestFindCommand : public QObject
{
    Q_OBJECT
private slots:
    void dialogAtStart();
    void dialogCentredOnMainWindow();
    void searchPlacesCaret_data();
    void searchPlacesCaret();
    void repeatedFindStaysOnOccurrence();
    void longLinesSearchedToTheEnd_data();
    void longLinesSearchedToTheEnd();
    void waitDisablesEditorAndFileCommands();
    void closedWithoutFindChangesNothing();
    void emptyStringChangesNothing();
    void searchSwitchesWordWrapOff_data();
    void searchSwitchesWordWrapOff();
    void lineFeedKeyStartsSearch_data();
    void lineFeedKeyStartsSearch();
    void otherKeysDoNotStartSearch();
    void closingMainWindowEndsWait();
    void minimisedDialogKeepsWaiting();
    void editLineFollowsEditorFont();
};

void TestFindCommand::dialogAtStart()
{
    MainWindowFixture app([&](TestProgramDir &, FakePlatform &, QStringList &) {
        ImeModeCommand::instance().choose(ImeDirect);
    });
    Tsearchform &dialog = app.searchForm();
    QCOMPARE(app.form.searchform(), &dialog);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("find (search)"));
    QCOMPARE(dialog.size(), QSize(350, 151));
    QCOMPARE(dialog.Edit1->text(), QString());
    QCOMPARE(dialog.Edit1->maxLength(), INT_MAX);
    QCOMPARE(dialog.Label1->text(), QStringLiteral("Sorry. auto change to noWrapLine mode."));
    QCOMPARE(dialog.Label2->text(), QStringLiteral("KoreaDirectIME"));
    QCOMPARE(dialog.Button1->text(), QStringLiteral("Find"));
    QCOMPARE(dialog.Edit1->font(), app.form.Memo1->font());
    QVERIFY(!dialog.TimerEdit->isActive());
    QCOMPARE(dialog.TimerEdit->interval(), 500);
    QCOMPARE(dialog.Edit1->contextMenuPolicy(), Qt::CustomContextMenu);
    QStringList captions, names;
    for (QAction *a : dialog.menu("PopupMenu2")->actions()) {
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
        names << a->objectName();
    }
    QCOMPARE(names, (QStringList{"Cut1", "Copy1", "Past1", "Clear1", "SelectAll1", "", "MenuItem1",
                                 "MenuItem2", "MenuItem3", "KanjiJapantoHangulSelectAreaType11",
                                 "KanjiJapantoHangulSelectAreaType21", "N1", "HangultoHanja1"}));
    QCOMPARE(captions,
             (QStringList{"Cut", "Copy", "Paste", "Clear", "Select All", "-", "Korea Roma IME",
                          "Korea Direct IME", "nonIME", "Kanji(Japan) to Hangul(SelectArea)Type1",
                          "Kanji(Japan) to Hangul(SelectArea)Type2", "-", "Hangul to Hanja"}));
    captions.clear();
    for (QAction *a : dialog.MainMenu1->actions())
        captions << a->text();
    QCOMPARE(captions, (QStringList{"KoreaRomaIME", "KoreaDirectIME", "nonIME"}));
    QVERIFY(!dialog.isVisible());
}

void TestFindCommand::dialogCentredOnMainWindow()
{
    Fixture f;
    f.form.move(100, 50);
    f.form.resize(600, 400);
    QPoint centre;
    runFind(f, [&] {
        centre = f.dialog.frameGeometry().center();
        f.dialog.close();
    });
    QVERIFY((centre - f.form.frameGeometry().center()).manhattanLength() <= 2);
}

void TestFindCommand::searchPlacesCaret_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("expected");
    QTest::newRow("found after caret") << "one two three" << 0 << 0 << "three" << 8;
    QTest::newRow("found at caret") << "one two" << 4 << 0 << "two" << 4;
    QTest::newRow("only before caret") << "one two" << 4 << 0 << "one" << 4;
    QTest::newRow("not found") << "one two" << 2 << 0 << "xyz" << 2;
    QTest::newRow("selection collapsed to its start") << "abab" << 0 << 2 << "ab" << 0;
    QTest::newRow("next line") << "ab\ncd\nef" << 1 << 0 << "ef" << 6;
    QTest::newRow("case-sensitive") << "A a" << 0 << 0 << "a" << 2;
    QTest::newRow("case-sensitive not found") << "A" << 0 << 0 << "a" << 0;
    QTest::newRow("syllable not jamo")
        << u"\u1112\u1161\u11AB \uD55C"_qs << 0 << 0 << u"\uD55C"_qs << 4;
    QTest::newRow("empty document") << QString() << 0 << 0 << "a" << 0;
    QTest::newRow("Korean") << u"\uD55C\uAE00 \uD55C\uAD6D"_qs << 1 << 0 << u"\uD55C\uAD6D"_qs << 3;
}

void TestFindCommand::searchPlacesCaret()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, selection);
    QFETCH(QString, needle);
    QFETCH(int, expected);
    Fixture f;
    f.form.memo().setText(text);
    f.form.memo().setSelStart(caret);
    f.form.memo().setSelLength(selection);
    runFind(f, findText(f, needle));
    QCOMPARE(f.form.memo().selStart(), expected);
    QCOMPARE(f.form.memo().selLength(), 0);
    QCOMPARE(f.form.memo().text(), text);
    QVERIFY(f.form.memo().isVisible());
    QVERIFY(f.form.memo().isEnabled());
    QVERIFY(!f.dialog.isVisible());
    QCOMPARE(f.dialog.Edit1->text(), needle); // kept for the next search
}

void TestFindCommand::repeatedFindStaysOnOccurrence()
{
    Fixture f;
    f.form.memo().setText(u"x ab ab"_qs);
    runFind(f, findText(f, QStringLiteral("ab")));
    QCOMPARE(f.form.memo().selStart(), 2);
    runFind(f, [&] { f.dialog.Button1Click(); }); // the string typed the previous time
    QCOMPARE(f.form.memo().selStart(), 2);
    f.form.memo().setSelStart(3);
    runFind(f, [&] { f.dialog.Button1Click(); });
    QCOMPARE(f.form.memo().selStart(), 5);
}

void TestFindCommand::longLinesSearchedToTheEnd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("needle");
    QTest::addColumn<int>("expected");
    const QString longLine(100000, u'x');
    QTest::newRow("after a break beyond 70000")
        << QString(longLine + u'\n' + QStringLiteral("needle")) << "needle" << 100001;
    // One line longer than 70000 units: an occurrence across unit 70000 is found.
    QString straddling(150000, u'x');
    straddling.replace(69998, 6, QStringLiteral("needle"));
    QTest::newRow("across 70000 in one line") << straddling << "needle" << 69998;
    QString late = QString(150000, u'x') + QStringLiteral("needle");
    QTest::newRow("end of a very long line") << late << "needle" << 150000;
    QString breaks = QString(69999, u'x') + QStringLiteral("ne\r\nedle needle");
    QTest::newRow("carriage return kept") << breaks << "needle" << 70008;
}

void TestFindCommand::longLinesSearchedToTheEnd()
{
    QFETCH(QString, text);
    QFETCH(QString, needle);
    QFETCH(int, expected);
    Fixture f;
    f.form.memo().setText(text);
    runFind(f, findText(f, needle));
    QCOMPARE(f.form.memo().selStart(), expected);
}

void TestFindCommand::waitDisablesEditorAndFileCommands()
{
    Fixture f;
    const WaitState seen = runFind(f, [&] { f.dialog.close(); });
    QVERIFY(seen.dialogVisible);
    QVERIFY(!seen.memoEnabled);
    QVERIFY(!seen.fileEnabled);
    QVERIFY(!seen.findEnabled);
    QVERIFY(f.form.Memo1->isEnabled());
    QVERIFY(f.form.menu("FILE1")->menuAction()->isEnabled());
    QVERIFY(f.form.action("find1")->isEnabled());
}

void TestFindCommand::closedWithoutFindChangesNothing()
{
    Fixture f;
    f.form.setWordWrap(true);
    f.form.memo().setText(QStringLiteral("abc abc"));
    f.form.memo().setSelStart(1);
    runFind(f, [&] {
        f.dialog.Edit1->setText(QStringLiteral("abc"));
        f.dialog.close();
    });
    QVERIFY(!findRequested);
    QCOMPARE(f.form.memo().selStart(), 1);
    QVERIFY(f.form.wordWrap());
    QCOMPARE(f.form.panelText(2), QStringLiteral("WrapLine"));
}

void TestFindCommand::emptyStringChangesNothing()
{
    Fixture f;
    f.form.setWordWrap(true);
    f.form.memo().setText(QStringLiteral("abc"));
    f.form.memo().setSelStart(2);
    runFind(f, findText(f, QString()));
    QVERIFY(findRequested);
    QCOMPARE(f.form.memo().selStart(), 2);
    QVERIFY(f.form.wordWrap());
}

void TestFindCommand::searchSwitchesWordWrapOff_data()
{
    QTest::addColumn<QString>("needle");
    QTest::newRow("found") << "b";
    QTest::newRow("not found") << "z";
}

void TestFindCommand::searchSwitchesWordWrapOff()
{
    QFETCH(QString, needle);
    Fixture f;
    f.form.setWordWrap(true);
    f.form.memo().setText(QStringLiteral("abc"));
    runFind(f, findText(f, needle));
    QVERIFY(!f.form.wordWrap());
    QCOMPARE(f.form.action("Wrapofftoggle1")->text(), QStringLiteral("Wrap Line on(toggle)"));
    QCOMPARE(f.form.panelText(2), QStringLiteral("noWrapLine"));
}

void TestFindCommand::lineFeedKeyStartsSearch_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Return") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("Ctrl+Return") << int(Qt::Key_Return) << int(Qt::ControlModifier);
    QTest::newRow("Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Enter)
                                << int(Qt::ControlModifier | Qt::KeypadModifier);
}

void TestFindCommand::lineFeedKeyStartsSearch()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Fixture f;
    ImeModeCommand::instance().choose(ImeNone);
    f.form.memo().setText(QStringLiteral("one two"));
    runFind(f, [&] {
        f.dialog.Edit1->setText(QStringLiteral("two"));
        QTest::keyClick(f.dialog.Edit1, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    });
    QVERIFY(findRequested);
    QCOMPARE(f.dialog.Edit1->text(), QStringLiteral("two"));
    QCOMPARE(f.form.memo().selStart(), 4);
}

void TestFindCommand::otherKeysDoNotStartSearch()
{
    Fixture f;
    ImeModeCommand::instance().choose(ImeNone);
    bool visibleAfterKeys = false;
    runFind(f, [&] {
        QTest::keyClick(f.dialog.Edit1, Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClick(f.dialog.Edit1, Qt::Key_A);
        visibleAfterKeys = f.dialog.isVisible();
        f.dialog.close();
    });
    QVERIFY(visibleAfterKeys);
    QVERIFY(!findRequested);
}

void TestFindCommand::minimisedDialogKeepsWaiting()
{
    Fixture f;
    f.form.memo().setText(QStringLiteral("abc"));
    bool waitingAfterMinimise = false;
    runFind(f, [&] {
        // A minimised window gets a hide event but stays open.
        QHideEvent minimised;
        QCoreApplication::sendEvent(&f.dialog, &minimised);
        QTimer::singleShot(0, &f.form, [&] {
            waitingAfterMinimise = !f.form.Memo1->isEnabled();
            findText(f, QStringLiteral("c"))();
        });
    });
    QVERIFY(waitingAfterMinimise);
    QCOMPARE(f.form.memo().selStart(), 2);
}

void TestFindCommand::closingMainWindowEndsWait()
{
    Fixture f;
    f.form.memo().setText(QStringLiteral("abc"));
    f.form.document().setSaved(QString()); // nothing to offer for saving on the way out
    f.form.memo().setSelStart(1);
    runFind(f, [&] {
        f.dialog.Edit1->setText(QStringLiteral("c"));
        f.form.close();
    });
    QVERIFY(appClosing);
    QVERIFY(!findRequested);
    QCOMPARE(f.form.memo().selStart(), 1);
    QVERIFY(f.form.Memo1->isEnabled());
    QVERIFY(f.form.action("find1")->isEnabled());
}

void TestFindCommand::editLineFollowsEditorFont()
{
    Fixture f;
    QFont chosen(QStringLiteral("Nanum Gothic"));
    chosen.setPixelSize(27);
    f.fake.fontAnswer = chosen;
    f.form.changefont1Click();
    QCOMPARE(f.dialog.Edit1->font().pixelSize(), 27);
    QCOMPARE(f.dialog.Edit1->font().family(), f.form.Memo1->font().family());
}

QTEST_MAIN(TestFindCommand)
#include "tst_find_command.moc"
