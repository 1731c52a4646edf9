// TForm1: the main window with the editor Memo1, its menus, status bar and the
// start-up sequence. Its handlers keep their names and forward to the commands of
// the subsystems (main_window_commands.cpp), which take what they work on through
// an EditorContext and never see this class.
#pragma once

#include "codec/encoding_detect.h"
#include "convert/hanja_sources.h"
#include "document/document.h"
#include "document/file_identity.h"
#include "editor/editor_context.h"
#include "editor/memo_control.h"
#include "export/output_format.h"
#include "ime/composer.h"
#include "recovery/document_journal.h"
#include "recovery/recovery_folder.h"
#include "settings/font_record.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <optional>

class HanjaCommand;
class InputOptionsMenu;
class MemoView;
class Taccent2form;
class Taccentform;
class Tcopyrightform;
class Texitform;
class Thangulskbform;
class Thelpform;
class Tsearchform;
class StatusPanels;
class QAction;
class QKeyEvent;
class QLabel;
class QMenu;
class QStatusBar;
class QTimer;

class TForm1 : public QMainWindow
{
    Q_OBJECT
    // The program's document, made before the editor that shows it.
    Document m_document{Document::ProgramWide};
    // Its recovery journal, from the first change on.
    DocumentJournal m_journal{m_document, recoveryFolder()};

public:
    // `arguments` is the command line, program name first. The settings files live
    // in `settingsFolder` when given, else where detectProgramDir chooses.
    explicit TForm1(const QStringList &arguments, const QString &settingsFolder = QString(),
                    QWidget *parent = nullptr);
    ~TForm1() override;

    MemoView *Memo1 = nullptr;
    QLabel *Label1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QTimer *TimerMemo = nullptr;

    // The editor as a TextControl, for every command that edits the document.
    TextControl &memo() { return m_memo; }
    // The document Memo1 shows: its text and everything known about its file.
    Document &document() { return m_document; }
    DocumentJournal &journal() { return m_journal; }
    // The document's file changed on disk since it was read or written and the
    // user was not asked about this change yet: asks whether to reload it.
    void checkFileOnDisk();
    // A signal or the session manager ends the program: the journal is kept on
    // disk and the window closes without a question.
    void endWithoutQuestions();
    // What the subsystems' commands work on in this window.
    EditorContext &editorContext() { return m_context; }
    // The Hanja dictionaries of this window's Hangul to Hanja commands (Memo1's,
    // and the find dialog's, which is handed them).
    HanjaDictionaries &hanjaDictionaries() { return m_hanjaDictionaries; }
    // Where the screen keyboard and the accent pads write at the moment: the find
    // dialog's edit line while it is visible, Memo1 otherwise.
    InputTargetSource inputTarget();

    // The program's other windows, handed over once by whoever created them.
    struct Windows
    {
        Tsearchform *searchform = nullptr;
        Thelpform *helpform = nullptr;
        Tcopyrightform *copyrightform = nullptr;
        Texitform *exitform = nullptr;
        Thangulskbform *hangulskbform = nullptr;
    };
    // Keeps the windows (each is forgotten when it goes).
    void setWindows(const Windows &windows);
    Tsearchform *searchform() const;
    Thelpform *helpform() const;
    Tcopyrightform *copyrightform() const;
    Texitform *exitform() const;
    Thangulskbform *hangulskbform() const;
    // The accent pad the first "Accent PAD" command made (the button or the image pad).
    Taccentform *accentform() const;
    Taccent2form *accent2form() const;

    // Before the document is replaced or the window closes: a modified document
    // is offered for saving ("Save file?"). False when the user chose to save
    // and the save did not complete, so that what was asked must not happen.
    bool saveBeforeReplacing();

    // "reopen with encoding": reads currentFileName again with `encoding` (nothing:
    // detection chooses), after offering a modified document for saving.
    void reopenWithEncoding(std::optional<FileEncoding> encoding);
    // "save with encoding": the document written as `format`; `item` names it.
    void saveWithEncoding(OutputFormat format, const QString &item);
    // The commands that need an opened file follow currentFileName.
    void updateReopenCommand();

    // The text of status panel 0 to 3 (see StatusPanels).
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString &text);

    // Word wrap of Memo1; its two indicators (menu caption and panel 2) follow.
    void setWordWrap(bool on);
    bool wordWrap() const;

    // Writes "setteiedit.dat" from the window's current geometry, mode and wrap.
    void writeSettings();

    // The file named on the command line (empty when there was none).
    QString commandLineFile() const { return m_commandLineFile; }

    // The window's menu item or menu (the menu bar's, their submenus' and the
    // context menu's) with this object name; nullptr when it has none.
    QAction *action(const QString &objectName) const;
    QMenu *menu(const QString &objectName) const;

public slots:
    // Shell: settings, caret display.
    void Wrapofftoggle1Click();
    void changefont1Click();
    void Memo1KeyUp();
    void Memo1Click();
    void UpdateCaretPosition();

    // Input method: modes and key dispatch.
    // Chooses the input mode (ImeModeCommand); the window follows every choice.
    void setImeMode(int mode);
    void KoreaRomaIME1Click();
    void KoreaDirectIME1Click();
    void nonIME1Click();
    void KoreanRomanizedinput1Click();
    void KoreanDirectinput1Click();
    void dontuseIME1Click();
    void MenuItem7Click();
    void MenuItem8Click();
    void MenuItem9Click();
    // A typed key of the editor: marks the document modified and runs the mode's
    // composer. Returns the key to let through to the editor, 0 when consumed.
    int Memo1KeyPress(int key);

    // Files: open and insert.
    void opentextfile1Click();
    // A file dropped onto the window opens as the open command opens it, after
    // offering a modified document for saving.
    void openDroppedFile(const QString &path);
    void inserttextfile1Click();
    // Replaces the document with the file (status bar and currentFileName too).
    void LoadTextFile(FileEncoding encoding, BomKind bom, const QString &path);
    // Chooses the encoding, loads the file and puts the caret at the start: the
    // open command without its dialog and waiting label.
    void LoadTextFile(const QString &path);
    // Inserts the file at the caret; a file that cannot be opened changes nothing.
    void InsertTextFile(FileEncoding encoding, BomKind bom, const QString &path);

    // Saving, exports and the exit flow.
    void savefile1Click();
    void overwritesavefileUTF81Click();
    void saveHTML99tagASCII1Click();
    void saveUnicodenumberlanguageC0x1Click();
    void exit1Click();

    // Find, edit commands and kanji conversion.
    void find1Click();
    void MenuItem1Click(); // Cut
    void MenuItem2Click(); // Copy
    void MenuItem3Click(); // Paste
    void MenuItem4Click(); // Clear
    void MenuItem5Click(); // Select All
    void TimerMemoTimer();
    // Ctrl+V interception of the older Windows family, seen before the editor.
    void FormShortCut(int key, Qt::KeyboardModifiers shift);
    void KanjiJapantoHangulSelectArea1Click();
    void KanjiJapantoHangulSelectAreaType21Click();
    // Hangul to Hanja on the editor (the "IME" menu, the context menu, the Hanja
    // key and F9): the candidate window opens at the caret.
    void HangultoHanja1Click();
    void HangultoHanja2Click();
    void composeHangul1Click();
    void decomposeHangul1Click();

    // Input aids: screen keyboard, keymap help, accent pads.
    void Screenkeyboard1Click();
    void Screenkeyboard2Click();
    void keymap1Click();
    void AccentPAD1Click();
    void AccentPAD2Click();
    // Destroys the accent pad that exists and clears accentPadCreated (close flow).
    void destroyAccentPad();

    // Desktop: shortcuts, web pages, about box.
    void createShortcutinprogrammenu1Click();
    void createshortcutinDesktopmenu1Click();
    void Jumptoofficialwebsite1Click();
    void JumptoTavrilJishowebsite1Click();
    void copyright1Click();

signals:
    // The user picked a new editor font; the find dialog's edit line follows it.
    void editorFontChanged(const QFont &font);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    // The open command once the path is known; `encoding` as reopenWithEncoding.
    void openPath(const QString &path, std::optional<FileEncoding> encoding = std::nullopt);
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void createMenus();
    void connectCommands();
    // The one handler of the input-mode items: sets the mode the item carries.
    void imeModeItemTriggered(QAction *item);
    // Word wrap was turned on or off: the menu caption and panel 2 show it.
    void followWordWrap(bool on);
    // A mode was chosen (here or in the find dialog): status panel 0 shows it
    // ("R", "H" or empty) and Memo1's open syllable is decided.
    void followImeMode(int mode);

    // Menu items, named as the components they stand for.
    QMenu *FILE1 = nullptr, *edit1 = nullptr, *ime1 = nullptr, *help1 = nullptr;
    QMenu *PopupMenu1 = nullptr;
    QAction *opentextfile1 = nullptr, *inserttextfile1 = nullptr, *savefile1 = nullptr,
            *overwritesavefileUTF81 = nullptr, *saveHTML99tagASCII1 = nullptr,
            *saveUnicodenumberlanguageC0x1 = nullptr, *exit1 = nullptr;
    QMenu *reopenwithencoding1 = nullptr; // submenu after inserttextfile1
    QAction *reopenAuto1 = nullptr, *reopenUTF81 = nullptr, *reopenUTF16LE1 = nullptr,
            *reopenUTF16BE1 = nullptr, *reopenSJIS1 = nullptr, *reopenEUCJP1 = nullptr,
            *reopenEUCKR1 = nullptr;
    QMenu *savewithencoding1 = nullptr; // submenu after reopenwithencoding1
    QAction *saveUTF81 = nullptr, *saveUTF8BOM1 = nullptr, *saveUTF16LE1 = nullptr,
            *saveUTF16BE1 = nullptr, *saveSJIS1 = nullptr, *saveEUCJP1 = nullptr,
            *saveEUCKR1 = nullptr;
    QAction *find1 = nullptr, *Wrapofftoggle1 = nullptr, *Screenkeyboard2 = nullptr,
            *AccentPAD2 = nullptr, *changefont1 = nullptr, *createShortcutinprogrammenu1 = nullptr,
            *createshortcutinDesktopmenu1 = nullptr;
    QAction *N3 = nullptr, *composeHangul1 = nullptr, *decomposeHangul1 = nullptr; // end of "edit"
    QAction *KoreaRomaIME1 = nullptr, *KoreaDirectIME1 = nullptr, *nonIME1 = nullptr;
    QAction *KoreanRomanizedinput1 = nullptr, *KoreanDirectinput1 = nullptr, *dontuseIME1 = nullptr;
    QAction *N1 = nullptr, *HangultoHanja1 = nullptr; // end of the "IME" menu
    QAction *keymap1 = nullptr, *Screenkeyboard1 = nullptr, *AccentPAD1 = nullptr,
            *Jumptoofficialwebsite1 = nullptr, *JumptoTavrilJishowebsite1 = nullptr,
            *copyright1 = nullptr;
    QAction *MenuItem1 = nullptr, *MenuItem2 = nullptr, *MenuItem3 = nullptr, *MenuItem4 = nullptr,
            *MenuItem5 = nullptr, *MenuItem6 = nullptr, *MenuItem7 = nullptr, *MenuItem8 = nullptr,
            *MenuItem9 = nullptr, *KanjiJapantoHangulSelectArea1 = nullptr,
            *KanjiJapantoHangulSelectAreaType21 = nullptr, *N2 = nullptr, *HangultoHanja2 = nullptr;
    QAction *N4 = nullptr, *composeHangul2 = nullptr, *decomposeHangul2 = nullptr;

    void applyFontRecord(const FontRecord &record);
    FontRecord fontRecordFromEditor() const;
    void FormClose(QCloseEvent *event);
    // Moves, then shrinks, the window into its screen's free area when it does
    // not fit there.
    void fitToScreen();
    bool m_fittedShown = false;

    MemoControl m_memo;
    EditorContext m_context;
    std::unique_ptr<StatusPanels> m_status; // the four panels of StatusBar1
    QString m_commandLineFile;
    FileIdentity m_askedAbout; // the change on disk the user was last asked about
    bool m_quietEnd = false;

    // Input method.
    bool memoKeyConsumed(QKeyEvent *event);     // true: the editor must not see the key
    InputOptionsMenu *m_inputOptions = nullptr; // the "IME" menu's lasting choices
    HanjaCommand *m_hanja = nullptr;            // made on the first Hangul to Hanja
    HanjaDictionaries m_hanjaDictionaries;      // loaded on the first Hangul to Hanja

    QPointer<Tsearchform> m_searchform;
    QPointer<Thelpform> m_helpform;
    QPointer<Tcopyrightform> m_copyrightform;
    QPointer<Texitform> m_exitform;
    QPointer<Thangulskbform> m_hangulskbform;
    QPointer<Taccentform> m_accentform;
    QPointer<Taccent2form> m_accent2form;

public:
    ComposerState memoComposer; // the editor's composer flags, never saved
};
