// Every menu item of the main window, built in one place. An item whose command
// is not part of this build stays disabled.
#include "app/main_window.h"
#include "convert/input_menu.h"
#include "editor/menu_items.h"
#include "export/output_format.h"
#include "settings/app_state.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

#include <utility>

namespace {

QMenu *addMenu(QMenuBar *bar, const char *name, const QString &caption)
{
    auto *menu = new QMenu(caption, bar);
    menu->setObjectName(QString::fromLatin1(name));
    bar->addMenu(menu);
    return menu;
}

// The items and every item of their submenus.
QList<QAction *> menuItems(QList<QAction *> items)
{
    for (qsizetype i = 0; i < items.size(); ++i)
        if (QMenu *submenu = items[i]->menu())
            items += submenu->actions();
    return items;
}

} // namespace

void TForm1::createMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    // Captions keep the toolkit's own convention: "&&" shows as a single "&".
    FILE1 = addMenu(bar, "FILE1", tr("file"));
    opentextfile1 = addMenuItem(FILE1, "opentextfile1", tr("open text file(UTF-8,UTF16,SJIS,EUC)"));
    inserttextfile1 =
        addMenuItem(FILE1, "inserttextfile1", tr("insert text file(UTF-8,UTF16,SJIS,EUC)"));
    // The opened file read again with the decoding the user names.
    reopenwithencoding1 = new QMenu(tr("reopen with encoding"), FILE1);
    reopenwithencoding1->setObjectName(QStringLiteral("reopenwithencoding1"));
    reopenwithencoding1->setAccessibleName(tr("reopen with encoding"));
    FILE1->addMenu(reopenwithencoding1);
    reopenAuto1 = addMenuItem(reopenwithencoding1, "reopenAuto1", tr("Auto"));
    reopenUTF81 = addMenuItem(reopenwithencoding1, "reopenUTF81", QStringLiteral("UTF-8"));
    reopenUTF16LE1 =
        addMenuItem(reopenwithencoding1, "reopenUTF16LE1", QStringLiteral("UTF-16 LE"));
    reopenUTF16BE1 =
        addMenuItem(reopenwithencoding1, "reopenUTF16BE1", QStringLiteral("UTF-16 BE"));
    reopenSJIS1 = addMenuItem(reopenwithencoding1, "reopenSJIS1", QStringLiteral("Shift JIS"));
    reopenEUCJP1 = addMenuItem(reopenwithencoding1, "reopenEUCJP1", QStringLiteral("EUC-JP"));
    reopenEUCKR1 =
        addMenuItem(reopenwithencoding1, "reopenEUCKR1", QStringLiteral("EUC-KR / CP949"));
    reopenAuto1->setToolTip(tr("Read the file again, its encoding detected"));
    for (QAction *item :
         {reopenUTF81, reopenUTF16LE1, reopenUTF16BE1, reopenSJIS1, reopenEUCJP1, reopenEUCKR1})
        item->setToolTip(tr("Read the file again as %1").arg(item->text()));
    // The document written in the encoding the user names.
    savewithencoding1 = new QMenu(tr("save with encoding"), FILE1);
    savewithencoding1->setObjectName(QStringLiteral("savewithencoding1"));
    savewithencoding1->setAccessibleName(tr("save with encoding"));
    FILE1->addMenu(savewithencoding1);
    saveUTF81 = addMenuItem(savewithencoding1, "saveUTF81", QStringLiteral("UTF-8"));
    saveUTF8BOM1 = addMenuItem(savewithencoding1, "saveUTF8BOM1", QStringLiteral("UTF-8 BOM"));
    saveUTF16LE1 = addMenuItem(savewithencoding1, "saveUTF16LE1", QStringLiteral("UTF-16 LE BOM"));
    saveUTF16BE1 = addMenuItem(savewithencoding1, "saveUTF16BE1", QStringLiteral("UTF-16 BE BOM"));
    saveSJIS1 = addMenuItem(savewithencoding1, "saveSJIS1", QStringLiteral("Shift JIS"));
    saveEUCJP1 = addMenuItem(savewithencoding1, "saveEUCJP1", QStringLiteral("EUC-JP"));
    saveEUCKR1 = addMenuItem(savewithencoding1, "saveEUCKR1", QStringLiteral("EUC-KR / CP949"));
    for (QAction *item :
         {saveUTF81, saveUTF8BOM1, saveUTF16LE1, saveUTF16BE1, saveSJIS1, saveEUCJP1, saveEUCKR1})
        item->setToolTip(tr("Save the document as %1").arg(item->text()));
    savefile1 = addMenuItem(FILE1, "savefile1", tr("save file(UTF-8)"));
    overwritesavefileUTF81 =
        addMenuItem(FILE1, "overwritesavefileUTF81", tr("over write save file(UTF-8)"));
    saveHTML99tagASCII1 =
        addMenuItem(FILE1, "saveHTML99tagASCII1", tr("save Unicode number HTML &&#99;tag(ASCII)"));
    saveUnicodenumberlanguageC0x1 = addMenuItem(FILE1, "saveUnicodenumberlanguageC0x1",
                                                tr("save Unicode number language C 0x*(ASCII)"));
    exit1 = addMenuItem(FILE1, "exit1", tr("exit"));

    edit1 = addMenu(bar, "edit1", tr("edit"));
    find1 = addMenuItem(edit1, "find1", tr("find"));
    Wrapofftoggle1 = addMenuItem(edit1, "Wrapofftoggle1", tr("Wrap Line on(toggle)"));
    Screenkeyboard2 = addMenuItem(edit1, "Screenkeyboard2", tr("Screen keyboard"));
    AccentPAD2 = addMenuItem(edit1, "AccentPAD2", tr("Accent PAD"));
    changefont1 = addMenuItem(edit1, "changefont1", tr("change font"));
    createShortcutinprogrammenu1 =
        addMenuItem(edit1, "createShortcutinprogrammenu1", tr("create Shortcut in Program menu"));
    createshortcutinDesktopmenu1 =
        addMenuItem(edit1, "createshortcutinDesktopmenu1", tr("create Shortcut in Desktop menu"));
    N3 = addMenuItem(edit1, "N3", QString());
    N3->setSeparator(true);
    composeHangul1 = addMenuItem(edit1, "composeHangul1", tr("compose Hangul (NFC)"));
    decomposeHangul1 = addMenuItem(edit1, "decomposeHangul1", tr("decompose Hangul (NFD)"));

    // Three menu-bar items without a submenu: choosing them runs the command at once.
    KoreaRomaIME1 = addMenuItem(bar, "KoreaRomaIME1", tr("KoreaRomaIME"));
    KoreaDirectIME1 = addMenuItem(bar, "KoreaDirectIME1", tr("KoreaDirectIME"));
    nonIME1 = addMenuItem(bar, "nonIME1", tr("nonIME"));

    ime1 = addMenu(bar, "ime1", tr("IME"));
    KoreanRomanizedinput1 =
        addMenuItem(ime1, "KoreanRomanizedinput1", tr("Korean Romanized input built-in IME"));
    KoreanDirectinput1 =
        addMenuItem(ime1, "KoreanDirectinput1", tr("Korean Direct input built-in IME"));
    dontuseIME1 = addMenuItem(ime1, "dontuseIME1", tr("don't use built-in IME"));
    N1 = addMenuItem(ime1, "N1", QString());
    N1->setSeparator(true);
    HangultoHanja1 = addMenuItem(ime1, "HangultoHanja1", tr("Hangul to Hanja"));
    m_inputOptions = new InputOptionsMenu(
        ime1, [] { return programDir; }, this, &m_hanjaDictionaries);
    connect(m_inputOptions, &InputOptionsMenu::openRequested, this, &TForm1::openDroppedFile);

    help1 = addMenu(bar, "help1", tr("help"));
    keymap1 = addMenuItem(help1, "keymap1", tr("keymap"));
    Screenkeyboard1 = addMenuItem(help1, "Screenkeyboard1", tr("Screen keyboard"));
    AccentPAD1 = addMenuItem(help1, "AccentPAD1", tr("Accent PAD"));
    Jumptoofficialwebsite1 =
        addMenuItem(help1, "Jumptoofficialwebsite1", tr("Jump to Official web site"));
    JumptoTavrilJishowebsite1 = addMenuItem(help1, "JumptoTavrilJishowebsite1",
                                            tr("Jump to TavrilJisho web site(Japanese)"));
    copyright1 = addMenuItem(help1, "copyright1", tr("copyright"));

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    static constexpr const char *popupNames[] = {
        "MenuItem1",
        "MenuItem2",
        "MenuItem3",
        "MenuItem4",
        "MenuItem5",
        "MenuItem6",
        "MenuItem7",
        "MenuItem8",
        "MenuItem9",
        "KanjiJapantoHangulSelectArea1",
        "KanjiJapantoHangulSelectAreaType21",
        "N2",
        "HangultoHanja2",
        "N4",
        "composeHangul2",
        "decomposeHangul2",
    };
    const QList<QAction *> popup = addContextMenuItems(PopupMenu1, popupNames);
    MenuItem1 = popup[CutItem];
    MenuItem2 = popup[CopyItem];
    MenuItem3 = popup[PasteItem];
    MenuItem4 = popup[ClearItem];
    MenuItem5 = popup[SelectAllItem];
    MenuItem6 = popup[ModesSeparator];
    MenuItem7 = popup[RomanizedModeItem];
    MenuItem8 = popup[DirectModeItem];
    MenuItem9 = popup[NoModeItem];
    KanjiJapantoHangulSelectArea1 = popup[KanjiType1Item];
    KanjiJapantoHangulSelectAreaType21 = popup[KanjiType2Item];
    N2 = popup[HanjaSeparator];
    HangultoHanja2 = popup[HangulToHanjaItem];
    N4 = popup[CompositionSeparator];
    composeHangul2 = popup[ComposeItem];
    decomposeHangul2 = popup[DecomposeItem];
    for (QAction *item : {composeHangul1, composeHangul2})
        item->setToolTip(tr("Compose the decomposed Hangul of the selection, or of the "
                            "whole text, into syllables"));
    for (QAction *item : {decomposeHangul1, decomposeHangul2})
        item->setToolTip(
            tr("Decompose the Hangul syllables of the selection, or of the whole text, into jamo"));
}

// Connects each item to its handler and enables it. Subsystems add their items here.
void TForm1::connectCommands()
{
    const auto wire = [this](QAction *action, void (TForm1::*handler)()) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    // Shell.
    wire(Wrapofftoggle1, &TForm1::Wrapofftoggle1Click);
    wire(changefont1, &TForm1::changefont1Click);

    // Input method: the nine mode items, one group with one handler.
    QActionGroup *modes = groupImeModeItems(this, {{KoreaRomaIME1, ImeRomanized},
                                                   {KoreaDirectIME1, ImeDirect},
                                                   {nonIME1, ImeNone},
                                                   {KoreanRomanizedinput1, ImeRomanized},
                                                   {KoreanDirectinput1, ImeDirect},
                                                   {dontuseIME1, ImeNone},
                                                   {MenuItem7, ImeRomanized},
                                                   {MenuItem8, ImeDirect},
                                                   {MenuItem9, ImeNone}});
    for (QAction *item : modes->actions())
        item->setEnabled(true);
    connect(modes, &QActionGroup::triggered, this, &TForm1::imeModeItemTriggered);

    // Files.
    wire(opentextfile1, &TForm1::opentextfile1Click);
    wire(inserttextfile1, &TForm1::inserttextfile1Click);
    const std::pair<QAction *, std::optional<FileEncoding>> reopenItems[] = {
        {reopenAuto1, std::nullopt}, {reopenUTF81, UTF8}, {reopenUTF16LE1, UTF16LE},
        {reopenUTF16BE1, UTF16BE},   {reopenSJIS1, SJIS}, {reopenEUCJP1, EUC},
        {reopenEUCKR1, EUCKR}, // labelled CP949 when the file holds extension codes
    };
    for (const auto &[item, encoding] : reopenItems) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, this,
                [this, encoding = encoding] { reopenWithEncoding(encoding); });
    }
    // Also catches a file name set behind the commands' back.
    connect(FILE1, &QMenu::aboutToShow, this, &TForm1::updateReopenCommand);
    updateReopenCommand();

    // Saving, exports and exit.
    const std::pair<QAction *, OutputFormat> saveItems[] = {
        {saveUTF81, OutputFormat::Utf8},       {saveUTF8BOM1, OutputFormat::Utf8Bom},
        {saveUTF16LE1, OutputFormat::Utf16Le}, {saveUTF16BE1, OutputFormat::Utf16Be},
        {saveSJIS1, OutputFormat::ShiftJis},   {saveEUCJP1, OutputFormat::EucJp},
        {saveEUCKR1, OutputFormat::Cp949},
    };
    for (const auto &[item, format] : saveItems) {
        item->setEnabled(true);
        connect(item, &QAction::triggered, this,
                [this, item = item, format = format] { saveWithEncoding(format, item->text()); });
    }
    wire(savefile1, &TForm1::savefile1Click);
    wire(overwritesavefileUTF81, &TForm1::overwritesavefileUTF81Click);
    wire(saveHTML99tagASCII1, &TForm1::saveHTML99tagASCII1Click);
    wire(saveUnicodenumberlanguageC0x1, &TForm1::saveUnicodenumberlanguageC0x1Click);
    wire(exit1, &TForm1::exit1Click);

    // Find, edit commands and kanji conversion.
    wire(find1, &TForm1::find1Click);
    wire(MenuItem1, &TForm1::MenuItem1Click);
    wire(MenuItem2, &TForm1::MenuItem2Click);
    wire(MenuItem3, &TForm1::MenuItem3Click);
    wire(MenuItem4, &TForm1::MenuItem4Click);
    wire(MenuItem5, &TForm1::MenuItem5Click);
    wire(KanjiJapantoHangulSelectArea1, &TForm1::KanjiJapantoHangulSelectArea1Click);
    wire(KanjiJapantoHangulSelectAreaType21, &TForm1::KanjiJapantoHangulSelectAreaType21Click);
    wire(HangultoHanja1, &TForm1::HangultoHanja1Click);
    wire(HangultoHanja2, &TForm1::HangultoHanja2Click);
    wire(composeHangul1, &TForm1::composeHangul1Click);
    wire(decomposeHangul1, &TForm1::decomposeHangul1Click);
    wire(composeHangul2, &TForm1::composeHangul1Click);
    wire(decomposeHangul2, &TForm1::decomposeHangul1Click);

    // Input aids.
    wire(Screenkeyboard1, &TForm1::Screenkeyboard1Click);
    wire(Screenkeyboard2, &TForm1::Screenkeyboard2Click);
    wire(keymap1, &TForm1::keymap1Click);
    wire(AccentPAD1, &TForm1::AccentPAD1Click);
    wire(AccentPAD2, &TForm1::AccentPAD2Click);

    // Desktop.
    wire(createShortcutinprogrammenu1, &TForm1::createShortcutinprogrammenu1Click);
    wire(createshortcutinDesktopmenu1, &TForm1::createshortcutinDesktopmenu1Click);
    wire(Jumptoofficialwebsite1, &TForm1::Jumptoofficialwebsite1Click);
    wire(JumptoTavrilJishowebsite1, &TForm1::JumptoTavrilJishowebsite1Click);
    wire(copyright1, &TForm1::copyright1Click);
}

// The one handler of the nine mode items: each carries its mode.
void TForm1::imeModeItemTriggered(QAction *item)
{
    setImeMode(item->data().toInt());
}

QAction *TForm1::action(const QString &objectName) const
{
    if (objectName.isEmpty())
        return nullptr;
    for (QAction *item : menuItems(menuBar()->actions() + PopupMenu1->actions()))
        if (item->objectName() == objectName)
            return item;
    return nullptr;
}

QMenu *TForm1::menu(const QString &objectName) const
{
    if (objectName.isEmpty())
        return nullptr;
    if (PopupMenu1->objectName() == objectName)
        return PopupMenu1;
    for (QAction *item : menuItems(menuBar()->actions()))
        if (item->menu() && item->menu()->objectName() == objectName)
            return item->menu();
    return nullptr;
}
