#include "recovery/recovery_folder.h"

#include "document/state_folder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace {

constexpr auto JournalSuffix = ".journal";

// The file-name stem shared by every journal of one document's path.
QString pathStem(const QString &path)
{
    if (path.isEmpty())
        return QStringLiteral("untitled");
    return QString::fromLatin1(
        QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
}

std::unique_ptr<QLockFile> tryLock(const QString &journal)
{
    auto lock = std::make_unique<QLockFile>(journalLockPath(journal));
    // Only a lock whose process has gone is stale, however old it is.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return nullptr;
    return lock;
}

QStringList journalFiles(const QString &folder, const QString &stem)
{
    const QString pattern = (stem.isEmpty() ? QStringLiteral("*") : stem + QStringLiteral("-*")) +
                            QLatin1String(JournalSuffix);
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden, QDir::Time);
}

} // namespace

QString recoveryFolder()
{
    return userStateFolder() + QStringLiteral("tavriledit/recovery/");
}

bool ensureRecoveryFolder(const QString &folder)
{
    if (!QDir().mkpath(folder))
        return false;
    // The journals hold what the user typed: the folder is theirs alone.
    return ::chmod(QFile::encodeName(folder).constData(), 0700) == 0;
}

QString newJournalName(const QString &path)
{
    static int serial = 0;
    return pathStem(path) +
           QStringLiteral("-%1-%2-%3")
               .arg(QDateTime::currentMSecsSinceEpoch())
               .arg(QCoreApplication::applicationPid())
               .arg(++serial) +
           QLatin1String(JournalSuffix);
}

QString journalLockPath(const QString &journal)
{
    return journal + QStringLiteral(".lock");
}

std::vector<FoundJournal> findJournals(const QString &folder, const QString &path)
{
    std::vector<FoundJournal> found;
    for (const QString &name : journalFiles(folder, pathStem(path))) {
        const QString file = folder + name;
        auto lock = tryLock(file);
        if (!lock)
            continue; // another instance is editing with it
        JournalScan scan = scanJournalFile(file);
        if (!scan.headOk || !scan.hasRecords() || scan.head.path != path)
            continue; // nothing to offer (or another path with the same stem)
        found.push_back({file, scan, QFileInfo(file).lastModified(), std::move(lock)});
    }
    std::stable_sort(found.begin(), found.end(), [](const FoundJournal &a, const FoundJournal &b) {
        return a.modified > b.modified;
    });
    return found;
}

void removeJournal(FoundJournal &journal)
{
    QFile::remove(journal.file);
    journal.lock.reset(); // removes the lock file
}

QString keepJournalAside(FoundJournal &journal)
{
    QString kept = journal.file + QStringLiteral(".kept");
    for (int n = 2; QFileInfo::exists(kept); ++n)
        kept = journal.file + QStringLiteral(".%1.kept").arg(n);
    if (!QFile::rename(journal.file, kept))
        return {};
    journal.lock.reset();
    return kept;
}

int removeOldJournals(const QString &folder, int maxAgeDays)
{
    const QDateTime limit = QDateTime::currentDateTime().addDays(-maxAgeDays);
    int removed = 0;
    for (const QString &name : journalFiles(folder, QString())) {
        const QString file = folder + name;
        if (QFileInfo(file).lastModified() >= limit)
            continue;
        auto lock = tryLock(file);
        if (!lock)
            continue;
        if (!scanJournalFile(file).hasRecords())
            continue; // an empty journal may be one being started
        if (QFile::remove(file))
            ++removed;
    }
    return removed;
}
