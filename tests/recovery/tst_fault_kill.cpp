// The fault test: the scripted edit session (fault_child) is killed at random
// moments, during edits, journal writes and saves; after each kill the file
// must be one of its saved versions whole, and what its journal gives back must
// be exactly the text after some prefix of the edits, never a corrupt or
// reordered one. Bounded: a fixed number of kills, each within a short time.
#include "codec/store_loading.h"
#include "document/text_store.h"
#include "fault_script.h"
#include "recovery/document_journal.h"
#include "recovery/recovery_folder.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

constexpr int Kills = 200;

QString loaded(const QString &path)
{
    TextStore store;
    if (LoadTextFile(path, UTF8, store).status != ReadStatus::Read)
        return QStringLiteral("<unreadable>");
    return store.text();
}

// The texts after every prefix of the script, with the prefixes that were saved.
struct Prefixes
{
    std::vector<QString> texts;
    explicit Prefixes(const std::vector<FaultEdit> &edits)
    {
        QString text = faultInitialText();
        texts.push_back(text);
        for (const FaultEdit &e : edits) {
            text.replace(e.pos, e.removed, e.added);
            texts.push_back(text);
        }
    }
    // The prefix whose text is `text` (the latest), or -1.
    int find(const QString &text, bool savedOnly) const
    {
        for (int k = int(texts.size()) - 1; k >= 0; --k)
            if ((!savedOnly || k % SaveEvery == 0) && texts[std::size_t(k)] == text)
                return k;
        return -1;
    }
};

QByteArray utf8Hash(const QString &text) // of the bytes the save writes
{
    return QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1);
}

} // namespace

class TestFaultKill : public QObject
{
    Q_OBJECT
private slots:
    void killedAtRandom()
    {
        const QString child =
            QCoreApplication::applicationDirPath() + QStringLiteral("/fault_child");
        QVERIFY(QFile::exists(child));
        QRandomGenerator rng(20261209);
        int kills = 0;
        int withJournal = 0;
        int withSnapshot = 0;
        int keptAside = 0;
        int maxPrefix = 0;
        QElapsedTimer clock;
        clock.start();
        for (int run = 0; kills < Kills; ++run) {
            QVERIFY2(run < 2 * Kills, "the child ends before it can be killed");
            QVERIFY2(clock.elapsed() < 240000, "the fault test is over its time");
            const quint32 seed = rng.generate();
            const auto edits = faultScript(seed);
            const Prefixes prefixes(edits);
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("doc.txt"));
            {
                QFile f(path);
                QVERIFY(f.open(QIODevice::WriteOnly));
                f.write(faultInitialText().toUtf8());
            }
            QProcess process;
            process.start(child, {dir.path(), QString::number(seed)});
            QVERIFY(process.waitForStarted());
            // Kill moments spread over start-up, the first journal and many saves.
            QThread::usleep(10000 + rng.bounded(110000u));
            if (process.state() != QProcess::Running) {
                process.waitForFinished();
                QCOMPARE(process.exitCode(), 0);
                continue;
            }
            ::kill(pid_t(process.processId()), SIGKILL);
            QVERIFY(process.waitForFinished());
            ++kills;

            // The file: the old or a new version, whole.
            const QString onDisk = loaded(path);
            QVERIFY2(prefixes.find(onDisk, true) >= 0,
                     qPrintable(QStringLiteral("run %1: file torn").arg(run)));

            // The journal (at most one): the text after some prefix.
            std::vector<FoundJournal> found =
                findJournals(dir.path() + QStringLiteral("/recovery/"), path);
            QVERIFY(found.size() <= 1);
            if (found.empty())
                continue;
            ++withJournal;
            const JournalScan &scan = found[0].scan;
            QString base;
            if (journalMatchesFile(scan.head)) {
                base = onDisk;
            } else if (scan.snapshots > 0) {
                ++withSnapshot;
            } else {
                // Only the first journal, over the text as first read, has no
                // snapshot: killed between the first save and the journal's
                // deletion (or that save came before the journal could hash the
                // file, leaving no hash), so it no longer fits the file. Its
                // records still fit the text it started from.
                ++keptAside;
                QVERIFY(scan.head.hash.isEmpty() || scan.head.hash == utf8Hash(faultInitialText()));
                base = faultInitialText();
            }
            TextStore store;
            store.setText(base);
            StoreReplay replay(store);
            const JournalScan again = scanJournalFile(found[0].file, &replay);
            QCOMPARE(again.edits, scan.edits);
            const int prefix = prefixes.find(store.text(), false);
            QVERIFY2(prefix >= 0,
                     qPrintable(QStringLiteral("run %1: recovered text is no prefix").arg(run)));
            maxPrefix = std::max(maxPrefix, prefix);
            removeJournal(found[0]);
        }
        qInfo("%d kills in %lld ms: %d left a journal (%d from a snapshot, %d over the version "
              "before a save), longest prefix %d",
              kills, clock.elapsed(), withJournal, withSnapshot, keptAside, maxPrefix);
        QVERIFY(withJournal > Kills / 3);
        QVERIFY(withSnapshot > 0);
    }
};

QTEST_GUILESS_MAIN(TestFaultKill)
#include "tst_fault_kill.moc"
