// One document's recovery journal while the program runs: the file held with a
// lock, records appended from the GUI thread into an in-memory queue (never a
// write in the key press) and written and synced to disk by a thread of its own
// as soon as they arrive, so that what was typed is on disk within a second.
#pragma once

#include "recovery/journal_format.h"

#include <QByteArray>
#include <QLockFile>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

class RecoveryJournal
{
public:
    // Starts a journal in `folder` (made when missing) for `head`. When
    // `hashFile` is set and the file there still has head.identity, the thread
    // hashes its bytes into the head before writing it. `snapshot`, when given,
    // is the first record (a document whose text is not the file as read).
    // Null when the folder or the file cannot be made or locked.
    static std::unique_ptr<RecoveryJournal> start(const QString &folder, JournalHead head,
                                                  bool hashFile,
                                                  std::optional<QString> snapshot = {});
    ~RecoveryJournal(); // keeps the file (see keep()); discard() to delete it

    RecoveryJournal(const RecoveryJournal &) = delete;
    RecoveryJournal &operator=(const RecoveryJournal &) = delete;

    // Queues one change of the text. Cheap: serialises into memory, wakes the thread.
    void appendEdit(qint64 pos, qint64 removed, QStringView added);
    // Queues a fresh start: the journal is replaced by the head and `text`.
    void restart(QStringView text);
    // True when the journal has grown past twice the text's size plus `slack`
    // bytes and should start afresh with a snapshot.
    bool wantsRestart(qint64 textUnits, qint64 slack = 1024 * 1024) const;

    // Waits until everything queued is on disk. False when a write failed.
    bool flush();
    // Ends the thread after flushing; the file stays for the next start to offer.
    void keep();
    // Ends the thread and deletes the file and its lock.
    void discard();

    QString filePath() const { return m_file; }
    bool failed() const { return m_failed.load(); }
    // Bytes the journal holds once the queue is written.
    qint64 size() const { return m_size; }

private:
    struct Chunk
    {
        bool restart = false; // replace the file by the head and these bytes
        QByteArray bytes;
        quint64 items = 0; // edits and restarts it holds
    };

    RecoveryJournal(QString file, int fd, std::unique_ptr<QLockFile> lock);
    void run(JournalHead head, bool hashFile, std::optional<QString> snapshot);
    bool replaceFile(const QByteArray &bytes);
    void stop();
    void queue(bool restart, qsizetype reserve, const std::function<void(QByteArray &)> &put);

    const QString m_file;
    std::unique_ptr<QLockFile> m_lock;
    int m_fd = -1;          // the writer thread's while it runs
    QByteArray m_headBytes; // magic and head record, for restarts (writer thread)
    qint64 m_headSize = 0;  // the rest: the owner's thread only
    qint64 m_size = 0;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::vector<Chunk> m_queue; // guarded by m_mutex
    quint64 m_queued = 0;       // chunks ever queued, guarded by m_mutex
    quint64 m_written = 0;      // chunks written, guarded by m_mutex
    bool m_stop = false;        // guarded by m_mutex
    std::atomic<bool> m_failed{false};
    std::thread m_thread;
};
