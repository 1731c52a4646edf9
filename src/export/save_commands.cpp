// The save command, its over-write variant and the two exports. All writing goes
// through DocumentWriter, so a failed save leaves the file that was there untouched
// and is reported, never shown as success.
#include "export/save_commands.h"

#include "codec/encoders.h"
#include "document/document.h"
#include "document/file_identity.h"
#include "document/text_control.h"
#include "editor/editor_context.h"
#include "editor/memo_view.h"
#include "editor/status_panels.h"
#include "export/document_writer.h"
#include "platform/platform.h"
#include "settings/app_state.h"

#include <QCoreApplication>
#include <QWidget>

#include <new>
#include <optional>

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

// Another program wrote the document's file after it was read or written here:
// writing over it would lose that unless the user says so (No is the default).
// A file deleted meanwhile is simply written again.
bool overWriteAllowed(EditorContext &editor, const QString &path)
{
    if (!isSameFile(path, editor.document->fileName()) ||
        !changedOnDisk(path, editor.document->fileIdentity()))
        return true;
    return ConfirmBoxDefaultNo(
        editor.window,
        QCoreApplication::translate(
            "SaveCommands",
            "The file was changed by another program after it was opened. Over write it?"),
        QCoreApplication::translate("SaveCommands", "confirm"));
}

// The write procedure shared by the saves and both exports; `label` goes before
// the path in status panel 3 when the file was written.
SaveOutcome writeFormatted(EditorContext &editor, OutputFormat format,
                           const FileDialogRequest &dialog,
                           const QString &label = QStringLiteral("UTF-8 nonBOM"))
{
    QString path;
    if (saveToCurrentFile) {
        path = editor.document->fileName();
        if (!overWriteAllowed(editor, path))
            return SaveOutcome::Cancelled;
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
        if (path.isEmpty() || !overWriteAllowed(editor, path))
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

        // The exports are text files of their own; the saves keep the document's breaks.
        written = writer.writeAndCommit(text, isTextFormat(format) ? editor.document->lineBreak()
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
    editor.status->showFileLabel(label + QStringLiteral("  ") + path);
    // A save writes the document as it is; an export is another file's text.
    if (isTextFormat(format))
        editor.document->setSaved(path);
    else
        editor.document->setWritten(path);
    return SaveOutcome::Saved;
}

std::optional<LegacyEncoding> legacyEncodingOf(OutputFormat format)
{
    switch (format) {
    case OutputFormat::ShiftJis:
        return LegacyEncoding::ShiftJis;
    case OutputFormat::EucJp:
        return LegacyEncoding::EucJp;
    case OutputFormat::Cp949:
        return LegacyEncoding::Cp949;
    default:
        return std::nullopt;
    }
}

// The status label of a file written in `format`; code page 949 is "EUC-KR"
// unless an extension code was written.
QString writtenLabel(OutputFormat format, bool extension)
{
    switch (format) {
    case OutputFormat::Utf8Bom:
        return QStringLiteral("UTF-8 BOM");
    case OutputFormat::Utf16Le:
        return QStringLiteral("UTF16 BOM LE");
    case OutputFormat::Utf16Be:
        return QStringLiteral("UTF16 BOM BE");
    case OutputFormat::ShiftJis:
        return QStringLiteral("SJIS");
    case OutputFormat::EucJp:
        return QStringLiteral("EUC");
    case OutputFormat::Cp949:
        return extension ? QStringLiteral("CP949") : QStringLiteral("EUC-KR");
    default:
        return QStringLiteral("UTF-8 nonBOM");
    }
}

// Reports what `encoding` cannot hold and moves the caret to the first of it;
// false when there is nothing. Line and column as status panel 1 counts them.
bool refuseUnencodable(EditorContext &editor, const Unencodable &found, const QString &item)
{
    if (found.count == 0)
        return false;
    const TextStore &store = editor.view->store();
    const qsizetype offset = qsizetype(found.firstOffset);
    const qsizetype line = store.lineAt(offset);
    const qsizetype column = offset - store.lineStart(line);
    const QString code = QString::number(uint(found.first), 16).toUpper().rightJustified(4, u'0');
    const QString where = QCoreApplication::translate("SaveCommands", "U+%1 at line %2, column %3.")
                              .arg(code)
                              .arg(line + 1)
                              .arg(column + 1);
    const QString text =
        found.count == 1
            ? QCoreApplication::translate("SaveCommands", "1 character cannot be written in %1: %2")
                  .arg(item, where)
            : QCoreApplication::translate("SaveCommands",
                                          "%1 characters cannot be written in %2; the first is %3")
                  .arg(found.count)
                  .arg(item, where);
    editor.memo->setSelStart(offset);
    editor.status->showCaret(int(line + 1), int(column + 1));
    ErrorBox(editor.window, text, QCoreApplication::translate("SaveCommands", "ERROR"));
    editor.memo->setFocus();
    return true;
}

} // namespace

SaveOutcome saveWithEncodingCommand(EditorContext &editor, OutputFormat format, const QString &item)
{
    bool extension = false;
    if (const auto legacy = legacyEncodingOf(format)) {
        UnencodableScanner scanner(*legacy);
        const TextStore &store = editor.view->store();
        store.visitPieces(0, store.length(), [&scanner](QStringView piece) {
            scanner.scan(reinterpret_cast<const char16_t *>(piece.utf16()),
                         std::size_t(piece.size()));
            return true;
        });
        const Unencodable found = scanner.finish();
        if (refuseUnencodable(editor, found, item))
            return SaveOutcome::Failed;
        extension = found.extension;
    }
    FileDialogRequest dialog = textSaveDialog();
    dialog.initialPath = editor.document->fileName();
    return writeFormatted(editor, format, dialog, writtenLabel(format, extension));
}

SaveOutcome saveDocument(EditorContext &editor)
{
    return writeFormatted(editor, OutputFormat::Utf8, textSaveDialog());
}

bool saveBeforeReplacing(EditorContext &editor)
{
    if (!editor.document->isModified() ||
        !ConfirmBox(editor.window, QCoreApplication::translate("SaveCommands", "Save file?"),
                    QCoreApplication::translate("SaveCommands", "confirm")))
        return true; // nothing to keep, or the user let it go
    return saveOnTheWayOut(editor) == SaveOutcome::Saved;
}

SaveOutcome overwriteSaveCommand(EditorContext &editor)
{
    saveToCurrentFile = !editor.document->fileName().isEmpty();
    const SaveOutcome outcome = saveDocument(editor);
    saveToCurrentFile = false;
    return outcome;
}

SaveOutcome saveOnTheWayOut(EditorContext &editor)
{
    return overwriteSaveCommand(editor);
}

SaveOutcome exportHtmlCommand(EditorContext &editor)
{
    return writeFormatted(editor, OutputFormat::Html, htmlExportDialog());
}

SaveOutcome exportCArrayCommand(EditorContext &editor)
{
    return writeFormatted(editor, OutputFormat::CArray, cArrayExportDialog());
}
