// The input-aid windows in the running program: opening the accent pads, their
// buttons and picture, the keymap help window and the screen keyboard window.
#include "aids/accent2_form.h"
#include "aids/accent_form.h"
#include "aids/accent_table.h"
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "ime/hangul_skb_form.h"
#include "ime/help_form.h"
#include "ime/screen_keyboard_layout.h"
#include "settings/app_state.h"
#include "support/clicks.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

class TestAidsWindows : public QObject
{
    Q_OBJECT
private slots:
    void accentPadCreatedOnceAndShownAgain();
    void accentPadButtonsAsTabled();
    void everyButtonInsertsItsCharacter();
    void padReplacesSelection();
    void closeFlowDestroysPad();
    void imagePadOnlyWhenFlagSet();
    void imagePadClicks_data();
    void imagePadClicks();
    void helpWindow();
    void helpWindowCentredOnFirstShow();
    void helpTextSelectableAndCopyable();
    void screenKeyboardWindow();
};

void TestAidsWindows::accentPadCreatedOnceAndShownAgain()
{
    MainWindowFixture app;
    app.form.show();
    QVERIFY(!accentPadCreated);
    QVERIFY(!app.form.accentform());
    QVERIFY(app.form.action("AccentPAD1")->isEnabled() &&
            app.form.action("AccentPAD2")->isEnabled());
    app.form.action("AccentPAD1")->trigger();
    QVERIFY(accentPadCreated);
    QVERIFY(app.form.accentform());
    Taccentform *first = app.form.accentform();
    QVERIFY(first->isVisible());
    QCOMPARE(first->parentWidget(), &app.form);
    QCOMPARE(first->windowTitle(), QStringLiteral("Accent PAD"));
    QCOMPARE(first->size(), QSize(395, 228));
    QVERIFY(first->windowFlags().testFlag(Qt::Tool));
    QCOMPARE(first->focusWidget(), first->findChild<QWidget *>(QStringLiteral("ButtonA0")));

    // Closing only hides; both items show the same window again.
    QVERIFY(first->close());
    QVERIFY(first->isHidden());
    QCOMPARE(app.form.accentform(), first);
    app.form.action("AccentPAD2")->trigger();
    QCOMPARE(app.form.accentform(), first);
    QVERIFY(first->isVisible());
    app.form.action("AccentPAD1")->trigger();
    QCOMPARE(app.form.findChildren<Taccentform *>().size(), 1);
    QVERIFY(!app.form.accent2form());
    app.form.destroyAccentPad();
}

void TestAidsWindows::accentPadButtonsAsTabled()
{
    MainWindowFixture app;
    app.form.AccentPAD1Click();
    const auto buttons = app.form.accentform()->findChildren<AccentPadButton *>();
    QCOMPARE(buttons.size(), 112);
    for (int r = 0; r < AccentRows; ++r)
        for (int c = 0; c < AccentColumns; ++c) {
            const AccentCell &cell = accentCells[r][c];
            auto *b =
                app.form.accentform()->findChild<AccentPadButton *>(QString::fromLatin1(cell.name));
            QVERIFY2(b, cell.name);
            QCOMPARE(b->geometry(), QRect(4 + 28 * c, 4 + 28 * r, 25, 25));
            QCOMPARE(int(b->code()), int(cell.code));
            QCOMPARE(b->text(), accentCaption(cell.code));
        }
    app.form.destroyAccentPad();
}

void TestAidsWindows::everyButtonInsertsItsCharacter()
{
    MainWindowFixture app;
    app.form.show();
    app.form.AccentPAD1Click();
    QString expected;
    for (int r = 0; r < AccentRows; ++r)
        for (int c = 0; c < AccentColumns; ++c) {
            app.form.document().setSaved(QString());
            QTest::mouseClick(app.form.accentform()->button(r, c), Qt::LeftButton);
            QVERIFY(documentModified);
            expected += QChar(accentCells[r][c].code);
        }
    QCOMPARE(app.form.memo().text(), expected);
    QCOMPARE(app.form.memo().selStart(), qsizetype(112));
    QCOMPARE(app.form.memo().selLength(), qsizetype(0));
    app.form.destroyAccentPad();
}

void TestAidsWindows::padReplacesSelection()
{
    MainWindowFixture app;
    app.form.memo().setText(u"naive text");
    app.form.memo().setSelStart(2);
    app.form.memo().setSelLength(1);
    app.form.AccentPAD2Click();
    QTest::mouseClick(app.form.accentform()->findChild<QPushButton *>(QStringLiteral("ButtonIc0")),
                      Qt::LeftButton);
    QCOMPARE(app.form.memo().text(), QStringLiteral("naïve text"));
    QCOMPARE(app.form.memo().selStart(), qsizetype(3));
    // A combining mark goes in as it is, after the character before the caret.
    QTest::mouseClick(app.form.accentform()->findChild<QPushButton *>(QStringLiteral("ButtonX304")),
                      Qt::LeftButton);
    QCOMPARE(app.form.memo().text(), QStringLiteral("naï\u0304ve text"));
    app.form.destroyAccentPad();
}

void TestAidsWindows::closeFlowDestroysPad()
{
    MainWindowFixture app;
    app.form.show();
    app.form.AccentPAD1Click();
    QPointer<Taccentform> pad = app.form.accentform();
    QVERIFY(app.form.close());
    QVERIFY(pad.isNull());
    QVERIFY(!app.form.accentform());
    QVERIFY(!accentPadCreated);
    app.form.destroyAccentPad(); // nothing left to destroy
    QVERIFY(!accentPadCreated);
}

void TestAidsWindows::imagePadOnlyWhenFlagSet()
{
    MainWindowFixture app([](TestProgramDir &, FakePlatform &fake, QStringList &) {
        fake.flags.isWin9x = true; // the image pad
    });
    app.form.AccentPAD1Click();
    QVERIFY(app.form.accent2form());
    QVERIFY(!app.form.accentform());
    Taccent2form *pad = app.form.accent2form();
    QCOMPARE(pad->windowTitle(), QStringLiteral("Accent PAD"));
    QCOMPARE(pad->size(), QSize(397, 232));
    QCOMPARE(pad->Image1->pos(), QPoint(4, 4));
    QVERIFY(pad->Image1->width() > 391); // a click right of the grid lands on the picture
    QVERIFY(pad->isVisible());
    pad->close();
    app.form.AccentPAD2Click();
    QCOMPARE(app.form.accent2form(), pad);
    QVERIFY(pad->isVisible());
    app.form.destroyAccentPad();
    QVERIFY(!app.form.accent2form());
    QVERIFY(!accentPadCreated);
}

void TestAidsWindows::imagePadClicks_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("inserted");
    QTest::newRow("origin") << QPoint(0, 0) << QStringLiteral("ä");
    QTest::newRow("bottom-right cell") << QPoint(390, 224) << QStringLiteral("\u0304");
    QTest::newRow("right of the grid") << QPoint(391, 10) << QString();
    QTest::newRow("dead band 26") << QPoint(100, 26) << QString();
    QTest::newRow("dead band 27") << QPoint(100, 27) << QString();
    QTest::newRow("x=27") << QPoint(27, 0) << QStringLiteral("ï");
    QTest::newRow("row 5 column 12") << QPoint(340, 150) << QStringLiteral("\u1D27");
}

void TestAidsWindows::imagePadClicks()
{
    QFETCH(QPoint, pos);
    QFETCH(QString, inserted);
    MainWindowFixture app([](TestProgramDir &, FakePlatform &fake, QStringList &) {
        fake.flags.isWin9x = true; // the image pad
    });
    app.form.show();
    app.form.AccentPAD1Click();
    clickAt(app.form.accent2form()->Image1, pos);
    QCOMPARE(app.form.memo().text(), inserted);
    QCOMPARE(documentModified, !inserted.isEmpty());
    app.form.destroyAccentPad();
}

void TestAidsWindows::helpWindow()
{
    MainWindowFixture app;
    QFont editorFont = app.form.Memo1->font();
    editorFont.setPixelSize(23);
    app.form.Memo1->setFont(editorFont);
    Thelpform &help = app.helpForm();
    QCOMPARE(app.form.helpform(), &help);
    QCOMPARE(help.windowTitle(), QStringLiteral("Hangul Romanized Input keymap"));
    QCOMPARE(help.size(), QSize(530, 417));
    QCOMPARE(help.Memo1->objectName(), QStringLiteral("Memo1"));
    QVERIFY(help.Memo1->isReadOnly());
    QCOMPARE(help.Memo1->font(), editorFont);

    const QString text = help.Memo1->toPlainText();
    QCOMPARE(text, romanizedKeymapHelpText());
    QCOMPARE(text.size(), 465);
    QCOMPARE(text.split(QLatin1Char('\n')).size(), 25);
    QVERIFY(!text.contains(QLatin1Char('\r')));
    QVERIFY(!text.endsWith(QLatin1Char('\n')));
    QCOMPARE(text.split(QLatin1Char('\n')).at(17), QStringLiteral(" , wE/oE(왜) , wo/uO(워) "));

    // Later font changes of the editor are not followed.
    app.form.Memo1->setFont(QFont(QStringLiteral("Serif"), 30));
    QCOMPARE(help.Memo1->font(), editorFont);

    app.form.action("keymap1")->trigger();
    QVERIFY(help.isVisible());
    QVERIFY(!help.isModal());
    QCOMPARE(help.Memo1->textCursor().position(), 0);
    QVERIFY(!help.Memo1->textCursor().hasSelection());
    QCOMPARE(help.Memo1->verticalScrollBar()->value(), 0);

    // Typing does not change it.
    help.Memo1->setFocus();
    QTest::keyClicks(help.Memo1, QStringLiteral("xyz"));
    QTest::keyClick(help.Memo1, Qt::Key_Backspace);
    QCOMPARE(help.Memo1->toPlainText(), romanizedKeymapHelpText());
}

void TestAidsWindows::helpWindowCentredOnFirstShow()
{
    MainWindowFixture app;
    app.form.move(100, 120);
    app.form.resize(700, 600);
    app.form.show();
    Thelpform &help = app.helpForm();
    app.form.keymap1Click();
    const QPoint offset = help.frameGeometry().center() - app.form.frameGeometry().center();
    QVERIFY2(offset.manhattanLength() <= 2,
             qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
    // Moved by the user and shown again: it stays where it was put.
    help.hide();
    help.move(5, 6);
    app.form.keymap1Click();
    QCOMPARE(help.pos(), QPoint(5, 6));
}

void TestAidsWindows::helpTextSelectableAndCopyable()
{
    MainWindowFixture app;
    Thelpform &help = app.helpForm();
    help.show();
    QVERIFY(help.Memo1->textInteractionFlags().testFlag(Qt::TextSelectableByMouse));
    QVERIFY(help.Memo1->textInteractionFlags().testFlag(Qt::TextSelectableByKeyboard));
    help.Memo1->selectAll();
    QCOMPARE(help.Memo1->textCursor().selectedText().size(), 465);
    help.Memo1->copy();
    QCOMPARE(QGuiApplication::clipboard()->text(), romanizedKeymapHelpText());
}

void TestAidsWindows::screenKeyboardWindow()
{
    MainWindowFixture app;
    app.form.show();
    Thangulskbform &keyboard = app.screenKeyboard();
    QCOMPARE(app.form.hangulskbform(), &keyboard);
    QCOMPARE(keyboard.windowTitle(), QStringLiteral("Hangul Screen keyboard(key click)"));
    QCOMPARE(keyboard.Image1->size(), QSize(ScreenKeyboardWidth, ScreenKeyboardHeight));
    QVERIFY(keyboard.isHidden());
    app.form.action("Screenkeyboard1")->trigger();
    QVERIFY(keyboard.isVisible());
    QVERIFY(!keyboard.isModal());
    keyboard.close();
    app.form.action("Screenkeyboard2")->trigger();
    QVERIFY(keyboard.isVisible());
    QCOMPARE(app.form.findChildren<Thangulskbform *>().size(), 1);
    // The picture lies within the window.
    QVERIFY(keyboard.rect().contains(keyboard.Image1->geometry()));
}

QTEST_MAIN(TestAidsWindows)
#include "tst_aids_windows.moc"
