// The save command, its over-write variant and the two exports. All writing goes
// through DocumentWriter, so a failed save leaves the file that was there untouched
// and is reported, never shown as success.
#include "export/save_commands.h"

#include "app/app_state.h"
#include "app/document_state.h"
#include "app/editor_context.h"
#include "app/memo_view.h"
#include "app/text_control.h"
#include "export/document_writer.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QWidget>

#include <new>

namespace {

FileDialogRequest textSaveDialog()
{
    return {QCoreApplication::translate("SaveCommands", "Save a Text file"),
            {QCoreApplication::translate("SaveCommands", "Text files(*.txt)"),
             QCoreApplication::translate("SaveCommands", "HTML files(*.html)"),
             QCoreApplication::translate("SaveCommands", "All(*.*)")},
            QStringLiteral("txt"),
            {}};
}

FileDialogRequest htmlExportDialog()
{
    return {QCoreApplication::translate("SaveCommands", "Save Unicode number HTML &#99;tag file"),
            {QCoreApplication::translate("SaveCommands", "HTML files(*.html)"),
             QCoreApplication::translate("SaveCommands", "Text files(*.txt)"),
             QCoreApplication::translate("SaveCommands", "All(*.*)")},
            QStringLiteral("html"),
            {}};
}

FileDialogRequest cArrayExportDialog()
{
    return {QCoreApplication::translate("SaveCommands", "Save Unicode number language C 0x* file"),
            {QCoreApplication::translate("SaveCommands", "Text files(*.txt)"),
             QCoreApplication::translate("SaveCommands", "HTML files(*.html)"),
             QCoreApplication::translate("SaveCommands", "All(*.*)")},
            QStringLiteral("txt"),
            {}};
}

// The write procedure shared by the save and both exports.
SaveOutcome writeFormatted(EditorContext &editor, OutputFormat format,
                           const FileDialogRequest &dialog)
{
    QString path;
    if (saveToCurrentFile) {
        path = currentFileName;
        // The file holds codes the editor could not read: writing over it without
        // a dialog would lose them unless the user says so.
        if (editor.document->replacesUnreadable(path) &&
            !ConfirmBox(
                editor.window,
                QCoreApplication::translate(
                    "SaveCommands", "Some codes of this file could not be read. Over write it?"),
                QCoreApplication::translate("SaveCommands", "confirm")))
            return SaveOutcome::Cancelled;
    } else {
        path = platform().saveFileName(editor.window, dialog);
        if (path.isEmpty())
            return SaveOutcome::Cancelled;
    }

    // The waiting label stands in for the editor while the file is written; the
    // editor comes back on every way out.
    const EditorHiddenWhile hidden(*editor.memo);
    if (editor.editorArea->isVisible())
        editor.editorArea->repaint();
    const bool wrapped = editor.memo->wordWrap();
    bool written = false;
    try {
        // The store's blocks are encoded where they lie, through one fixed buffer:
        // no copy of the text.
        const TextStore &store = editor.view->store();
        const TextPieces text = [&store](const PieceVisitor &visit) {
            store.visitPieces(0, store.length(), visit);
        };

        DocumentWriter writer(path, format);
        if (!writer.open()) {
            hidden.showAgain();
            ErrorBox(editor.window, QCoreApplication::translate("SaveCommands", "can't file open"),
                     QCoreApplication::translate("SaveCommands", "ERROR"));
            return SaveOutcome::Failed;
        }

        if (wrapped)
            editor.memo->setWordWrap(false);
        editor.memo->setSelLength(0);
        const qsizetype caret = editor.memo->selStart();

        // The exports are text files of their own; the save keeps the document's breaks.
        written =
            writer.writeAndCommit(text, format == OutputFormat::Utf8 ? editor.document->lineBreak()
                                                                     : LineBreakStyle::CrLf);

        hidden.showAgain();
        if (wrapped) {
            editor.memo->setWordWrap(true);
            // With word wrap on the caret ends where the write left it: at the end.
            editor.memo->setSelStart(editor.memo->length());
        } else {
            editor.memo->setSelLength(0);
            editor.memo->setSelStart(caret);
        }
    } catch (const std::bad_alloc &) {
        written = false; // no room for the writer's buffer: nothing was replaced
        if (wrapped && !editor.memo->wordWrap())
            editor.memo->setWordWrap(true);
    }
    hidden.showAgain();
    editor.memo->setFocus();

    if (!written) {
        ErrorBox(editor.window, QCoreApplication::translate("SaveCommands", "can't file write"),
                 QCoreApplication::translate("SaveCommands", "ERROR"));
        return SaveOutcome::Failed;
    }
    editor.setPanelText(3, QStringLiteral("UTF-8 nonBOM  ") + path);
    editor.document->setWritten(path);
    return SaveOutcome::Saved;
}

} // namespace

SaveOutcome saveDocument(EditorContext &editor)
{
    const SaveOutcome outcome = writeFormatted(editor, OutputFormat::Utf8, textSaveDialog());
    if (outcome == SaveOutcome::Saved)
        documentModified = false;
    return outcome;
}

bool saveBeforeReplacing(EditorContext &editor)
{
    if (!documentModified ||
        !ConfirmBox(editor.window, QCoreApplication::translate("SaveCommands", "Save file?"),
                    QCoreApplication::translate("SaveCommands", "confirm")))
        return true; // nothing to keep, or the user let it go
    return saveOnTheWayOut(editor) == SaveOutcome::Saved;
}

SaveOutcome saveOnTheWayOut(EditorContext &editor)
{
    saveToCurrentFile = !currentFileName.isEmpty();
    const SaveOutcome outcome = saveDocument(editor);
    saveToCurrentFile = false;
    return outcome;
}

SaveOutcome overwriteSaveCommand(EditorContext &editor)
{
    saveToCurrentFile = !currentFileName.isEmpty();
    const SaveOutcome outcome = saveDocument(editor);
    saveToCurrentFile = false;
    return outcome;
}

SaveOutcome exportHtmlCommand(EditorContext &editor)
{
    return writeFormatted(editor, OutputFormat::Html, htmlExportDialog());
}

SaveOutcome exportCArrayCommand(EditorContext &editor)
{
    return writeFormatted(editor, OutputFormat::CArray, cArrayExportDialog());
}
