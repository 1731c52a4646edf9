// Typing into the find dialog's edit line with the built-in input method, its own
// composer flags, and the dialog's mode items with their label.
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "find/search_form.h"
#include "ime/composer_cases.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"
#include "support/typing.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

namespace {

struct Fixture : MainWindowFixture
{
    Tsearchform &dialog = searchForm();
};

// Cases an edit line can take: one line, no Enter (which asks for the search there).
void addLineCases(const KeyCase *begin, const KeyCase *end)
{
    for (const KeyCase *c = begin; c != end; ++c) {
        if (QByteArray(c->keys).contains('\r') || QStringView(c->before).contains(u'\n') ||
            QStringView(c->expected).contains(u'\n'))
            continue;
        QTest::newRow(
            QByteArray(c->mode == ImeDirect ? "direct: " : "roman: ").append(c->name).constData())
            << c;
    }
}

} // namespace

Q_DECLARE_METATYPE(const KeyCase *)

class TestSearchInput : public QObject
{
    Q_OBJECT
private slots:
    void typedIntoEditLine_data();
    void typedIntoEditLine();
    void editLineHasItsOwnComposer();
    void selectionReplacedOnlyWithoutInputMethod_data();
    void selectionReplacedOnlyWithoutInputMethod();
    void modeItems_data();
    void modeItems();
    void mainWindowModeChangeLeavesLabel();
    void searchTypedInKorean_data();
    void searchTypedInKorean();
};

void TestSearchInput::typedIntoEditLine_data()
{
    QTest::addColumn<const KeyCase *>("c");
    addLineCases(std::begin(DirectCases), std::end(DirectCases));
    addLineCases(std::begin(RomanizedCases), std::end(RomanizedCases));
}

void TestSearchInput::typedIntoEditLine()
{
    QFETCH(const KeyCase *, c);
    Fixture f;
    f.form.setImeMode(c->mode);
    f.dialog.show();
    const QString before = QString::fromUtf16(c->before);
    f.dialog.Edit1->setText(before);
    f.dialog.Edit1->setCursorPosition(int(before.size()));
    typeInto(f.dialog.Edit1, c->keys);
    QCOMPARE(f.dialog.Edit1->text(), QString::fromUtf16(c->expected));
    QVERIFY(f.dialog.isVisible()); // no key but a line feed asks for the search
    QVERIFY(!documentModified);
}

void TestSearchInput::editLineHasItsOwnComposer()
{
    Fixture f;
    f.form.setImeMode(ImeRomanized);
    f.form.show();
    f.dialog.show();
    typeInto(f.form.Memo1, "ha");
    typeInto(f.dialog.Edit1, "n");
    QCOMPARE(f.dialog.Edit1->text(), u"\u3134"_qs); // ㄴ standing alone
    QCOMPARE(f.form.memo().text(), u"\uD558"_qs);   // 하 untouched
    typeInto(f.form.Memo1, "n");
    QCOMPARE(f.form.memo().text(), u"\uD55C"_qs); // 한
    // A decide flag set in one control does not leak into the other.
    typeInto(f.dialog.Edit1, " ");
    QCOMPARE(f.form.memo().text(), u"\uD55C"_qs);
    QCOMPARE(f.form.memoComposer.RomanDecide, 0);
}

void TestSearchInput::selectionReplacedOnlyWithoutInputMethod_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("replaced");
    QTest::newRow("none") << int(ImeNone) << true;
    QTest::newRow("romanized") << int(ImeRomanized) << false;
    QTest::newRow("direct") << int(ImeDirect) << false;
}

void TestSearchInput::selectionReplacedOnlyWithoutInputMethod()
{
    QFETCH(int, mode);
    QFETCH(bool, replaced);
    Fixture f;
    f.form.setImeMode(mode);
    f.dialog.show();
    f.dialog.Edit1->setText(QStringLiteral("xyz"));
    f.dialog.Edit1->setSelection(0, 2);
    typeInto(f.dialog.Edit1, "a");
    QCOMPARE(f.dialog.Edit1->text().contains(QStringLiteral("xy")), !replaced);
}

void TestSearchInput::modeItems_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<QString>("label");
    QTest::newRow("bar roman") << "KoreaRomaIME1" << 1 << "R"
                               << "KoreaRomaIME";
    QTest::newRow("bar direct") << "KoreaDirectIME1" << 2 << "H"
                                << "KoreaDirectIME";
    QTest::newRow("bar none") << "nonIME1" << 0 << ""
                              << "nonIME";
    QTest::newRow("popup roman") << "MenuItem1" << 1 << "R"
                                 << "KoreaRomaIME";
    QTest::newRow("popup direct") << "MenuItem2" << 2 << "H"
                                  << "KoreaDirectIME";
    QTest::newRow("popup none") << "MenuItem3" << 0 << ""
                                << "nonIME";
}

void TestSearchInput::modeItems()
{
    QFETCH(QString, item);
    QFETCH(int, mode);
    QFETCH(QString, panel);
    QFETCH(QString, label);
    Fixture f;
    f.form.setImeMode(mode == ImeDirect ? ImeNone : ImeDirect);
    f.form.memoComposer.RomanDecide = 1;
    f.dialog.edit1Composer.DirectDecide = 1;
    auto *action = f.dialog.action(item);
    QVERIFY(action && action->isEnabled());
    QVERIFY(!action->isCheckable()); // the mode items show no check mark
    action->trigger();
    QCOMPARE(ImeMode, mode);
    QCOMPARE(f.form.panelText(0), panel);
    QCOMPARE(f.dialog.Label2->text(), label);
    // A mode change leaves the composer flags alone.
    QCOMPARE(f.form.memoComposer.RomanDecide, 1);
    QCOMPARE(f.dialog.edit1Composer.DirectDecide, 1);
}

void TestSearchInput::mainWindowModeChangeLeavesLabel()
{
    Fixture f;
    f.form.show();
    f.dialog.show();
    f.dialog.action("KoreaDirectIME1")->trigger();
    QCOMPARE(f.form.panelText(0), QStringLiteral("H"));
    QCOMPARE(f.dialog.Label2->text(), QStringLiteral("KoreaDirectIME"));
    f.form.action("nonIME1")->trigger();
    QCOMPARE(f.form.panelText(0), QString());
    QCOMPARE(f.dialog.Label2->text(), QStringLiteral("KoreaDirectIME"));
    typeInto(f.dialog.Edit1, "rk");
    typeInto(f.form.Memo1, "rk");
    QCOMPARE(f.dialog.Edit1->text(), QStringLiteral("rk"));
    QCOMPARE(f.form.memo().text(), QStringLiteral("rk"));
}

void TestSearchInput::searchTypedInKorean_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("keys");
    QTest::newRow("romanized") << int(ImeRomanized) << QByteArray("hankUl");
    QTest::newRow("direct") << int(ImeDirect) << QByteArray("gksrmf");
}

void TestSearchInput::searchTypedInKorean()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, keys);
    Fixture f;
    f.form.setImeMode(mode);
    f.form.memo().setText(u"\uD55C\uAD6D \uD55C\uAE00"_qs); // 한국 한글
    QTimer::singleShot(0, &f.form, [&] {
        typeInto(f.dialog.Edit1, keys.constData());
        QTest::keyClick(f.dialog.Edit1, Qt::Key_Return);
    });
    f.form.find1Click();
    QCOMPARE(f.dialog.Edit1->text(), u"\uD55C\uAE00"_qs);
    QCOMPARE(f.form.memo().selStart(), 3);
}

QTEST_MAIN(TestSearchInput)
#include "tst_search_input.moc"
