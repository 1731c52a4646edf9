// The main window's handlers of the subsystems' commands: each forwards to its
// subsystem with what the command works on (the editor context, the windows).
#include "aids/accent2_form.h"
#include "aids/accent_form.h"
#include "aids/aids_commands.h"
#include "app/exit_form.h"
#include "app/main_window.h"
#include "codec/open_commands.h"
#include "convert/hangul_compose_command.h"
#include "convert/hanja_command.h"
#include "convert/kanji_to_hangul.h"
#include "desktop/copyright_form.h"
#include "desktop/shortcuts.h"
#include "desktop/web_sites.h"
#include "editor/memo_view.h"
#include "editor/status_panels.h"
#include "export/save_commands.h"
#include "find/find_command.h"
#include "find/search_form.h"
#include "ime/hangul_skb_form.h"
#include "ime/help_form.h"
#include "ime/ime_commands.h"
#include "ime/ime_mode.h"
#include "ime/key_event.h"
#include "platform/platform.h"
#include "settings/app_state.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

void TForm1::setWindows(const Windows &windows)
{
    m_searchform = windows.searchform;
    m_helpform = windows.helpform;
    m_copyrightform = windows.copyrightform;
    m_exitform = windows.exitform;
    m_hangulskbform = windows.hangulskbform;
}

Tsearchform *TForm1::searchform() const
{
    return m_searchform;
}

Thelpform *TForm1::helpform() const
{
    return m_helpform;
}

Tcopyrightform *TForm1::copyrightform() const
{
    return m_copyrightform;
}

Texitform *TForm1::exitform() const
{
    return m_exitform;
}

Thangulskbform *TForm1::hangulskbform() const
{
    return m_hangulskbform;
}

Taccentform *TForm1::accentform() const
{
    return m_accentform;
}

Taccent2form *TForm1::accent2form() const
{
    return m_accent2form;
}

InputTargetSource TForm1::inputTarget()
{
    return [this] {
        InputTarget target;
        if (m_searchform && m_searchform->isVisible()) {
            QPointer<Tsearchform> dialog = m_searchform;
            target.control = &dialog->edit1();
            target.composer = &dialog->edit1Composer;
            target.pressFind = [dialog] {
                if (dialog)
                    dialog->Button1Click();
            };
            return target;
        }
        target.control = &m_memo;
        target.composer = &memoComposer;
        target.isDocument = true;
        return target;
    };
}

// Input method: modes and key dispatch.

void TForm1::setImeMode(int mode)
{
    ImeModeCommand::instance().choose(mode);
}

void TForm1::followImeMode(int mode)
{
    m_status->showMode(mode);
    m_memo.endComposition(); // the open syllable is decided as it stands
}

void TForm1::KoreaRomaIME1Click()
{
    imeModeItemTriggered(KoreaRomaIME1);
}

void TForm1::KoreaDirectIME1Click()
{
    imeModeItemTriggered(KoreaDirectIME1);
}

void TForm1::nonIME1Click()
{
    imeModeItemTriggered(nonIME1);
}

void TForm1::KoreanRomanizedinput1Click()
{
    imeModeItemTriggered(KoreanRomanizedinput1);
}

void TForm1::KoreanDirectinput1Click()
{
    imeModeItemTriggered(KoreanDirectinput1);
}

void TForm1::dontuseIME1Click()
{
    imeModeItemTriggered(dontuseIME1);
}

void TForm1::MenuItem7Click()
{
    imeModeItemTriggered(MenuItem7);
}

void TForm1::MenuItem8Click()
{
    imeModeItemTriggered(MenuItem8);
}

void TForm1::MenuItem9Click()
{
    imeModeItemTriggered(MenuItem9);
}

int TForm1::Memo1KeyPress(int key)
{
    m_document.keyTyped();
    return editorKeyPress(key, m_memo, memoComposer);
}

bool TForm1::memoKeyConsumed(QKeyEvent *event)
{
    // The Hanja key and F9 are commands, not typed keys.
    if (isHanjaKey(event)) {
        HangultoHanja1Click();
        return true;
    }
    const int key = composerKeyFromEvent(event);
    if (key == 0)
        return false;
    return Memo1KeyPress(key) == 0;
}

// Files: open and insert.

void TForm1::opentextfile1Click()
{
    openTextFileCommand(m_context, commandLineFile());
}

void TForm1::openDroppedFile(const QString &path)
{
    ::openDroppedFile(m_context, path);
}

void TForm1::reopenWithEncoding(std::optional<FileEncoding> encoding)
{
    ::reopenWithEncoding(m_context, encoding);
}

void TForm1::updateReopenCommand()
{
    reopenwithencoding1->menuAction()->setEnabled(!m_document.fileName().isEmpty());
}

void TForm1::openPath(const QString &path, std::optional<FileEncoding> encoding)
{
    ::openPath(m_context, path, encoding);
}

void TForm1::LoadTextFile(FileEncoding encoding, BomKind bom, const QString &path)
{
    loadIntoEditor(m_context, encoding, bom, path);
}

void TForm1::LoadTextFile(const QString &path)
{
    loadIntoEditor(m_context, path);
}

void TForm1::inserttextfile1Click()
{
    insertTextFileCommand(m_context);
}

void TForm1::InsertTextFile(FileEncoding encoding, BomKind, const QString &path)
{
    insertIntoEditor(m_context, encoding, path);
}

// Saving and exports.

bool TForm1::saveBeforeReplacing()
{
    return ::saveBeforeReplacing(m_context);
}

void TForm1::savefile1Click()
{
    saveDocument(m_context);
}

void TForm1::overwritesavefileUTF81Click()
{
    overwriteSaveCommand(m_context);
}

void TForm1::saveHTML99tagASCII1Click()
{
    exportHtmlCommand(m_context);
}

void TForm1::saveWithEncoding(OutputFormat format, const QString &item)
{
    saveWithEncodingCommand(m_context, format, item);
}

void TForm1::saveUnicodenumberlanguageC0x1Click()
{
    exportCArrayCommand(m_context);
}

// Find and kanji conversion.

void TForm1::find1Click()
{
    findCommand(m_context, m_searchform, [this](bool on) {
        FILE1->setEnabled(on);
        find1->setEnabled(on);
    });
}

void TForm1::KanjiJapantoHangulSelectArea1Click()
{
    // A conversion that changes the document marks it modified through the
    // editor's change notification.
    convertSelectionToHangul(m_memo, false);
}

void TForm1::KanjiJapantoHangulSelectAreaType21Click()
{
    convertSelectionToHangul(m_memo, true);
}

void TForm1::HangultoHanja1Click()
{
    if (!m_hanja)
        m_hanja = new HanjaCommand(Memo1, m_memo, memoComposer, m_hanjaDictionaries);
    m_hanja->run();
}

void TForm1::HangultoHanja2Click()
{
    HangultoHanja1Click();
}

void TForm1::composeHangul1Click()
{
    // A change marks the document modified through the editor's notification.
    normalizeHangulIn(m_memo, true);
}

void TForm1::decomposeHangul1Click()
{
    normalizeHangulIn(m_memo, false);
}

// Input aids: screen keyboard, keymap help, accent pads.

void TForm1::Screenkeyboard1Click()
{
    if (m_hangulskbform) {
        m_hangulskbform->show();
        m_hangulskbform->raise();
    }
}

void TForm1::Screenkeyboard2Click()
{
    Screenkeyboard1Click();
}

void TForm1::keymap1Click()
{
    if (m_helpform)
        bringUp(m_helpform);
}

void TForm1::AccentPAD1Click()
{
    openAccentPad(this, inputTarget(), m_accentform, m_accent2form);
}

void TForm1::AccentPAD2Click()
{
    openAccentPad(this, inputTarget(), m_accentform, m_accent2form);
}

void TForm1::destroyAccentPad()
{
    ::destroyAccentPad(m_accentform, m_accent2form);
}

// Desktop: shortcuts, web pages, about box. A browser that does not start is not
// reported: the command simply has no effect.

void TForm1::createShortcutinprogrammenu1Click()
{
    CreateProgramMenuShortcut(this, platform().executablePath());
}

void TForm1::createshortcutinDesktopmenu1Click()
{
    CreateDesktopShortcut(this, platform().executablePath());
}

void TForm1::Jumptoofficialwebsite1Click()
{
    platform().openUrl(officialWebSiteUrl());
}

void TForm1::JumptoTavrilJishowebsite1Click()
{
    platform().openUrl(tavrilJishoWebSiteUrl());
}

void TForm1::copyright1Click()
{
    showCopyrightForm(m_copyrightform, this);
}
