#include "recovery/recovery_journal.h"

#include "recovery/recovery_folder.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool writeAll(int fd, const char *p, qsizetype size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, p, std::size_t(size));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= n;
    }
    return true;
}

int openNew(const QString &path, bool truncate)
{
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : O_EXCL), 0600);
    if (fd >= 0)
        ::fchmod(fd, 0600); // whatever the umask
    return fd;
}

// A renamed or created entry survives a power cut only once its folder is synced.
void syncFolderOf(const QString &file)
{
    const int dir =
        ::open(QFile::encodeName(QFileInfo(file).absolutePath()).constData(), O_RDONLY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

std::unique_ptr<RecoveryJournal> RecoveryJournal::start(const QString &folder, JournalHead head,
                                                        bool hashFile,
                                                        std::optional<QString> snapshot)
{
    if (!ensureRecoveryFolder(folder))
        return nullptr;
    const QString file = folder + newJournalName(head.path);
    auto lock = std::make_unique<QLockFile>(journalLockPath(file));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    const int fd = openNew(file, false);
    if (fd < 0)
        return nullptr;
    if (head.createdMs == 0)
        head.createdMs = QDateTime::currentMSecsSinceEpoch();
    std::unique_ptr<RecoveryJournal> journal(new RecoveryJournal(file, fd, std::move(lock)));
    QByteArray headBytes;
    appendHeadRecord(headBytes, head);
    journal->m_headSize = journalMagic().size() + headBytes.size() + 64; // room for the hash
    journal->m_size = journal->m_headSize + (snapshot ? snapshot->size() * 2 + 16 : 0);
    journal->m_thread = std::thread(&RecoveryJournal::run, journal.get(), std::move(head), hashFile,
                                    std::move(snapshot));
    return journal;
}

RecoveryJournal::RecoveryJournal(QString file, int fd, std::unique_ptr<QLockFile> lock)
    : m_file(std::move(file)), m_lock(std::move(lock)), m_fd(fd)
{
}

RecoveryJournal::~RecoveryJournal()
{
    if (m_thread.joinable())
        keep();
}

void RecoveryJournal::queue(bool restart, qsizetype reserve,
                            const std::function<void(QByteArray &)> &put)
{
    bool wake;
    {
        const std::lock_guard guard(m_mutex);
        wake = m_queue.empty();
        if (restart || m_queue.empty() || m_queue.back().restart)
            m_queue.push_back({restart, {}, 0});
        Chunk &chunk = m_queue.back();
        if (chunk.bytes.capacity() < chunk.bytes.size() + reserve)
            chunk.bytes.reserve(std::max<qsizetype>(chunk.bytes.size() * 2 + reserve, 4096));
        put(chunk.bytes);
        ++chunk.items;
        ++m_queued;
    }
    if (wake)
        m_wake.notify_one();
}

void RecoveryJournal::appendEdit(qint64 pos, qint64 removed, QStringView added)
{
    const qint64 bytes = editRecordSize(added.size());
    queue(false, qsizetype(bytes),
          [&](QByteArray &out) { appendEditRecord(out, pos, removed, added); });
    m_size += bytes;
}

void RecoveryJournal::restart(QStringView text)
{
    queue(true, text.size() * 2 + 16, [&](QByteArray &out) { appendSnapshotRecord(out, text); });
    m_size = m_headSize + text.size() * 2 + 16;
}

bool RecoveryJournal::wantsRestart(qint64 textUnits, qint64 slack) const
{
    // The text's size as the journal holds it: two bytes a unit. The head's few
    // bytes do not count, so a fresh snapshot never asks for another.
    return m_size - m_headSize > 2 * (2 * textUnits) + slack;
}

bool RecoveryJournal::flush()
{
    std::unique_lock guard(m_mutex);
    const quint64 target = m_queued;
    m_done.wait(guard, [&] { return m_written >= target || !m_thread.joinable(); });
    return !m_failed.load();
}

void RecoveryJournal::stop()
{
    if (!m_thread.joinable())
        return;
    {
        const std::lock_guard guard(m_mutex);
        m_stop = true;
    }
    m_wake.notify_one();
    m_thread.join();
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void RecoveryJournal::keep()
{
    stop(); // the thread writes everything queued before it ends
    m_lock.reset();
}

void RecoveryJournal::discard()
{
    stop();
    QFile::remove(m_file);
    m_lock.reset();
}

bool RecoveryJournal::replaceFile(const QByteArray &bytes)
{
    const QString fresh = m_file + QStringLiteral(".new");
    const int fd = openNew(fresh, true);
    if (fd < 0)
        return false;
    if (!writeAll(fd, m_headBytes.constData(), m_headBytes.size()) ||
        !writeAll(fd, bytes.constData(), bytes.size()) || ::fdatasync(fd) != 0 ||
        ::rename(QFile::encodeName(fresh).constData(), QFile::encodeName(m_file).constData()) !=
            0) {
        ::close(fd);
        QFile::remove(fresh);
        return false;
    }
    syncFolderOf(m_file);
    ::close(m_fd);
    m_fd = fd;
    return true;
}

void RecoveryJournal::run(JournalHead head, bool hashFile, std::optional<QString> snapshot)
{
    // The head names the file's bytes as they were read: hashed only while the
    // file is still the one the text came from.
    if (hashFile && head.identity.exists() && FileIdentity::of(head.path) == head.identity) {
        QByteArray hash = fileContentHash(head.path);
        if (FileIdentity::of(head.path) == head.identity)
            head.hash = std::move(hash);
    }
    m_headBytes = journalMagic().toByteArray();
    appendHeadRecord(m_headBytes, head);
    QByteArray first = m_headBytes;
    if (snapshot)
        appendSnapshotRecord(first, *snapshot);
    snapshot.reset();
    bool ok = writeAll(m_fd, first.constData(), first.size()) && ::fdatasync(m_fd) == 0;
    first = QByteArray();
    syncFolderOf(m_file);

    for (;;) {
        std::vector<Chunk> work;
        {
            std::unique_lock guard(m_mutex);
            m_wake.wait(guard, [&] { return m_stop || !m_queue.empty(); });
            if (m_queue.empty())
                break; // stopped with nothing left to write
            work.swap(m_queue);
        }
        quint64 items = 0;
        for (const Chunk &chunk : work) {
            if (chunk.restart)
                ok = replaceFile(chunk.bytes); // a fresh, whole journal again
            else if (ok)
                ok = writeAll(m_fd, chunk.bytes.constData(), chunk.bytes.size());
            items += chunk.items;
        }
        if (ok)
            ok = ::fdatasync(m_fd) == 0;
        m_failed = !ok;
        {
            const std::lock_guard guard(m_mutex);
            m_written += items;
        }
        m_done.notify_all();
    }
    {
        const std::lock_guard guard(m_mutex);
        m_written = m_queued;
    }
    m_done.notify_all();
}
