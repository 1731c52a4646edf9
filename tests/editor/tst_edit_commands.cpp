// Cut, Copy, Paste, Clear and Select All in the editor and in the find dialog's
// edit line, the program's own Unicode paste and the Ctrl+V interception.
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "find/search_form.h"
#include "ime/ime_mode.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

struct Fixture : MainWindowFixture
{
    // `win9x`: the platform reports the older Windows family at start-up.
    explicit Fixture(bool win9x = false)
        : MainWindowFixture([win9x](TestProgramDir &, FakePlatform &fake, QStringList &) {
              fake.flags.isWin9x = win9x;
          })
    {
    }
    Tsearchform &dialog = searchForm();
};

ClipboardContent unicodeText(const QString &text)
{
    ClipboardContent c;
    c.unicode = text;
    return c;
}

} // namespace

class TestEditCommands : public QObject
{
    Q_OBJECT
private slots:
    void pasteIntoEditor_data();
    void pasteIntoEditor();
    void pasteIntoEditLine_data();
    void pasteIntoEditLine();
    void pasteWithoutClipboardText_data();
    void pasteWithoutClipboardText();
    void eightBitPasteWritesTextBack();
    void cutAndCopy_data();
    void cutAndCopy();
    void clearInEditorAsks_data();
    void clearInEditorAsks();
    void clearInEditLineNeverAsks();
    void selectAll();
    void interceptedPaste_data();
    void interceptedPaste();
    void interceptionNeedsClipboard();
    void interceptionInEditLine();
};

void TestEditCommands::pasteIntoEditor_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selection");
    QTest::addColumn<ClipboardContent>("clipboard");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret");
    QTest::newRow("CR LF becomes LF")
        << "xy" << 1 << 0 << unicodeText(u"a\r\nb"_qs) << u"xa\nby"_qs << 4;
    QTest::newRow("over a selection") << "hello" << 1 << 3 << unicodeText(u"EY"_qs) << "hEYo" << 3;
    QTest::newRow("cut at a zero unit")
        << "" << 0 << 0 << unicodeText(QString(u"ab\0cd"_qs)) << "ab" << 2;
    QTest::newRow("zero first") << "xy" << 1 << 1 << unicodeText(QString(u"\0cd"_qs)) << "x" << 1;
    QTest::newRow("Hangul and kana")
        << "" << 0 << 0 << unicodeText(u"\uD55C\uAE00\u3072\u3089\u304C\u306A"_qs)
        << u"\uD55C\uAE00\u3072\u3089\u304C\u306A"_qs << 6;
    QTest::newRow("outside the basic plane")
        << "" << 0 << 0 << unicodeText(u"\U0001F600"_qs) << u"\U0001F600"_qs << 2;
    ClipboardContent both = unicodeText(u"\uD55C"_qs);
    both.ansi = QByteArray("ansi");
    QTest::newRow("Unicode preferred") << "" << 0 << 0 << both << u"\uD55C"_qs << 1;
    ClipboardContent ansi;
    ansi.ansi = QByteArray("one\r\ntwo\0three", 14);
    QTest::newRow("8-bit text") << "" << 0 << 0 << ansi << "one\ntwo" << 7;
}

void TestEditCommands::pasteIntoEditor()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, selection);
    QFETCH(ClipboardContent, clipboard);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);
    Fixture f;
    f.form.memo().setText(text);
    f.form.memo().setSelStart(caret);
    f.form.memo().setSelLength(selection);
    f.fake.clipboard = clipboard;
    f.form.action("MenuItem3")->trigger();
    QCOMPARE(f.form.memo().text(), expected);
    QCOMPARE(f.form.memo().selStart(), expectedCaret);
    QCOMPARE(f.form.memo().selLength(), 0);
    QVERIFY(documentModified);
}

void TestEditCommands::pasteIntoEditLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("expectedCaret");
    QTest::newRow("insert") << "xy" << 1 << 0 << u"\uD55C\uAE00"_qs << u"x\uD55C\uAE00y"_qs << 3;
    QTest::newRow("over a selection") << "hello" << 1 << 3 << "EY"
                                      << "hEYo" << 3;
    QTest::newRow("CR dropped") << "" << 0 << 0 << "a\rb"
                                << "ab" << 2;
    QTest::newRow("cut at a zero unit") << "" << 0 << 0 << QString(u"ab\0cd"_qs) << "ab" << 2;
}

void TestEditCommands::pasteIntoEditLine()
{
    QFETCH(QString, text);
    QFETCH(int, caret);
    QFETCH(int, selection);
    QFETCH(QString, clipboard);
    QFETCH(QString, expected);
    QFETCH(int, expectedCaret);
    Fixture f;
    f.dialog.edit1().setText(text);
    f.dialog.edit1().setSelStart(caret);
    f.dialog.edit1().setSelLength(selection);
    f.fake.clipboard = unicodeText(clipboard);
    f.dialog.action("Past1")->trigger();
    QCOMPARE(f.dialog.Edit1->text(), expected);
    QCOMPARE(f.dialog.edit1().selStart(), expectedCaret);
    QCOMPARE(f.dialog.edit1().selLength(), 0);
    QVERIFY(!documentModified); // the document is not touched
}

void TestEditCommands::pasteWithoutClipboardText_data()
{
    QTest::addColumn<bool>("opened");
    QTest::newRow("not opened") << false;
    QTest::newRow("no text") << true;
}

void TestEditCommands::pasteWithoutClipboardText()
{
    QFETCH(bool, opened);
    Fixture f;
    f.form.memo().setText(QStringLiteral("abc"));
    f.form.document().setSaved(QString());
    f.form.memo().setSelStart(1);
    f.form.memo().setSelLength(1);
    f.fake.clipboard.opened = opened;
    f.form.action("MenuItem3")->trigger();
    f.dialog.action("Past1")->trigger();
    QCOMPARE(f.form.memo().text(), QStringLiteral("abc"));
    QCOMPARE(f.form.memo().selLength(), 1);
    QVERIFY(f.fake.clipboardWrites.isEmpty());
    QVERIFY(!documentModified);
}

// 8-bit text is written back as Unicode text: the text just pasted, never the
// empty selection behind it.
void TestEditCommands::eightBitPasteWritesTextBack()
{
    Fixture f;
    f.fake.clipboard.ansi = QByteArray("ab\r\ncd");
    f.form.action("MenuItem3")->trigger();
    QCOMPARE(f.fake.clipboardWrites, QStringList{u"ab\ncd"_qs});
    f.fake.clipboardWrites.clear();
    f.fake.clipboard = unicodeText(QStringLiteral("uni"));
    f.form.action("MenuItem3")->trigger();
    QVERIFY(f.fake.clipboardWrites.isEmpty());
}

void TestEditCommands::cutAndCopy_data()
{
    QTest::addColumn<bool>("editor");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<int>("selection");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("left");
    QTest::newRow("editor cut") << true << true << 2 << u"b\n"_qs << u"ac"_qs;
    QTest::newRow("editor copy") << true << false << 2 << u"b\n"_qs << u"ab\nc"_qs;
    QTest::newRow("editor cut nothing") << true << true << 0 << QString() << u"ab\nc"_qs;
    QTest::newRow("editor copy nothing") << true << false << 0 << QString() << u"ab\nc"_qs;
    QTest::newRow("line cut") << false << true << 2 << u"b\uD55C"_qs << u"ac"_qs;
    QTest::newRow("line copy") << false << false << 2 << u"b\uD55C"_qs << u"ab\uD55Cc"_qs;
    QTest::newRow("line cut nothing") << false << true << 0 << QString() << u"ab\uD55Cc"_qs;
}

void TestEditCommands::cutAndCopy()
{
    QFETCH(bool, editor);
    QFETCH(bool, cut);
    QFETCH(int, selection);
    QFETCH(QString, written);
    QFETCH(QString, left);
    Fixture f;
    TextControl &control = editor ? f.form.memo() : f.dialog.edit1();
    control.setText(editor ? u"ab\nc"_qs : u"ab\uD55Cc"_qs);
    f.form.document().setSaved(QString());
    control.setSelStart(1);
    control.setSelLength(selection);
    QAction *item = editor ? (cut ? f.form.action("MenuItem1") : f.form.action("MenuItem2"))
                           : (cut ? f.dialog.action("Cut1") : f.dialog.action("Copy1"));
    item->trigger();
    QCOMPARE(f.fake.clipboardWrites, QStringList{written});
    QCOMPARE(control.text(), left);
    QCOMPARE(control.selLength(), cut ? 0 : selection);
    QCOMPARE(documentModified, editor && cut && selection > 0);
}

void TestEditCommands::clearInEditorAsks_data()
{
    QTest::addColumn<bool>("answer");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
}

void TestEditCommands::clearInEditorAsks()
{
    QFETCH(bool, answer);
    Fixture f;
    f.form.memo().setText(QStringLiteral("text"));
    f.form.document().setSaved(QString());
    f.fake.confirmAnswer = answer;
    f.form.action("MenuItem4")->trigger();
    QCOMPARE(f.fake.boxes.size(), 1);
    QCOMPARE(f.fake.boxes[0].kind, QStringLiteral("confirm"));
    QCOMPARE(f.fake.boxes[0].text, QStringLiteral("Clear OK?"));
    QCOMPARE(f.fake.boxes[0].caption, QStringLiteral("confirm"));
    QCOMPARE(f.form.memo().text(), answer ? QString() : QStringLiteral("text"));
    QCOMPARE(documentModified, answer);
}

void TestEditCommands::clearInEditLineNeverAsks()
{
    Fixture f;
    f.dialog.Edit1->setText(QStringLiteral("text"));
    f.form.memo().setText(QStringLiteral("doc"));
    f.dialog.action("Clear1")->trigger();
    QCOMPARE(f.dialog.Edit1->text(), QString());
    QCOMPARE(f.form.memo().text(), QStringLiteral("doc"));
    QVERIFY(f.fake.boxes.isEmpty());
}

void TestEditCommands::selectAll()
{
    Fixture f;
    f.form.memo().setText(u"ab\ncd"_qs);
    f.form.action("MenuItem5")->trigger();
    QCOMPARE(f.form.memo().selStart(), 0);
    QCOMPARE(f.form.memo().selLength(), 5);
    f.dialog.Edit1->setText(QStringLiteral("xyz"));
    f.dialog.action("SelectAll1")->trigger();
    QCOMPARE(f.dialog.edit1().selLength(), 3);
}

void TestEditCommands::interceptedPaste_data()
{
    QTest::addColumn<bool>("win9x");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<bool>("intercepted");
    QTest::newRow("Ctrl+V") << true << int(Qt::ControlModifier) << true;
    QTest::newRow("Ctrl+Shift+V") << true << int(Qt::ControlModifier | Qt::ShiftModifier) << true;
    QTest::newRow("Alt+V") << true << int(Qt::AltModifier) << false;
    QTest::newRow("V") << true << int(Qt::NoModifier) << false;
    QTest::newRow("Ctrl+V, flag clear") << false << int(Qt::ControlModifier) << false;
}

void TestEditCommands::interceptedPaste()
{
    QFETCH(bool, win9x);
    QFETCH(int, modifiers);
    QFETCH(bool, intercepted);
    Fixture f(win9x);
    ImeModeCommand::instance().choose(ImeNone);
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.form.Memo1->setFocus();
    QVERIFY(f.form.memo().hasFocus());
    f.fake.clipboard = unicodeText(u"\uD55C"_qs);
    QGuiApplication::clipboard()->setText(QStringLiteral("own"));
    QTest::keyClick(f.form.Memo1, Qt::Key_V, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(f.form.memo().isReadOnly(), intercepted);
    QCOMPARE(f.form.TimerMemo->isActive(), intercepted);
    if (intercepted) {
        QCOMPARE(f.form.memo().text(), u"\uD55C"_qs); // once, the editor's own paste refused
        QTest::keyClick(f.form.Memo1, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(f.form.Memo1, Qt::Key_A);
        QCOMPARE(f.form.memo().text(), u"\uD55C"_qs); // read-only for the interval
        f.form.TimerMemo->setInterval(10);
        QTRY_VERIFY(!f.form.memo().isReadOnly());
        QVERIFY(!f.form.TimerMemo->isActive());
    } else {
        QVERIFY(!f.form.memo().text().contains(u"\uD55C"_qs));
    }
}

void TestEditCommands::interceptionNeedsClipboard()
{
    Fixture f(true);
    f.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.form));
    f.form.Memo1->setFocus();
    f.fake.clipboard.opened = false;
    f.form.FormShortCut(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(!f.form.memo().isReadOnly());
    f.fake.clipboard.opened = true; // opened, but no text
    f.form.FormShortCut(Qt::Key_V, Qt::ControlModifier);
    QVERIFY(f.form.memo().isReadOnly());
    QCOMPARE(f.form.memo().text(), QString());
    // Without the focus nothing is intercepted.
    f.form.TimerMemoTimer();
    f.form.Memo1->clearFocus();
    f.fake.clipboard = unicodeText(QStringLiteral("x"));
    f.form.FormShortCut(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.form.memo().text(), QString());
}

void TestEditCommands::interceptionInEditLine()
{
    Fixture f(true);
    ImeModeCommand::instance().choose(ImeNone);
    f.dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&f.dialog));
    f.dialog.Edit1->setFocus();
    f.fake.clipboard = unicodeText(u"\u3042"_qs);
    QGuiApplication::clipboard()->setText(QStringLiteral("own"));
    QTest::keyClick(f.dialog.Edit1, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(f.dialog.Edit1->text(), u"\u3042"_qs);
    QVERIFY(f.dialog.Edit1->isReadOnly());
    QVERIFY(f.dialog.TimerEdit->isActive());
    f.dialog.TimerEdit->setInterval(10);
    QTRY_VERIFY(!f.dialog.Edit1->isReadOnly());
}

QTEST_MAIN(TestEditCommands)
#include "tst_edit_commands.moc"
