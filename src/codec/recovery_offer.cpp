#include "codec/recovery_offer.h"

#include "codec/open_commands.h"
#include "document/document.h"
#include "document/file_identity.h"
#include "document/text_control.h"
#include "editor/editor_context.h"
#include "platform/platform.h"
#include "recovery/document_journal.h"
#include "recovery/recovery_folder.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <algorithm>

namespace {

// The kept text becomes the document's, modified; the file is untouched until
// the user saves. A fresh journal holds it before the old one goes.
void restore(EditorContext &editor, const QString &text)
{
    editor.journal->beginLoad();
    editor.document->store().setText(text); // an edit: the document is modified
    editor.journal->setBase(false);
    editor.journal->startWithSnapshot();
    editor.journal->flush();
    editor.memo->setSelLength(0);
    editor.memo->setSelStart(0);
}

} // namespace

void offerKeptChanges(EditorContext &editor, const QString &path)
{
    if (!editor.journal || editor.document->fileName().isEmpty())
        return; // the file exists but could not be read: nothing to apply to
    std::vector<FoundJournal> found =
        findJournals(recoveryFolder(), QFileInfo(path).absoluteFilePath());
    if (found.empty())
        return;
    FoundJournal &kept = found.front();
    const JournalHead head = kept.scan.head;
    bool asked = false;
    if (journalMatchesFile(head)) {
        if (!ConfirmBox(editor.window,
                        QCoreApplication::translate(
                            "RecoveryOffer",
                            "Unsaved changes to this file were kept when the editor "
                            "last ended without saving. Recover them?"),
                        QCoreApplication::translate("RecoveryOffer", "confirm"))) {
            removeJournal(kept);
            return;
        }
        asked = true;
        // The records apply to the text as it was read then.
        const DocumentEncoding encoding{FileEncoding(head.encoding), BomKind(head.bomKind)};
        if (!(editor.document->encoding() == encoding))
            loadIntoEditor(editor, encoding.encoding, encoding.bom, path);
        if (editor.document->store().length() == head.baseLength) {
            restore(editor, replayJournal(kept.file, editor.document->store().text()));
            removeJournal(kept);
            return;
        }
    }
    if (kept.scan.snapshots > 0) {
        if (!asked && !ConfirmBox(editor.window,
                                  QCoreApplication::translate(
                                      "RecoveryOffer",
                                      "Unsaved changes to this file were kept when the editor "
                                      "last ended without saving, but the file has changed "
                                      "since. Open the kept text instead?"),
                                  QCoreApplication::translate("RecoveryOffer", "confirm"))) {
            removeJournal(kept);
            return;
        }
        restore(editor, replayJournal(kept.file, {}));
        removeJournal(kept);
        return;
    }
    // The records fit a text that is gone: kept where the user can find them.
    const QString aside = keepJournalAside(kept);
    if (aside.isEmpty())
        return; // left where it was, offered again next time
    InformationBox(editor.window,
                   QCoreApplication::translate(
                       "RecoveryOffer", "Unsaved changes kept for this file could not be applied "
                                        "because the file has changed. They are kept in %1.")
                       .arg(aside),
                   QCoreApplication::translate("RecoveryOffer", "information"));
}

void offerKeptUntitledText(EditorContext &editor)
{
    if (!editor.journal)
        return;
    std::vector<FoundJournal> found = findJournals(recoveryFolder(), QString());
    if (found.empty())
        return;
    FoundJournal &kept = found.front();
    if (!ConfirmBox(editor.window,
                    QCoreApplication::translate(
                        "RecoveryOffer", "Unsaved text was kept when the editor last ended without "
                                         "saving. Recover it?"),
                    QCoreApplication::translate("RecoveryOffer", "confirm"))) {
        removeJournal(kept);
        return;
    }
    restore(editor, replayJournal(kept.file, {}));
    removeJournal(kept);
}

void offerReloadIfChanged(EditorContext &editor, FileIdentity &askedAbout)
{
    Document &document = *editor.document;
    const QString path = document.fileName();
    if (path.isEmpty())
        return;
    const FileIdentity now = FileIdentity::of(path);
    if (!now.exists() || now == document.fileIdentity() || now == askedAbout)
        return;
    askedAbout = now;
    const QString question =
        document.isModified()
            ? QCoreApplication::translate(
                  "RecoveryOffer",
                  "The file was changed by another program. Reload it and lose your "
                  "changes?")
            : QCoreApplication::translate("RecoveryOffer",
                                          "The file was changed by another program. Reload it?");
    if (!ConfirmBoxDefaultNo(editor.window, question,
                             QCoreApplication::translate("RecoveryOffer", "confirm")))
        return;
    const TextStore &store = document.store();
    const qsizetype caret = editor.memo->selStart();
    const qsizetype line = store.lineAt(caret);
    const qsizetype column = caret - store.lineStart(line);
    document.abandonChanges(); // the user lets them go, with their journal
    openPath(editor, path);
    if (line < store.lineCount()) {
        editor.memo->setSelStart(store.lineStart(line) + std::min(column, store.lineLength(line)));
        editor.memo->setSelLength(0);
    }
}
