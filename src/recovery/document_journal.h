// Keeps a document's recovery journal in step with its text: started at the
// first change, every change appended (from the store's one notification), a
// fresh start with a snapshot when it grows too large, deleted when the text is
// saved to its file or let go. Copies of the whole text (a journal over a text
// that is not the file as read, a restart) are taken right after the key that
// asked for them, never inside it.
#pragma once

#include "recovery/journal_format.h"
#include "recovery/recovery_journal.h"

#include <QObject>

#include <memory>

class TextStore;

class DocumentJournal : public QObject
{
    Q_OBJECT
public:
    // Journals in `folder` (made at the first change).
    DocumentJournal(TextStore &store, QString folder, QObject *parent = nullptr);
    ~DocumentJournal() override; // keeps what is there, as after a crash

    // Changes from here until setBase() are a file's text arriving, not edits.
    void beginLoad();
    // The text is now the document `head` describes (its file, identity, encoding).
    // `textIsFile`: it is that file's bytes as read, so the journal's records
    // are replayed over the file; otherwise a journal starts with a snapshot.
    // Any journal so far is deleted.
    void setBase(JournalHead head, bool textIsFile);
    // Starts the journal now with a snapshot of the text (a recovered text).
    void startWithSnapshot();

    // Deletes the journal: the text was saved to its file or the user let the
    // changes go. The next change starts a new one (with a snapshot).
    void discard();
    // Writes out what is queued and ends, keeping the journal for the next start.
    void keep();
    // Waits until what is queued is on disk.
    bool flush();

    bool active() const { return m_journal != nullptr; }
    QString journalPath() const { return m_journal ? m_journal->filePath() : QString(); }
    const JournalHead &head() const { return m_head; }
    // Restart threshold above twice the text's size (1 MB; smaller in tests).
    void setRestartSlack(qint64 bytes) { m_slack = bytes; }

    // Runs what the last changes asked for (a start with a snapshot, a restart).
    // Called from the event loop right after them; callable by hand.
    void service();

private:
    void changed(qsizetype pos, qsizetype removed, qsizetype added);
    void schedule();

    TextStore &m_store;
    QString m_folder;
    JournalHead m_head;
    bool m_baseIsFile = true;
    bool m_loading = false;
    bool m_startPending = false;
    bool m_restartPending = false;
    bool m_scheduled = false;
    qint64 m_slack = 1024 * 1024;
    std::unique_ptr<RecoveryJournal> m_journal;
};

// The text the journal file gives back over `base` (the file's text as read; a
// journal that starts with a snapshot does not use it): its kept records applied
// in order.
QString replayJournal(const QString &file, QStringView base);

// Replays a journal into a store: snapshots replace its text, edits are applied
// in order, without undo steps.
class StoreReplay : public JournalSink
{
public:
    explicit StoreReplay(TextStore &store) : m_store(store) {}
    void snapshot(QStringView text) override;
    void edit(qint64 pos, qint64 removed, QStringView added) override;

private:
    TextStore &m_store;
};
