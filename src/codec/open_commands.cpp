#include "codec/open_commands.h"

#include "codec/file_reading.h"
#include "codec/recovery_offer.h"
#include "codec/store_loading.h"
#include "document/document.h"
#include "document/text_control.h"
#include "editor/editor_context.h"
#include "editor/memo_view.h"
#include "editor/status_panels.h"
#include "export/save_commands.h"
#include "platform/platform.h"
#include "recovery/document_journal.h"
#include "settings/app_state.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QScopeGuard>

#include <new>

namespace {

// OpenDialog1, configured anew by each command.
FileDialogRequest OpenDialog1(const QString &title)
{
    FileDialogRequest request;
    request.title = title;
    request.filters = {QCoreApplication::translate("OpenCommands", "Text files(*.txt)"),
                       QCoreApplication::translate("OpenCommands", "HTML files(*.html)"),
                       QCoreApplication::translate("OpenCommands", "All(*.*)")};
    request.defaultSuffix = QStringLiteral("txt");
    return request;
}

// Paints the waiting label, which stands in the hidden editor's place, without
// processing events: no key or click may reach the document while it is read.
// The whole window is painted, so that nothing of the closed file dialog stays
// on screen meanwhile.
void paintWaitingLabel(EditorContext &editor)
{
    editor.waitingLabel->repaint();
    if (editor.window->isVisible())
        editor.window->repaint();
}

void focusEditor(EditorContext &editor)
{
    editor.view->repaint();
    editor.memo->setFocus();
}

// The style a document's saves write: that of the file's first line break, CR LF
// for a file without one.
LineBreakStyle styleOf(LineEnd firstBreak)
{
    switch (firstBreak) {
    case LineEnd::Lf:
        return LineBreakStyle::Lf;
    case LineEnd::Cr:
        return LineBreakStyle::Cr;
    default:
        return LineBreakStyle::CrLf;
    }
}

QStringView view(const TextBuffer &text)
{
    return QStringView(text.data(), qsizetype(text.size()));
}

// Panel 3 after a read: the label, what could not be read, two blanks, the path.
QString readStatusText(FileEncoding encoding, BomKind bom, std::uint64_t unreadable,
                       const QString &path)
{
    QString text = QString::fromLatin1(EncodingLabel(encoding, bom));
    if (unreadable > 0)
        text += QCoreApplication::translate("OpenCommands", " (%1 unreadable)").arg(unreadable);
    return text + QStringLiteral("  ") + path;
}

} // namespace

void openCommandLineFile(EditorContext &editor, const QString &path)
{
    openingFromCommandLine = true;
    openTextFileCommand(editor, path);
}

void openTextFileCommand(EditorContext &editor, const QString &commandLineFile)
{
    const FileDialogRequest dialog =
        OpenDialog1(QCoreApplication::translate("OpenCommands", "Open a Text file"));
    QString path;
    if (openingFromCommandLine) {
        openingFromCommandLine = false;
        path = commandLineFile;
    } else {
        // A modified document is offered for saving before it is replaced.
        if (!saveBeforeReplacing(editor))
            return;
        path = platform().openFileName(editor.window, dialog);
        if (path.isEmpty())
            return;
    }
    openPath(editor, path);
}

void openDroppedFile(EditorContext &editor, const QString &path)
{
    if (!saveBeforeReplacing(editor))
        return;
    openPath(editor, path);
}

void reopenWithEncoding(EditorContext &editor, std::optional<FileEncoding> encoding)
{
    const QString path = editor.document->fileName(); // the load rewrites it
    if (path.isEmpty())
        return; // no file to read again
    if (!saveBeforeReplacing(editor))
        return;
    openPath(editor, path, encoding);
}

void openPath(EditorContext &editor, const QString &path, std::optional<FileEncoding> encoding)
{
    // The user's decoding is used whatever the contents say; the mark is still
    // skipped and named in the label.
    const EncodingChoice choice =
        encoding ? EncodingChoice{*encoding, DetectBom(path)} : ChooseEncoding(path);
    {
        const EditorHiddenWhile hidden(*editor.memo);
        paintWaitingLabel(editor);
        loadIntoEditor(editor, choice.encoding, choice.bom, path);
        editor.memo->setSelLength(0);
        editor.memo->setSelStart(0);
        editor.memo->setSelLength(0);
    }
    focusEditor(editor);
    // What the editor kept of this file when it last ended without saving.
    offerKeptChanges(editor, path);
}

void loadIntoEditor(EditorContext &editor, FileEncoding encoding, BomKind bom, const QString &path)
{
    const Document::Loading loading(*editor.document);
    // The text that arrives is the file as read (or nothing): what a journal's
    // records will be replayed over.
    if (editor.journal)
        editor.journal->beginLoad();
    const auto journalBase = qScopeGuard([&editor] {
        if (editor.journal)
            editor.journal->setBase(true);
    });
    // The old document goes first, so that it and the new one are never held together.
    editor.memo->setText(QString());
    editor.document->setLoaded(LineBreakStyle::CrLf);
    editor.status->showFileLabel(readStatusText(encoding, bom, 0, path));
    editor.status->showCaret(1, 1);
    editor.document->setFileName(path);

    // The decoded lines go straight into the editor's store, with no copy of the whole.
    FileReadResult result = LoadTextFile(path, encoding, editor.document->store());
    if (result.status == ReadStatus::ReadFailed)
        editor.memo->setText(QString()); // a part of a file is never shown as the file
    if (result.status == ReadStatus::Read) {
        // Korean text is labelled by what the whole file holds, not the sample.
        if (encoding == EUCKR || encoding == CP949)
            encoding = result.extension ? CP949 : EUCKR;
        editor.document->setLoaded(styleOf(result.firstBreak), path, result.unreadable,
                                   {encoding, bom});
        editor.status->showFileLabel(readStatusText(encoding, bom, result.unreadable, path));
        return;
    }
    // A path that does not exist is remembered, so that the first save creates the
    // file. A file that exists but was not read whole must never be saved over.
    const bool keepPath = result.status == ReadStatus::OpenFailed && !QFileInfo::exists(path);
    if (!keepPath) {
        editor.document->setFileName(QString());
        editor.status->showFileLabel(QString());
    }
    editor.document->setLoaded(LineBreakStyle::CrLf);
    if (editor.view->isHidden())
        editor.memo->setVisible(true); // the error box must not stand over the waiting label
    ErrorBox(editor.window,
             result.status == ReadStatus::ReadFailed
                 ? QCoreApplication::translate("OpenCommands", "can't file read")
                 : QCoreApplication::translate("OpenCommands", "can't file open"),
             QCoreApplication::translate("OpenCommands", "ERROR"));
}

void loadIntoEditor(EditorContext &editor, const QString &path)
{
    const EncodingChoice choice = ChooseEncoding(path);
    loadIntoEditor(editor, choice.encoding, choice.bom, path);
    editor.memo->setSelLength(0);
    editor.memo->setSelStart(0);
    editor.memo->setSelLength(0);
}

void insertTextFileCommand(EditorContext &editor)
{
    const QString path = platform().openFileName(
        editor.window,
        OpenDialog1(QCoreApplication::translate("OpenCommands", "Insert a Text file")));
    if (path.isEmpty())
        return;
    const EncodingChoice choice = ChooseEncoding(path);
    {
        const EditorHiddenWhile hidden(*editor.memo);
        paintWaitingLabel(editor);
        // A selection is collapsed to its end and kept; the file goes in after it.
        editor.memo->setSelStart(editor.memo->selStart() + editor.memo->selLength());
        insertIntoEditor(editor, choice.encoding, path);
    }
    focusEditor(editor);
}

void insertIntoEditor(EditorContext &editor, FileEncoding encoding, const QString &path)
{
    try {
        TextBuffer text;
        if (ReadTextFile(path, encoding, text).status != ReadStatus::Read)
            return; // the insert command fails silently
        // The lines joined by line breaks, none after the last (a file's final break
        // is dropped); the caret ends behind them.
        QStringView lines = view(text);
        if (lines.endsWith(u'\n'))
            lines.chop(1);
        editor.memo->replaceSelection(lines);
    } catch (const std::bad_alloc &) {
        // no room for the file's text: the document stays as it was
    }
}
