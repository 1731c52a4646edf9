// The screen keyboard at work: clicks on the picture compose into the editor, or
// into the find dialog's edit line while it is shown, through the direct scheme.
#include "aids/accent_form.h"
#include "app/main_window.h"
#include "find/search_form.h"
#include "ime/hangul_skb_form.h"
#include "ime/ime_mode.h"
#include "ime/screen_keyboard_layout.h"
#include "settings/app_state.h"
#include "support/clicks.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"

#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>

namespace {

// Points inside the keys, in picture coordinates.
const QPoint KeyR(200, 70), KeyK(375, 98), KeyS(130, 98), KeyF(212, 98), KeyA(90, 98);
const QPoint KeyPUpper(447, 45), KeyPLower(447, 70), BsKey(590, 18), KeyEnter(580, 60),
    SpaceBar(500, 140);

// The main window with the find dialog and the keyboard, as the program has them.
struct Program : MainWindowFixture
{
    Tsearchform *find = &searchForm();
    Thangulskbform &keyboard = screenKeyboard();

    Program()
    {
        form.show();
        keyboard.show();
    }
    void click(QPoint p) { clickAt(keyboard.Image1, p); }
    TextControl &memo() { return form.memo(); }
    void setMemo(const QString &text)
    {
        memo().setText(text);
        memo().setSelStart(text.size());
        form.document().setSaved(QString());
    }
};

} // namespace

class TestScreenKeyboard : public QObject
{
    Q_OBJECT
private slots:
    void shiftedAndPlainHalves_data();
    void shiftedAndPlainHalves();
    void yuiWholeHeight_data();
    void yuiWholeHeight();
    void backspaceDecomposes();
    void spaceBarDecides();
    void enterTypesNothingInEditor();
    void silentPlacesDoNothing();
    void selectionKeptAndCollapsed();
    void everyInputMode();
    void findDialogTarget();
    void enterStartsTheSearch();
    void padsFollowTheFindDialog();
    void capsAgreeWithDirectKeys();
};

void TestScreenKeyboard::shiftedAndPlainHalves_data()
{
    QTest::addColumn<QPoint>("pos");
    QTest::addColumn<QString>("expected");
    QTest::newRow("P upper half") << KeyPUpper << QStringLiteral("계");
    QTest::newRow("P lower half") << KeyPLower << QStringLiteral("게");
    QTest::newRow("P upper edge") << QPoint(429, 58) << QStringLiteral("계");
    QTest::newRow("P lower edge") << QPoint(465, 59) << QStringLiteral("게");
    QTest::newRow("O upper half") << QPoint(400, 41) << QStringLiteral("걔");
    QTest::newRow("R upper half") << QPoint(200, 45) << QStringLiteral("ㄱㄲ");
    QTest::newRow("R lower half") << KeyR << QStringLiteral("ㄱㄱ");
}

void TestScreenKeyboard::shiftedAndPlainHalves()
{
    QFETCH(QPoint, pos);
    QFETCH(QString, expected);
    Program p;
    p.setMemo(QStringLiteral("ㄱ"));
    p.click(pos);
    QCOMPARE(p.memo().text(), expected);
    QVERIFY(documentModified);
}

void TestScreenKeyboard::yuiWholeHeight_data()
{
    QTest::addColumn<int>("x");
    QTest::addColumn<QString>("vowel");
    QTest::newRow("y") << 284 << QStringLiteral("교");
    QTest::newRow("u") << 325 << QStringLiteral("겨");
    QTest::newRow("i") << 366 << QStringLiteral("갸");
}

void TestScreenKeyboard::yuiWholeHeight()
{
    QFETCH(int, x);
    QFETCH(QString, vowel);
    for (int y : {40, 50, 58, 59, 76}) {
        Program p;
        p.setMemo(QStringLiteral("ㄱ"));
        p.click(QPoint(x, y));
        QCOMPARE(p.memo().text(), vowel);
    }
}

void TestScreenKeyboard::backspaceDecomposes()
{
    Program p;
    p.setMemo(QStringLiteral("x닭"));
    p.click(BsKey);
    QCOMPARE(p.memo().text(), QStringLiteral("x달"));
    p.click(BsKey);
    QCOMPARE(p.memo().text(), QStringLiteral("x다"));
    p.click(BsKey);
    QCOMPARE(p.memo().text(), QStringLiteral("xㄷ"));
    // No key event follows a click: the composer deletes the jamo and the letter itself.
    p.click(BsKey);
    QCOMPARE(p.memo().text(), QStringLiteral("x"));
    p.click(BsKey);
    QCOMPARE(p.memo().text(), QString());
    p.click(BsKey);
    QCOMPARE(p.memo().text(), QString());
}

void TestScreenKeyboard::spaceBarDecides()
{
    Program p;
    p.setMemo(QString());
    p.click(KeyR);
    p.click(KeyK);
    QCOMPARE(p.memo().text(), QStringLiteral("가"));
    p.click(SpaceBar);
    QCOMPARE(p.form.memoComposer.DirectDecide, 1);
    QCOMPARE(p.memo().text(), QStringLiteral("가"));
    p.click(SpaceBar);
    QCOMPARE(p.form.memoComposer.DirectDecide, 0);
    QCOMPARE(p.memo().text(), QStringLiteral("가")); // the returned space is not typed
    // Decided: the next consonant starts anew instead of becoming a final.
    p.click(SpaceBar);
    p.click(KeyS);
    p.click(KeyK);
    QCOMPARE(p.memo().text(), QStringLiteral("가나"));
}

void TestScreenKeyboard::enterTypesNothingInEditor()
{
    Program p;
    p.setMemo(QStringLiteral("가"));
    p.click(KeyEnter);
    p.click(QPoint(552, 41));
    p.click(QPoint(608, 116));
    QCOMPARE(p.memo().text(), QStringLiteral("가"));
    QCOMPARE(p.memo().selStart(), qsizetype(1));
}

void TestScreenKeyboard::silentPlacesDoNothing()
{
    Program p;
    p.setMemo(QStringLiteral("가"));
    const ComposerState before = p.form.memoComposer;
    for (const KeyCap &cap : screenKeyboardCaps()) {
        if (cap.kind != KeyCapKind::Digit && cap.kind != KeyCapKind::Blank)
            continue;
        p.click(QPoint((cap.left + cap.right) / 2, (cap.top + cap.bottom) / 2));
        p.click(QPoint(cap.left, cap.top));
        p.click(QPoint(cap.right, cap.bottom));
    }
    // Between keys, left of x = 40 and below the last row.
    for (QPoint gap : {QPoint(100, 70), QPoint(110, 98), QPoint(300, 78), QPoint(39, 98),
                       QPoint(0, 0), QPoint(500, 118), QPoint(300, 160), QPoint(615, 167)})
        p.click(gap);
    QCOMPARE(p.memo().text(), QStringLiteral("가"));
    QCOMPARE(p.memo().selStart(), qsizetype(1));
    QCOMPARE(p.form.memoComposer.DirectDecide, before.DirectDecide);
    QVERIFY(!documentModified);
}

void TestScreenKeyboard::selectionKeptAndCollapsed()
{
    Program p;
    p.setMemo(QStringLiteral("abc"));
    p.memo().setSelStart(0);
    p.memo().setSelLength(2);
    p.click(KeyK); // the direct scheme types at the selection's end
    QCOMPARE(p.memo().text(), QStringLiteral("ab아c"));
    QCOMPARE(p.memo().selStart(), qsizetype(3));
    QCOMPARE(p.memo().selLength(), qsizetype(0));
}

void TestScreenKeyboard::everyInputMode()
{
    for (int mode : {ImeNone, ImeRomanized, ImeDirect}) {
        Program p;
        ImeModeCommand::instance().choose(mode);
        p.setMemo(QString());
        p.click(KeyA);
        p.click(KeyK);
        p.click(KeyS);
        QCOMPARE(p.memo().text(), QStringLiteral("만"));
    }
}

void TestScreenKeyboard::findDialogTarget()
{
    Program p;
    p.setMemo(QStringLiteral("memo"));
    p.find->show();
    p.click(KeyR);
    p.click(KeyK);
    p.click(KeyF);
    QCOMPARE(p.find->Edit1->text(), QStringLiteral("갈"));
    QCOMPARE(p.memo().text(), QStringLiteral("memo"));
    QVERIFY(!documentModified);
    // The edit line keeps its own decide flag.
    p.click(SpaceBar);
    QCOMPARE(p.find->edit1Composer.DirectDecide, 1);
    QCOMPARE(p.form.memoComposer.DirectDecide, 0);
    p.click(BsKey);
    QCOMPARE(p.find->Edit1->text(), QStringLiteral("가"));
    // Closed again: the editor is the target once more.
    p.find->hide();
    p.click(KeyK);
    QCOMPARE(p.memo().text(), QStringLiteral("memo아"));
}

void TestScreenKeyboard::enterStartsTheSearch()
{
    Program p;
    p.setMemo(QStringLiteral("abc 가나 def 가"));
    p.memo().setSelStart(0);
    bool clicked = false;
    QTimer::singleShot(0, &p.form, [&] {
        QVERIFY(p.find->isVisible());
        p.find->Edit1->clear();
        p.click(KeyR);
        p.click(KeyK);
        p.click(KeyEnter);
        clicked = true;
    });
    p.form.find1Click(); // returns once the dialog has been left by the find request
    QVERIFY(clicked);
    QVERIFY(findRequested);
    QVERIFY(!p.find->isVisible());
    QCOMPARE(p.find->Edit1->text(), QStringLiteral("가"));
    QCOMPARE(p.memo().selStart(), qsizetype(4));
}

void TestScreenKeyboard::padsFollowTheFindDialog()
{
    Program p;
    p.setMemo(QStringLiteral("doc"));
    p.form.AccentPAD1Click();
    p.find->show();
    p.find->Edit1->setText(QStringLiteral("ab"));
    p.find->Edit1->setSelection(0, 1);
    QTest::mouseClick(p.form.accentform()->findChild<QPushButton *>(QStringLiteral("ButtonSs")),
                      Qt::LeftButton);
    QCOMPARE(p.find->Edit1->text(), QStringLiteral("ßb"));
    QCOMPARE(p.find->Edit1->cursorPosition(), 1);
    QCOMPARE(p.memo().text(), QStringLiteral("doc"));
    QVERIFY(!documentModified);
    p.find->hide();
    QTest::mouseClick(p.form.accentform()->findChild<QPushButton *>(QStringLiteral("ButtonSs")),
                      Qt::LeftButton);
    QCOMPARE(p.memo().text(), QStringLiteral("docß"));
    QVERIFY(documentModified);
    p.form.destroyAccentPad();
}

// What a cap shows is what its click composes: a consonant on empty text gives
// its jamo, a vowel the silent initial with that vowel.
void TestScreenKeyboard::capsAgreeWithDirectKeys()
{
    for (const KeyCap &cap : screenKeyboardCaps()) {
        if (cap.kind != KeyCapKind::Letter)
            continue;
        const QPoint upper((cap.left + cap.right) / 2, cap.top + 2);
        const QPoint lower((cap.left + cap.right) / 2, cap.bottom - 2);
        for (const auto &[pos, shown] :
             {std::pair{lower, cap.plain}, std::pair{upper, cap.shifted}}) {
            if (!shown)
                continue;
            Program p;
            p.setMemo(QString());
            p.click(pos);
            const QString typed = p.memo().text();
            QCOMPARE(typed.size(), 1);
            const char16_t c = typed.at(0).unicode();
            const char16_t jamo = c >= 0xAC00 ? char16_t(0x314F + (c - 0xC544) / 28) : c;
            QCOMPARE(int(jamo), int(shown));
        }
    }
}

QTEST_MAIN(TestScreenKeyboard)
#include "tst_screen_keyboard.moc"
