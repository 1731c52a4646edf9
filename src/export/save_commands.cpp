// The save command, its over-write variant and the two exports. All writing goes
// through DocumentWriter, so a failed save leaves the file that was there untouched
// and is reported, never shown as success.
#include "app/app_state.h"
#include "app/main_window.h"
#include "export/document_writer.h"
#include "platform/platform.h"

#include <new>

namespace {

FileDialogRequest textSaveDialog()
{
    return {QStringLiteral("Save a Text file"),
            {QStringLiteral("Text files(*.txt)"), QStringLiteral("HTML files(*.html)"),
             QStringLiteral("All(*.*)")},
            QStringLiteral("txt"),
            {}};
}

FileDialogRequest htmlExportDialog()
{
    return {QStringLiteral("Save Unicode number HTML &#99;tag file"),
            {QStringLiteral("HTML files(*.html)"), QStringLiteral("Text files(*.txt)"),
             QStringLiteral("All(*.*)")},
            QStringLiteral("html"),
            {}};
}

FileDialogRequest cArrayExportDialog()
{
    return {QStringLiteral("Save Unicode number language C 0x* file"),
            {QStringLiteral("Text files(*.txt)"), QStringLiteral("HTML files(*.html)"),
             QStringLiteral("All(*.*)")},
            QStringLiteral("txt"),
            {}};
}

} // namespace

TForm1::SaveOutcome TForm1::writeFormatted(OutputFormat format, const FileDialogRequest &dialog)
{
    QString path;
    if (saveToCurrentFile) {
        path = currentFileName;
        // The file holds codes the editor could not read: writing over it without
        // a dialog would lose them unless the user says so.
        if (m_document.replacesUnreadable(path) &&
            !ConfirmBox(this,
                        QStringLiteral("Some codes of this file could not be read. Over write it?"),
                        QStringLiteral("confirm")))
            return SaveOutcome::Cancelled;
    } else {
        path = platform().saveFileName(this, dialog);
        if (path.isEmpty())
            return SaveOutcome::Cancelled;
    }

    // The waiting label stands in for the editor while the file is written; the
    // editor comes back on every way out.
    const EditorHiddenWhile hidden(m_memo);
    if (centralWidget()->isVisible())
        centralWidget()->repaint();
    const bool wrapped = m_memo.wordWrap();
    bool written = false;
    try {
        // The text is taken once; the encoded form passes through one fixed buffer.
        const QString text = m_memo.text();

        DocumentWriter writer(path, format);
        if (!writer.open()) {
            hidden.showAgain();
            ErrorBox(this, QStringLiteral("can't file open"), QStringLiteral("ERROR"));
            return SaveOutcome::Failed;
        }

        if (wrapped)
            m_memo.setWordWrap(false);
        m_memo.setSelLength(0);
        const qsizetype caret = m_memo.selStart();

        // The exports are text files of their own; the save keeps the document's breaks.
        written = writer.writeAndCommit(text, format == OutputFormat::Utf8 ? m_document.lineBreak()
                                                                           : LineBreakStyle::CrLf);

        hidden.showAgain();
        if (wrapped) {
            m_memo.setWordWrap(true);
            // With word wrap on the caret ends where the write left it: at the end.
            m_memo.setSelStart(m_memo.length());
        } else {
            m_memo.setSelLength(0);
            m_memo.setSelStart(caret);
        }
    } catch (const std::bad_alloc &) {
        written = false; // no room for the text's copy: nothing was replaced
        if (wrapped && !m_memo.wordWrap())
            m_memo.setWordWrap(true);
    }
    hidden.showAgain();
    m_memo.setFocus();

    if (!written) {
        ErrorBox(this, QStringLiteral("can't file write"), QStringLiteral("ERROR"));
        return SaveOutcome::Failed;
    }
    setPanelText(3, QStringLiteral("UTF-8 nonBOM  ") + path);
    m_document.setWritten(path);
    return SaveOutcome::Saved;
}

TForm1::SaveOutcome TForm1::saveDocument()
{
    const SaveOutcome outcome = writeFormatted(OutputFormat::Utf8, textSaveDialog());
    if (outcome == SaveOutcome::Saved)
        documentModified = false;
    return outcome;
}

bool TForm1::saveBeforeReplacing()
{
    if (!documentModified ||
        !ConfirmBox(this, QStringLiteral("Save file?"), QStringLiteral("confirm")))
        return true; // nothing to keep, or the user let it go
    return saveOnTheWayOut() == SaveOutcome::Saved;
}

TForm1::SaveOutcome TForm1::saveOnTheWayOut()
{
    saveToCurrentFile = !currentFileName.isEmpty();
    const SaveOutcome outcome = saveDocument();
    saveToCurrentFile = false;
    return outcome;
}

void TForm1::savefile1Click()
{
    saveDocument();
}

void TForm1::overwritesavefileUTF81Click()
{
    saveToCurrentFile = !currentFileName.isEmpty();
    saveDocument();
    saveToCurrentFile = false;
}

void TForm1::saveHTML99tagASCII1Click()
{
    writeFormatted(OutputFormat::Html, htmlExportDialog());
}

void TForm1::saveUnicodenumberlanguageC0x1Click()
{
    writeFormatted(OutputFormat::CArray, cArrayExportDialog());
}
