// Hangul to Hanja: the dictionary file, the lookup before the caret or of a
// selection, the replacement, the candidate window's keys, and the command in the
// editor and in the find dialog's edit line. A small dictionary written here
// stands in for the installed one.
#include "app/main_window.h"
#include "convert/hanja_dictionary.h"
#include "convert/hanja_lookup.h"
#include "convert/hanja_popup.h"
#include "convert/hanja_sources.h"
#include "document/memory_text_control.h"
#include "editor/memo_view.h"
#include "find/search_form.h"
#include "ime/input_options.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"

#include <QAction>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

namespace {

// Not in reading order, with a repeated Hanja, bad lines and CR LF ends.
const char Dictionary[] = "# comment: a:b:c\n"
                          "한:韓:나라 이름 한\n"
                          "국:國:나라 국\r\n"
                          "한:漢:한수 한\n"
                          "한:韓:again\n"
                          "한국:韓國:대한민국\n"
                          "대한민국:大韓民國:\n"
                          "한국:寒菊:\n"
                          "대한:大韓:\n"
                          "\n"
                          "no colons\n"
                          ":空:\n"
                          "무::\n"
                          "시:時:때 시: 시각\n"
                          "대학교:大學校:\n"
                          "학교:學校:\n"
                          "교:校:학교 교\n"
                          "가:家:\n가:加:\n가:可:\n가:價:\n가:假:\n가:街:\n"
                          "가:歌:\n가:佳:\n가:架:\n가:暇:\n가:嘉:\n가:稼:\n";

QString candidateList(const HanjaLookup &lookup)
{
    QStringList items;
    for (const HanjaCandidate &c : lookup.candidates)
        items << QString::number(c.readingLength) + c.hanja;
    return items.join(u' ');
}

// QTest has no text for the Hanja key: the key events are made here.
void pressHanjaKey(QWidget *widget)
{
    QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_Hangul_Hanja, QString(), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_Hangul_Hanja, QString(), Qt::NoModifier);
}

struct DictionaryFile
{
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("hanja.txt"));
    explicit DictionaryFile(const QByteArray &bytes = Dictionary)
    {
        QFile f(path);
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
};

struct Editor
{
    DictionaryFile dictionary;
    MainWindowFixture app;
    TForm1 &form = app.form;
    FakePlatform &fake = app.fake;

    explicit Editor(const QString &text, int mode = ImeNone)
    {
        form.hanjaDictionaries().setPath(dictionary.path);
        form.show();
        form.setImeMode(mode);
        form.memo().setText(text);
        form.memo().setSelStart(text.size());
        form.document().setSaved(QString());
    }
    HanjaPopup *popup() const { return form.findChild<HanjaPopup *>(); }
};

} // namespace

class TestHanja : public QObject
{
    Q_OBJECT
private slots:
    void loading();
    void loadFailures_data();
    void loadFailures();
    void lookup_data();
    void lookup();
    void applyChoice();
    void installedDictionary();
    void popupKeys_data();
    void popupKeys();
    void editorChoiceIsOneUndoStep();
    void editLine();
    void menus();
    void listFillsWindow();
    void learning();
    void userDictionary();
    void symbolsAfterJamo();
    void missingDictionary();
};

void TestHanja::loading()
{
    DictionaryFile file;
    HanjaDictionary d;
    QCOMPARE(d.load(file.path), HanjaDictionary::Status::Loaded);
    QCOMPARE(d.entryCount(), 24);
    QCOMPARE(d.longestReading(), 4);
    const QList<HanjaEntry> han = d.lookUp(u"한");
    QCOMPARE(han.size(), 3); // in the file's order, the repeated one too
    QCOMPARE(han.at(0).hanja, u"韓"_qs);
    QCOMPARE(han.at(1).hanja, u"漢"_qs);
    QCOMPARE(han.at(2).meaning, u"again"_qs);
    QCOMPARE(d.lookUp(u"국").value(0).meaning, u"나라 국"_qs); // CR dropped
    QCOMPARE(d.lookUp(u"시").value(0).meaning, u"때 시: 시각"_qs);
    QVERIFY(d.lookUp(u"무").isEmpty());
    QVERIFY(d.lookUp(u"").isEmpty());
}

void TestHanja::loadFailures_data()
{
    QTest::addColumn<bool>("directory");
    QTest::addColumn<HanjaDictionary::Status>("status");
    QTest::newRow("missing") << false << HanjaDictionary::Status::Missing;
    QTest::newRow("a folder") << true << HanjaDictionary::Status::Unreadable;
}

void TestHanja::loadFailures()
{
    QFETCH(bool, directory);
    QFETCH(HanjaDictionary::Status, status);
    QTemporaryDir dir;
    HanjaDictionary d;
    QCOMPARE(d.load(directory ? dir.path() : dir.filePath(u"none.txt"_qs)), status);
    QCOMPARE(d.entryCount(), 0);
    QCOMPARE(d.longestReading(), 0);
}

void TestHanja::lookup_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one syllable, repeat dropped") << u"한"_qs << 1 << 0 << u"1韓 1漢"_qs;
    QTest::newRow("two readings") << u"한국"_qs << 2 << 0 << u"2韓國 2寒菊 1國"_qs;
    QTest::newRow("longest first") << u"대한민국"_qs << 4 << 0 << u"4大韓民國 1國"_qs;
    QTest::newRow("suffixes") << u"대학교"_qs << 3 << 0 << u"3大學校 2學校 1校"_qs;
    QTest::newRow("caret inside a word") << u"대한민국"_qs << 2 << 0 << u"2大韓 1韓 1漢"_qs;
    QTest::newRow("Latin before") << u"x한국"_qs << 3 << 0 << u"2韓國 2寒菊 1國"_qs;
    QTest::newRow("space before") << u"한 국"_qs << 3 << 0 << u"1國"_qs;
    QTest::newRow("jamo before") << u"ㅎ국"_qs << 2 << 0 << u"1國"_qs;
    QTest::newRow("line break before") << u"한\n국"_qs << 3 << 0 << u"1國"_qs;
    QTest::newRow("no reading") << u"어"_qs << 1 << 0 << QString();
    QTest::newRow("Latin at the caret") << u"한국x"_qs << 3 << 0 << QString();
    QTest::newRow("caret at the start") << u"한국"_qs << 0 << 0 << QString();
    QTest::newRow("no further back than the longest reading")
        << u"대한민국한국"_qs << 6 << 0 << u"2韓國 2寒菊 1國"_qs;
    QTest::newRow("selection looked up whole") << u"대한민국"_qs << 0 << 2 << u"2大韓"_qs;
    QTest::newRow("selection without reading") << u"한국어"_qs << 0 << 3 << QString();
    QTest::newRow("selection with other text") << u"x한"_qs << 0 << 2 << QString();
    QTest::newRow("selection longer than any reading") << u"대한민국가"_qs << 0 << 5 << QString();
}

void TestHanja::lookup()
{
    QFETCH(QString, text);
    QFETCH(int, start);
    QFETCH(int, length);
    QFETCH(QString, expected);
    DictionaryFile file;
    HanjaDictionaries dictionaries(file.path);
    MemoryTextControl control;
    control.setText(text);
    control.select(start, length);
    const HanjaLookup result = lookUpHanja(dictionaries.system(), control);
    QCOMPARE(candidateList(result), expected);
    QCOMPARE(result.end, start + length);
    QVERIFY(result.text.size() <= 4);
}

void TestHanja::applyChoice()
{
    DictionaryFile file;
    HanjaDictionaries dictionaries(file.path);
    MemoryTextControl control;
    control.setText(u"나는 한국"_qs);
    control.setSelStart(control.length());
    const HanjaLookup lookup = lookUpHanja(dictionaries.system(), control);
    ComposerState state{0, 0, 1, 0, 0, {}};
    QVERIFY(!applyHanjaCandidate(control, lookup, lookup.candidates.size(), state));
    QVERIFY(applyHanjaCandidate(control, lookup, 1, state)); // 寒菊
    QCOMPARE(control.text(), u"나는 寒菊"_qs);
    QCOMPARE(control.selStart(), control.length());
    QCOMPARE(control.selLength(), 0);
    QCOMPARE(state.DirectDecide, 1);
    QCOMPARE(state.RomanDecide, 1);
    QCOMPARE(state.PrefixY, 0);
    // The text changed under the lookup: the reading is no longer there.
    QVERIFY(!applyHanjaCandidate(control, lookup, 0, state));
    QCOMPARE(control.text(), u"나는 寒菊"_qs);
}

void TestHanja::installedDictionary()
{
    if (!QFile::exists(defaultHanjaDictionaryPath()))
        QSKIP("the Hanja dictionary is not installed");
    HanjaDictionary d;
    QCOMPARE(d.load(defaultHanjaDictionaryPath()), HanjaDictionary::Status::Loaded);
    QVERIFY(d.entryCount() > 250000);
    MemoryTextControl control;
    control.setText(u"대학교"_qs);
    control.setSelStart(3);
    const HanjaLookup lookup = lookUpHanja(d, control);
    QCOMPARE(lookup.candidates.value(0).hanja, u"大學校"_qs);
    control.setText(u"한국"_qs);
    control.setSelStart(2);
    QVERIFY(candidateList(lookUpHanja(d, control)).contains(u"2韓國"_qs));
}

void TestHanja::popupKeys_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("open"); // the window is still open after the keys
    const int down = Qt::Key_Down, up = Qt::Key_Up, pgDn = Qt::Key_PageDown, pgUp = Qt::Key_PageUp,
              enter = Qt::Key_Return;
    QTest::newRow("1") << u"한국"_qs << QList<int>{Qt::Key_1} << u"韓國"_qs << false;
    QTest::newRow("3: a shorter reading")
        << u"한국"_qs << QList<int>{Qt::Key_3} << u"한國"_qs << false;
    QTest::newRow("number without a row")
        << u"한국"_qs << QList<int>{Qt::Key_4} << u"한국"_qs << true;
    QTest::newRow("Enter") << u"한국"_qs << QList<int>{enter} << u"韓國"_qs << false;
    QTest::newRow("Down, Enter") << u"한국"_qs << QList<int>{down, enter} << u"寒菊"_qs << false;
    QTest::newRow("Down past the end")
        << u"한국"_qs << QList<int>{down, down, down, enter} << u"한國"_qs << false;
    QTest::newRow("Up at the top") << u"한국"_qs << QList<int>{up, enter} << u"韓國"_qs << false;
    QTest::newRow("Escape") << u"한국"_qs << QList<int>{Qt::Key_Escape} << u"한국"_qs << false;
    QTest::newRow("Page Down, 1") << u"가"_qs << QList<int>{pgDn, Qt::Key_1} << u"暇"_qs << false;
    QTest::newRow("Page Down, 4: none")
        << u"가"_qs << QList<int>{pgDn, Qt::Key_4} << u"가"_qs << true;
    QTest::newRow("Page Down, Page Up, Enter")
        << u"가"_qs << QList<int>{pgDn, pgUp, enter} << u"家"_qs << false;
    QTest::newRow("Up back over the page, Enter")
        << u"가"_qs << QList<int>{pgDn, up, enter} << u"架"_qs << false;
    QTest::newRow("other key closes and types")
        << u"한국"_qs << QList<int>{Qt::Key_A} << u"한국a"_qs << false;
    QTest::newRow("Shift alone leaves it open")
        << u"한국"_qs << QList<int>{Qt::Key_Shift} << u"한국"_qs << true;
}

void TestHanja::popupKeys()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, keys);
    QFETCH(QString, expected);
    QFETCH(bool, open);
    Editor e(text);
    QTest::keyClick(e.form.Memo1, Qt::Key_F9);
    HanjaPopup *popup = e.popup();
    QVERIFY(popup && popup->isVisible());
    QCOMPARE(e.form.memo().text(), text); // nothing changes before a choice
    for (int key : keys)
        QTest::keyClick(popup, Qt::Key(key));
    QCOMPARE(e.form.memo().text(), expected);
    QCOMPARE(popup->isVisible(), open);
    QCOMPARE(documentModified, expected != text);
}

void TestHanja::editorChoiceIsOneUndoStep()
{
    Editor e(u"한국"_qs, ImeRomanized);
    pressHanjaKey(e.form.Memo1);
    HanjaPopup *popup = e.popup();
    QVERIFY(popup && popup->isVisible());
    QCOMPARE(popup->accessibleName(), u"Hanja candidates"_qs);
    QCOMPARE(popup->list()->accessibleName(), u"Hanja candidate list"_qs);
    QCOMPARE(popup->list()->item(0, 1)->text(), u"韓國"_qs);
    QCOMPARE(popup->list()->item(0, 2)->text(), u"대한민국"_qs);
    QVERIFY(popup->screen()->availableGeometry().contains(popup->frameGeometry()));
    QTest::keyClick(popup, Qt::Key_1);
    QCOMPARE(e.form.memo().text(), u"韓國"_qs);
    QVERIFY(documentModified);
    QCOMPARE(e.form.memoComposer.RomanDecide, 1);
    QTest::keyClick(e.form.Memo1, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(e.form.memo().text(), u"한국"_qs); // one step back, no half-replaced state
}

void TestHanja::editLine()
{
    Editor e{QString(), ImeDirect};
    Tsearchform &dialog = e.app.searchForm();
    dialog.show();
    dialog.Edit1->setText(u"대한한국"_qs);
    const InputOptions *options = dialog.edit1Composer.options; // the window's
    dialog.edit1Composer = {};
    dialog.edit1Composer.options = options;
    pressHanjaKey(dialog.Edit1);
    auto *popup = dialog.findChild<HanjaPopup *>();
    QVERIFY(popup && popup->isVisible());
    QTest::keyClick(popup, Qt::Key_Down);
    QTest::keyClick(popup, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(dialog.Edit1->text(), u"대한寒菊"_qs);
    QCOMPARE(dialog.Edit1->cursorPosition(), 4);
    QCOMPARE(dialog.edit1Composer.DirectDecide, 1);
    QVERIFY(dialog.isVisible()); // Enter chose; it did not ask for the search
    QVERIFY(!findRequested);
    QCOMPARE(e.form.memoComposer.DirectDecide, 0);
    QVERIFY(!documentModified);
    // The decide flag is set: a space is typed, not taken as a decide key, and the
    // next keys start a new syllable.
    QTest::keyClick(dialog.Edit1, Qt::Key_Space);
    QTest::keyClick(dialog.Edit1, Qt::Key_R);
    QTest::keyClick(dialog.Edit1, Qt::Key_K);
    QCOMPARE(dialog.Edit1->text(), u"대한寒菊 가"_qs);
    dialog.Edit1->setSelection(0, 2);
    dialog.action("HangultoHanja1")->trigger();
    QTest::keyClick(popup, Qt::Key_1);
    QCOMPARE(dialog.Edit1->text(), u"大韓寒菊 가"_qs);
}

// However many candidates and however short their texts, the list fills the
// window: no empty band beside or below it.
void TestHanja::listFillsWindow()
{
    QWidget host;
    HanjaPopup popup(&host);
    for (int count : {1, 2, 3, 9, 10, 30}) {
        for (const QString &meaning : {QString(), u"뜻"_qs, QString(40, u'뜻')}) {
            QList<HanjaCandidate> candidates;
            for (int i = 0; i < count; ++i)
                candidates.append({u"電"_qs, meaning, 1});
            popup.showCandidates(candidates, QRect(10, 10, 1, 16), host.font());
            const QRect inside =
                popup.contentsRect().marginsRemoved(popup.layout()->contentsMargins());
            QCOMPARE(popup.list()->width(), inside.width());
            const int rowsBottom = popup.list()->rowViewportPosition(popup.list()->rowCount() - 1) +
                                   popup.list()->rowHeight(popup.list()->rowCount() - 1);
            QCOMPARE(rowsBottom, popup.list()->viewport()->height());
            int columns = 0;
            for (int c = 0; c < popup.list()->columnCount(); ++c)
                columns += popup.list()->columnWidth(c);
            QCOMPARE(columns, popup.list()->viewport()->width());
            popup.hide();
        }
    }
}

// F9 on 한국 and the candidates' order: the choice comes first the next time,
// in a new run too; not with learning off; forgotten after "forget".
void TestHanja::learning()
{
    const auto firstOffered = [](Editor &e) {
        e.form.memo().setText(u"한국"_qs);
        e.form.memo().setSelStart(2);
        pressHanjaKey(e.form.Memo1);
        const QString first = e.popup()->list()->item(0, 1)->text();
        QTest::keyClick(e.popup(), Qt::Key_Escape);
        return first;
    };
    Editor e{u"한국"_qs};
    QVERIFY(e.form.findChild<QAction *>(u"learnHanja1"_qs)->isChecked());
    QCOMPARE(firstOffered(e), u"韓國"_qs);
    e.form.memo().setSelStart(2);
    pressHanjaKey(e.form.Memo1);
    QTest::keyClick(e.popup(), Qt::Key_2);
    QCOMPARE(e.form.memo().text(), u"寒菊"_qs);
    QCOMPARE(firstOffered(e), u"寒菊"_qs);
    waitForHanjaHistorySaved();
    QVERIFY(QFile::exists(hanjaHistoryPath()));
    QVERIFY(hanjaHistoryPath().startsWith(e.app.dir.path())); // the test's own home

    // Learning off: the dictionary's order, and nothing recorded.
    e.form.findChild<QAction *>(u"learnHanja1"_qs)->trigger();
    QCOMPARE(firstOffered(e), u"韓國"_qs);
    const QByteArray before = e.app.dir.read(u"state/tavriledit/hanja-history"_qs);
    pressHanjaKey(e.form.Memo1);
    QTest::keyClick(e.popup(), Qt::Key_1);
    waitForHanjaHistorySaved();
    QCOMPARE(e.app.dir.read(u"state/tavriledit/hanja-history"_qs), before);
    waitForInputOptionsWritten();
    QCOMPARE(readInputOptions(e.app.dir.path()).learnHanja, false);
    e.form.findChild<QAction *>(u"learnHanja1"_qs)->trigger();
    QCOMPARE(firstOffered(e), u"寒菊"_qs);

    // Forget: asked first; No keeps, Yes forgets.
    e.fake.confirmAnswers = {false, true};
    e.form.findChild<QAction *>(u"forgetHanja1"_qs)->trigger();
    QCOMPARE(e.fake.boxes.last().text, u"Forget every learned Hanja choice?"_qs);
    QCOMPARE(e.fake.boxes.last().caption, u"confirm"_qs);
    QCOMPARE(firstOffered(e), u"寒菊"_qs);
    e.form.findChild<QAction *>(u"forgetHanja1"_qs)->trigger();
    QCOMPARE(firstOffered(e), u"韓國"_qs);
    QVERIFY(!QFile::exists(hanjaHistoryPath()));
}

// "edit user Hanja dictionary" makes the file with its comment and opens it
// (after "Save file?" for a modified document); its words come before the
// system dictionary's and are read again once changed.
void TestHanja::userDictionary()
{
    Editor e{u"수정"_qs};
    e.form.memo().setText(u"수정"_qs); // an edit: the document is modified
    e.fake.confirmAnswer = false;      // "Save file?": No
    e.form.findChild<QAction *>(u"editUserHanja1"_qs)->trigger();
    QCOMPARE(e.fake.boxes.size(), 1);
    QCOMPARE(e.fake.boxes.first().text, u"Save file?"_qs);
    QVERIFY(userHanjaDictionaryPath().startsWith(e.app.dir.path()));
    QCOMPARE(currentFileName, userHanjaDictionaryPath());
    QVERIFY(e.form.memo().text().startsWith(u"# "_qs));
    QVERIFY(e.form.memo().text().contains(u"reading:hanja:meaning"_qs));

    // Words added to the file are offered before the system's.
    e.app.dir.write(u"config/tavriledit/hanja-user.txt"_qs, "한국:漢國:\n전화:電話:\n");
    e.form.memo().setText(u"한국"_qs);
    e.form.memo().setSelStart(2);
    pressHanjaKey(e.form.Memo1);
    QCOMPARE(e.popup()->list()->item(0, 1)->text(), u"漢國"_qs);
    QCOMPARE(e.popup()->list()->item(1, 1)->text(), u"韓國"_qs);
    QTest::keyClick(e.popup(), Qt::Key_Escape);
    e.form.memo().setText(u"전화"_qs); // in no system dictionary
    e.form.memo().setSelStart(2);
    pressHanjaKey(e.form.Memo1);
    QTest::keyClick(e.popup(), Qt::Key_1);
    QCOMPARE(e.form.memo().text(), u"電話"_qs);
}

void TestHanja::symbolsAfterJamo()
{
    DictionaryFile dictionary;
    QFile symbols(QFileInfo(dictionary.path).absolutePath() + u"/mssymbol.txt"_qs);
    QVERIFY(symbols.open(QIODevice::WriteOnly));
    symbols.write("ㅁ:＃:\nㅁ:＆:\nㅁ:＊:\n");
    symbols.close();
    MainWindowFixture app;
    app.form.hanjaDictionaries().setPath(dictionary.path);
    app.form.show();
    app.form.setImeMode(ImeDirect);
    app.form.memo().setText(QString());
    QTest::keyClicks(app.form.Memo1, u"rk a"_qs); // 가, decided, ㅁ
    QCOMPARE(app.form.memo().text(), u"가ㅁ"_qs);
    QTest::keyClick(app.form.Memo1, Qt::Key_F9);
    auto *popup = app.form.findChild<HanjaPopup *>();
    QVERIFY(popup && popup->isVisible());
    QCOMPARE(popup->count(), 3);
    QTest::keyClick(popup, Qt::Key_2);
    QCOMPARE(app.form.memo().text(), u"가＆"_qs);
}

void TestHanja::menus()
{
    Editor e{QString()};
    Tsearchform &dialog = e.app.searchForm();
    QList<QAction *> ime = e.form.menu("ime1")->actions();
    // The editor's context menu ends with the Hangul composition items after it.
    const QList<QAction *> popup1 =
        e.form.menu("PopupMenu1")
            ->actions()
            .mid(0, e.form.menu("PopupMenu1")->actions().indexOf(e.form.action("N4")));
    const QList<QAction *> popup2 = dialog.menu("PopupMenu2")->actions();
    // After it in the "IME" menu: the layout and Hanja choices.
    const qsizetype hanjaAt = ime.indexOf(e.form.action("HangultoHanja1"));
    QStringList after;
    for (QAction *item : ime.mid(hanjaAt + 1))
        after << (item->isSeparator() ? u"-"_qs : item->text());
    QCOMPARE(after, (QStringList{u"-"_qs, u"direct layout"_qs, u"auto reorder (moachigi)"_qs,
                                 u"-"_qs, u"learn Hanja choices"_qs, u"forget Hanja choices"_qs,
                                 u"edit user Hanja dictionary"_qs}));
    ime = ime.mid(0, hanjaAt + 1);
    for (const QList<QAction *> &items : {ime, popup1, popup2}) {
        QCOMPARE(items.last()->text(), u"Hangul to Hanja"_qs);
        QVERIFY(items.last()->isEnabled());
        QVERIFY(items.at(items.size() - 2)->isSeparator());
    }
    QCOMPARE(ime.last(), e.form.action("HangultoHanja1"));
    QCOMPARE(popup1.last(), e.form.action("HangultoHanja2"));
    QCOMPARE(popup2.last(), dialog.action("HangultoHanja1"));
    e.form.memo().setText(u"한"_qs);
    e.form.memo().setSelStart(1);
    e.form.memo().setEnabled(false); // as while the find dialog waits
    e.form.action("HangultoHanja1")->trigger();
    QVERIFY(!e.popup());
    e.form.memo().setEnabled(true);
    e.form.action("HangultoHanja2")->trigger();
    QVERIFY(e.popup() && e.popup()->isVisible());
}

void TestHanja::missingDictionary()
{
    Editor e(u"한국"_qs);
    QTemporaryDir dir;
    e.form.hanjaDictionaries().setPath(dir.filePath(u"hanja.txt"_qs));
    e.form.action("HangultoHanja1")->trigger();
    QCOMPARE(e.fake.boxes.size(), 1);
    QCOMPARE(e.fake.boxes.at(0).kind, u"error"_qs);
    QVERIFY(e.fake.boxes.at(0).text.contains(u"not installed"_qs));
    QVERIFY(!e.popup());
    QCOMPARE(e.form.memo().text(), u"한국"_qs);
}

QTEST_MAIN(TestHanja)
#include "tst_hanja.moc"
