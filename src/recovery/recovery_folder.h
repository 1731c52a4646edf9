// Where recovery journals live and which of them may be offered back:
// $XDG_STATE_HOME/tavriledit/recovery/ when that variable holds an absolute
// path, else $HOME/.local/state/tavriledit/recovery/ (folder 0700, files 0600).
// A journal another running instance holds (its lock) or one without any
// record is never offered and never deleted.
#pragma once

#include "recovery/journal_format.h"

#include <QDateTime>
#include <QLockFile>
#include <QString>

#include <memory>
#include <vector>

// The folder's path, ending in a separator; not created.
QString recoveryFolder();
// Creates the folder (mode 0700) when missing; false when it cannot be had.
bool ensureRecoveryFolder(const QString &folder);

// A name for a new journal of the document at `path` (empty: a new document),
// unique to this process and moment.
QString newJournalName(const QString &path);
// The lock file beside a journal.
QString journalLockPath(const QString &journal);

// A journal found in the folder and locked for this process while it lives, so
// that no other instance offers it at the same time.
struct FoundJournal
{
    QString file;
    JournalScan scan;
    QDateTime modified;
    std::unique_ptr<QLockFile> lock;
};

// The unlocked journals with records for the document at `path` (empty: new
// documents), newest first, each locked for this process.
std::vector<FoundJournal> findJournals(const QString &folder, const QString &path);

// Removes the journal and its lock (the lock is released first).
void removeJournal(FoundJournal &journal);
// Renames the journal beside itself with ".kept" and returns the new path
// (empty on failure; the journal is then left where it was).
QString keepJournalAside(FoundJournal &journal);

// Removes unlocked journals with records last written more than `maxAgeDays` ago.
int removeOldJournals(const QString &folder, int maxAgeDays = 30);
