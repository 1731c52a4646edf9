// The input method in the real editor: the key tables typed into Memo1 with key
// events, the mode commands and their panel, keys with Ctrl left to the editor,
// and the selection rules of each mode.
#include "app/main_window.h"
#include "composer_cases.h"
#include "editor/memo_view.h"
#include "find/search_form.h"
#include "ime/hangul_layout.h"
#include "ime/input_options.h"
#include "ime/key_event.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"
#include "support/typing.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

Q_DECLARE_METATYPE(const KeyCase *)

namespace {

void addCases(const KeyCase *begin, const KeyCase *end)
{
    for (const KeyCase *c = begin; c != end; ++c)
        QTest::newRow(
            QByteArray(c->mode == ImeDirect ? "direct: " : "roman: ").append(c->name).constData())
            << c;
}

struct Editor : MainWindowFixture
{
    Editor() { form.show(); }
    void start(int mode, const QString &text)
    {
        form.setImeMode(mode);
        form.memo().setText(text);
        form.memo().setSelStart(text.size());
        form.document().setSaved(QString());
    }
    QString text() { return form.memo().text(); }
    // The direct mode's layout chosen in the "IME" menu, as the user chooses it.
    void chooseLayout(const QByteArray &layout)
    {
        for (QAction *item : form.findChild<QMenu *>(u"directlayout1"_qs)->actions()) {
            if (item->data().toByteArray() == layout)
                item->trigger();
        }
        waitForInputOptionsWritten();
    }
};

} // namespace

class TestImeWidgets : public QObject
{
    Q_OBJECT
private slots:
    void typedInEditor_data();
    void typedInEditor();
    void keyCodes_data();
    void keyCodes();
    void modeCommands_data();
    void modeCommands();
    void modeChangeKeepsComposerState();
    void noImeTypesAsIs();
    void selectionRules_data();
    void selectionRules();
    void ctrlKeysLeftToEditor_data();
    void ctrlKeysLeftToEditor();
    void wordUndo_data();
    void wordUndo();
    void openSyllableUnderlined();
    void layoutMenu();
    void layoutKeptAcrossStarts();
    void documentModifiedByTypedKeys_data();
    void documentModifiedByTypedKeys();
};

void TestImeWidgets::typedInEditor_data()
{
    QTest::addColumn<const KeyCase *>("keyCase");
    addCases(std::begin(DirectCases), std::end(DirectCases));
    addCases(std::begin(RomanizedCases), std::end(RomanizedCases));
}

void TestImeWidgets::typedInEditor()
{
    QFETCH(const KeyCase *, keyCase);
    Editor e;
    e.start(keyCase->mode, QString::fromUtf16(keyCase->before));
    typeInto(e.form.Memo1, keyCase->keys);
    QCOMPARE(e.text(), QString::fromUtf16(keyCase->expected));
    QCOMPARE(e.form.memo().selStart(), e.form.memo().length());
}

void TestImeWidgets::keyCodes_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    const int none = Qt::NoModifier, shift = Qt::ShiftModifier;
    QTest::newRow("letter") << int(Qt::Key_K) << none << u"k"_qs << int('k');
    QTest::newRow("shifted letter") << int(Qt::Key_K) << shift << u"K"_qs << int('K');
    QTest::newRow("shifted digit") << int(Qt::Key_Exclam) << shift << u"!"_qs << int('!');
    QTest::newRow("space") << int(Qt::Key_Space) << none << u" "_qs << int(' ');
    QTest::newRow("latin-1") << int(Qt::Key_Eacute) << none << u"é"_qs << 0xE9;
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << none << u"\b"_qs << 8;
    QTest::newRow("return") << int(Qt::Key_Return) << none << u"\r"_qs << 13;
    QTest::newRow("keypad enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << u"\r"_qs
                                  << 13;
    QTest::newRow("tab") << int(Qt::Key_Tab) << none << u"\t"_qs << 9;
    QTest::newRow("ctrl letter") << int(Qt::Key_C) << int(Qt::ControlModifier) << u"c"_qs << 0;
    QTest::newRow("ctrl shift") << int(Qt::Key_Z) << int(Qt::ControlModifier | Qt::ShiftModifier)
                                << u"Z"_qs << 0;
    QTest::newRow("alt letter") << int(Qt::Key_A) << int(Qt::AltModifier) << u"a"_qs << 0;
    QTest::newRow("meta letter") << int(Qt::Key_A) << int(Qt::MetaModifier) << u"a"_qs << 0;
    QTest::newRow("ctrl backspace")
        << int(Qt::Key_Backspace) << int(Qt::ControlModifier) << u"\b"_qs << 0;
    QTest::newRow("hangul text") << int(Qt::Key_unknown) << none << u"가"_qs << 0;
    QTest::newRow("arrow") << int(Qt::Key_Left) << none << QString() << 0;
    QTest::newRow("escape") << int(Qt::Key_Escape) << none << u"\x1b"_qs << 0;
    QTest::newRow("delete") << int(Qt::Key_Delete) << none << u"\x7f"_qs << 0;
    QTest::newRow("two units") << int(Qt::Key_unknown) << none << u"ab"_qs << 0;
}

void TestImeWidgets::keyCodes()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(int, code);
    const QKeyEvent event(QEvent::KeyPress, key, Qt::KeyboardModifiers(modifiers), text);
    QCOMPARE(composerKeyFromEvent(&event), code);
}

void TestImeWidgets::modeCommands_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("panel");
    QTest::newRow("KoreaRomaIME1") << u"KoreaRomaIME1"_qs << 1 << u"R"_qs;
    QTest::newRow("KoreaDirectIME1") << u"KoreaDirectIME1"_qs << 2 << u"H"_qs;
    QTest::newRow("nonIME1") << u"nonIME1"_qs << 0 << QString();
    QTest::newRow("KoreanRomanizedinput1") << u"KoreanRomanizedinput1"_qs << 1 << u"R"_qs;
    QTest::newRow("KoreanDirectinput1") << u"KoreanDirectinput1"_qs << 2 << u"H"_qs;
    QTest::newRow("dontuseIME1") << u"dontuseIME1"_qs << 0 << QString();
    QTest::newRow("MenuItem7") << u"MenuItem7"_qs << 1 << u"R"_qs;
    QTest::newRow("MenuItem8") << u"MenuItem8"_qs << 2 << u"H"_qs;
    QTest::newRow("MenuItem9") << u"MenuItem9"_qs << 0 << QString();
}

void TestImeWidgets::modeCommands()
{
    QFETCH(QString, action);
    QFETCH(int, mode);
    QFETCH(QString, panel);
    for (int from : {ImeNone, ImeRomanized, ImeDirect}) {
        Editor e;
        e.form.setImeMode(from);
        auto *item = e.form.action(action);
        QVERIFY(item);
        QVERIFY(item->isEnabled());
        QVERIFY(!item->isCheckable());
        item->trigger();
        QCOMPARE(ImeMode, mode);
        QCOMPARE(e.form.panelText(0), panel);
    }
}

void TestImeWidgets::modeChangeKeepsComposerState()
{
    Editor e;
    e.start(ImeRomanized, QString());
    typeInto(e.form.Memo1, "ka w");
    e.form.action("KoreaDirectIME1")->trigger();
    QCOMPARE(e.form.memoComposer.PrefixW, 1);
    QCOMPARE(e.form.memoComposer.RomanDecide, 1);
    e.form.action("KoreaRomaIME1")->trigger();
    typeInto(e.form.Memo1, "a");
    QCOMPARE(e.text(), u"가와"_qs);
}

void TestImeWidgets::noImeTypesAsIs()
{
    Editor e;
    e.start(ImeNone, u"가"_qs);
    typeInto(e.form.Memo1, "rk  hankUl\b");
    QCOMPARE(e.text(), u"가rk  hankU"_qs);
    QVERIFY(documentModified);
}

void TestImeWidgets::selectionRules_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("expected");
    QTest::newRow("none replaces") << int(ImeNone) << QByteArray("x") << u"가x다"_qs;
    QTest::newRow("none bs deletes selection") << int(ImeNone) << QByteArray("\b") << u"가다"_qs;
    QTest::newRow("direct at end") << int(ImeDirect) << QByteArray("s") << u"가난다"_qs;
    QTest::newRow("direct digit at end") << int(ImeDirect) << QByteArray("1") << u"가나1다"_qs;
    QTest::newRow("direct bs") << int(ImeDirect) << QByteArray("\b") << u"가ㄴ다"_qs;
    QTest::newRow("roman at start") << int(ImeRomanized) << QByteArray("n") << u"간나다"_qs;
    QTest::newRow("roman digit at start") << int(ImeRomanized) << QByteArray("1") << u"가1나다"_qs;
    QTest::newRow("roman Enter at start")
        << int(ImeRomanized) << QByteArray("\r") << u"가\n나다"_qs;
}

void TestImeWidgets::selectionRules()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, keys);
    QFETCH(QString, expected);
    Editor e;
    e.start(mode, u"가나다"_qs);
    e.form.memo().setSelStart(1);
    e.form.memo().setSelLength(1);
    typeInto(e.form.Memo1, keys.constData());
    QCOMPARE(e.text(), expected);
}

void TestImeWidgets::ctrlKeysLeftToEditor_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("none") << int(ImeNone);
    QTest::newRow("romanized") << int(ImeRomanized);
    QTest::newRow("direct") << int(ImeDirect);
}

void TestImeWidgets::ctrlKeysLeftToEditor()
{
    QFETCH(int, mode);
    Editor e;
    e.start(mode, u"가나다"_qs);
    QTest::keyClick(e.form.Memo1, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(e.form.memo().selStart(), 0);
    QCOMPARE(e.form.memo().selLength(), 3);
    QCOMPARE(e.text(), u"가나다"_qs);
    QGuiApplication::clipboard()->clear();
    QTest::keyClick(e.form.Memo1, Qt::Key_C, Qt::ControlModifier);
    const bool copied = QGuiApplication::clipboard()->text() == u"가나다"_qs ||
                        e.fake.clipboardWrites.contains(u"가나다"_qs);
    QVERIFY(copied);
    QCOMPARE(e.text(), u"가나다"_qs);
    QCOMPARE(e.form.memo().selLength(), 3);
    QVERIFY(!documentModified);
}

void TestImeWidgets::wordUndo_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("layout");
    QTest::addColumn<QByteArray>("keys"); // '<' and '>' move the caret
    QTest::addColumn<QStringList>("undone");
    QTest::newRow("romanized word")
        << int(ImeRomanized) << QByteArray() << QByteArray("hankUl") << QStringList{QString()};
    QTest::newRow("decide space ends a word")
        << int(ImeDirect) << QByteArray() << QByteArray("rksrmf rk")
        << QStringList{u"간글"_qs, QString()};
    QTest::newRow("typed space is a step") << int(ImeDirect) << QByteArray() << QByteArray("rk  rk")
                                           << QStringList{u"가 "_qs, u"가"_qs, QString()};
    QTest::newRow("caret move ends a word") << int(ImeDirect) << QByteArray() << QByteArray("rk<>s")
                                            << QStringList{u"가"_qs, QString()};
    QTest::newRow("other key ends a word") << int(ImeDirect) << QByteArray() << QByteArray("rk1rk")
                                           << QStringList{u"가1"_qs, u"가"_qs, QString()};
    QTest::newRow("Backspace inside the word")
        << int(ImeDirect) << QByteArray() << QByteArray("rksd") << QStringList{QString()};
    QTest::newRow("standard layout")
        << int(ImeDirect) << QByteArray("2") << QByteArray("dkssud gktpdy")
        << QStringList{u"안녕 "_qs, u"안녕"_qs, QString()};
}

// Ctrl+Z takes back a typed word at a time.
void TestImeWidgets::wordUndo()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, layout);
    QFETCH(QByteArray, keys);
    QFETCH(QStringList, undone);
    if (!layouts::isAvailable(layout))
        QSKIP("keyboard file missing");
    Editor e;
    e.start(mode, QString());
    e.chooseLayout(layout);
    for (char k : keys) {
        if (k == '<' || k == '>')
            QTest::keyClick(e.form.Memo1, k == '<' ? Qt::Key_Left : Qt::Key_Right);
        else
            typeInto(e.form.Memo1, QByteArray(1, k).constData());
    }
    for (const QString &expected : undone) {
        QTest::keyClick(e.form.Memo1, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e.text(), expected);
    }
}

// The syllable the next key may change is underlined until it is decided.
void TestImeWidgets::openSyllableUnderlined()
{
    Editor e;
    e.start(ImeDirect, u"x"_qs);
    const auto open = [&] {
        return qMakePair(e.form.Memo1->compositionStart(), e.form.Memo1->compositionLength());
    };
    typeInto(e.form.Memo1, "rk");
    QCOMPARE(open(), qMakePair(qsizetype(1), qsizetype(1)));
    const QImage underlined = e.form.Memo1->viewport()->grab().toImage();
    typeInto(e.form.Memo1, " "); // taken as decide: same text, same caret
    QCOMPARE(open().second, 0);
    QVERIFY(e.form.Memo1->viewport()->grab().toImage() != underlined);
    typeInto(e.form.Memo1, "s");
    QCOMPARE(open(), qMakePair(qsizetype(2), qsizetype(1)));
    QTest::keyClick(e.form.Memo1, Qt::Key_Left);
    QCOMPARE(open().second, 0);
    e.start(ImeRomanized, QString());
    typeInto(e.form.Memo1, "ha");
    QCOMPARE(open(), qMakePair(qsizetype(0), qsizetype(1)));
    e.form.action("KoreaDirectIME1")->trigger(); // a mode change decides it
    QCOMPARE(open().second, 0);
    if (!layouts::isAvailable("39"))
        return;
    e.chooseLayout("39");
    e.start(ImeDirect, QString());
    typeInto(e.form.Memo1, "mfsk");
    QCOMPARE(e.text(), u"한ㄱ"_qs);
    QCOMPARE(open(), qMakePair(qsizetype(1), qsizetype(1)));
    typeInto(e.form.Memo1, " "); // decides, and is typed
    QCOMPARE(e.text(), u"한ㄱ "_qs);
    QCOMPARE(open().second, 0);
}

// Choosing a layout from the menu: Memo1 and Edit1 type with it, the screen
// keyboard stays two-set, the choice is written to "tavriledit.ini".
void TestImeWidgets::layoutMenu()
{
    if (!layouts::isAvailable("39"))
        QSKIP("keyboard file missing");
    Editor e;
    auto *submenu = e.form.findChild<QMenu *>(u"directlayout1"_qs);
    QVERIFY(submenu);
    QCOMPARE(submenu->title(), u"direct layout"_qs);
    QStringList captions;
    for (QAction *item : submenu->actions()) {
        captions << item->text();
        QVERIFY(item->isCheckable());
    }
    QCOMPARE(captions.first(), u"Dubeolsik"_qs);
    QVERIFY(captions.contains(u"Sebeolsik 390"_qs));
    QVERIFY(submenu->actions().first()->isChecked());
    QVERIFY(!e.form.findChild<QAction *>(u"autoreorder1"_qs)->isChecked());
    submenu->actions().at(captions.indexOf(u"Sebeolsik 390"_qs))->trigger();
    QVERIFY(!submenu->actions().first()->isChecked());
    waitForInputOptionsWritten();
    QCOMPARE(readInputOptions(e.dir.path()).directLayout, QByteArray("39"));
    e.start(ImeDirect, QString());
    typeInto(e.form.Memo1, "mfskgw");
    QCOMPARE(e.text(), u"한글"_qs);
    Tsearchform &dialog = e.searchForm();
    dialog.show();
    dialog.Edit1->setText(QString());
    typeInto(dialog.Edit1, "ufwx");
    QCOMPARE(dialog.Edit1->text(), u"닭"_qs);
    e.form.findChild<QAction *>(u"autoreorder1"_qs)->trigger();
    waitForInputOptionsWritten();
    QCOMPARE(readInputOptions(e.dir.path()).autoReorder, true);
}

// A new start keeps the stored layout; "setteiedit.dat" is as it always was.
void TestImeWidgets::layoutKeptAcrossStarts()
{
    if (!layouts::isAvailable("39"))
        QSKIP("keyboard file missing");
    MainWindowFixture app([](TestProgramDir &dir, FakePlatform &, QStringList &) {
        QVERIFY(writeInputOptions(dir.path(), {"39", false, true}));
    });
    auto *submenu = app.form.findChild<QMenu *>(u"directlayout1"_qs);
    for (QAction *item : submenu->actions())
        QCOMPARE(item->isChecked(), item->text() == u"Sebeolsik 390"_qs);
    app.form.show();
    app.form.setImeMode(ImeDirect);
    typeInto(app.form.Memo1, "kfkf");
    QCOMPARE(app.form.memo().text(), u"가가"_qs);
    app.fake.confirmAnswer = false; // "Save file?": No
    app.form.close();
    const QList<QByteArray> lines = app.dir.read(u"setteiedit.dat"_qs).split('\n');
    QCOMPARE(lines.size(), 7); // six CR LF lines, nothing added
}

void TestImeWidgets::documentModifiedByTypedKeys_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<bool>("modified");
    for (int mode : {ImeNone, ImeRomanized, ImeDirect}) {
        const QByteArray m = QByteArray::number(mode);
        QTest::newRow(m + " letter") << mode << QByteArray("k") << true;
        QTest::newRow(m + " decide space") << mode << QByteArray(" ") << true;
        QTest::newRow(m + " digit") << mode << QByteArray("1") << true;
        QTest::newRow(m + " backspace") << mode << QByteArray("\b") << true;
        QTest::newRow(m + " nothing typed") << mode << QByteArray() << false;
    }
}

void TestImeWidgets::documentModifiedByTypedKeys()
{
    QFETCH(int, mode);
    QFETCH(QByteArray, keys);
    QFETCH(bool, modified);
    Editor e;
    e.start(mode, u"가"_qs);
    QTest::keyClick(e.form.Memo1, Qt::Key_Left);
    QTest::keyClick(e.form.Memo1, Qt::Key_Right);
    typeInto(e.form.Memo1, keys.constData());
    QCOMPARE(documentModified, modified);
}

QTEST_MAIN(TestImeWidgets)
#include "tst_ime_widgets.moc"
