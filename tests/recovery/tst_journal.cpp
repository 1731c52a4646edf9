// The recovery journal: its format (torn tail, bad checksum, edits that do not
// fit, snapshots), the writer thread, restarts, the lock, the folder rules and
// the clean-up, and the file identity a journal starts from.
#include "document/file_identity.h"
#include "document/text_store.h"
#include "recovery/document_journal.h"
#include "recovery/journal_format.h"
#include "recovery/recovery_folder.h"
#include "recovery/recovery_journal.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <utime.h>

namespace {

struct StringSink : JournalSink
{
    QString text;
    void snapshot(QStringView s) override { text = s.toString(); }
    void edit(qint64 pos, qint64 removed, QStringView added) override
    {
        text.replace(qsizetype(pos), qsizetype(removed), added.toString());
    }
};

JournalHead sampleHead(const QString &path = QStringLiteral("/tmp/a.txt"))
{
    JournalHead head;
    head.path = path;
    head.identity = {2049, 77, 3, 1234567890123};
    head.hash = QByteArray(20, 'h');
    head.encoding = 4;
    head.bomKind = 1;
    head.lineBreak = 2;
    head.baseLength = 3;
    head.createdMs = 42;
    return head;
}

// "abc" → "abXYZc" → "aXYZc" → snapshot "new" → "new한"
QByteArray sampleJournal(QList<qsizetype> *ends = nullptr)
{
    QByteArray bytes = journalMagic().toByteArray();
    appendHeadRecord(bytes, sampleHead());
    if (ends)
        ends->append(bytes.size());
    appendEditRecord(bytes, 2, 0, u"XYZ");
    if (ends)
        ends->append(bytes.size());
    appendEditRecord(bytes, 1, 1, u"");
    if (ends)
        ends->append(bytes.size());
    appendSnapshotRecord(bytes, u"new");
    if (ends)
        ends->append(bytes.size());
    appendEditRecord(bytes, 3, 0, u"한");
    if (ends)
        ends->append(bytes.size());
    return bytes;
}

mode_t modeOf(const QString &path)
{
    struct stat st;
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}

void age(const QString &path, int days)
{
    const QDateTime when = QDateTime::currentDateTime().addDays(-days);
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadWrite));
    QVERIFY(f.setFileTime(when, QFileDevice::FileModificationTime));
}

} // namespace

class TestJournal : public QObject
{
    Q_OBJECT
private slots:
    void crcKnownValue()
    {
        // The check value of CRC-32C.
        QCOMPARE(crc32c("123456789", 9), 0xE3069283u);
        // Split input continues.
        QCOMPARE(crc32c("56789", 5, crc32c("1234", 4)), 0xE3069283u);
    }

    void roundTrip()
    {
        StringSink sink;
        sink.text = QStringLiteral("abc");
        const JournalScan scan = scanJournal(sampleJournal(), &sink);
        QVERIFY(scan.headOk);
        QCOMPARE(scan.head, sampleHead());
        QCOMPARE(scan.edits, 3);
        QCOMPARE(scan.snapshots, 1);
        QVERIFY(!scan.torn);
        QCOMPARE(sink.text, QStringLiteral("new한"));
        QCOMPARE(scan.length, 4);
    }

    // Every cut inside a record keeps exactly the records before it.
    void tornTail()
    {
        QList<qsizetype> ends;
        const QByteArray bytes = sampleJournal(&ends);
        const QStringList texts = {QStringLiteral("abc"), QStringLiteral("abXYZc"),
                                   QStringLiteral("aXYZc"), QStringLiteral("new"),
                                   QStringLiteral("new한")};
        for (qsizetype cut = ends.first(); cut <= bytes.size(); ++cut) {
            StringSink sink;
            sink.text = QStringLiteral("abc");
            const JournalScan scan = scanJournal(QByteArrayView(bytes).first(cut), &sink);
            qsizetype kept = 0;
            while (kept + 1 < ends.size() && ends[kept + 1] <= cut)
                ++kept;
            QVERIFY2(scan.headOk, qPrintable(QString::number(cut)));
            QCOMPARE(sink.text, texts[kept]);
            QCOMPARE(scan.validBytes, ends[kept]);
            QCOMPARE(scan.torn, cut != ends[kept]);
        }
        // Cut inside the head or the magic: nothing.
        QVERIFY(!scanJournal(QByteArrayView(bytes).first(ends.first() - 1)).headOk);
        QVERIFY(!scanJournal(QByteArrayView(bytes).first(5)).headOk);
    }

    void damage_data()
    {
        QTest::addColumn<int>("record"); // 1-based record after the head
        QTest::addColumn<int>("offset"); // byte inside it to change
        QTest::addColumn<QString>("text");
        QTest::newRow("checksum of the first edit") << 1 << 5 << "abc";
        QTest::newRow("units of the second edit") << 2 << 20 << "abXYZc";
        QTest::newRow("type of the snapshot") << 3 << 8 << "aXYZc";
        QTest::newRow("length of the last edit") << 4 << 1 << "new";
    }
    void damage()
    {
        QFETCH(int, record);
        QFETCH(int, offset);
        QFETCH(QString, text);
        QList<qsizetype> ends;
        QByteArray bytes = sampleJournal(&ends);
        bytes[ends[record - 1] + offset] = char(bytes[ends[record - 1] + offset] ^ 0x5A);
        StringSink sink;
        sink.text = QStringLiteral("abc");
        const JournalScan scan = scanJournal(bytes, &sink);
        QCOMPARE(sink.text, text);
        QCOMPARE(scan.validBytes, ends[record - 1]);
        QVERIFY(scan.torn);
    }

    // A record that is whole but does not fit the text ends the journal there.
    void editBeyondText()
    {
        QByteArray bytes = journalMagic().toByteArray();
        appendHeadRecord(bytes, sampleHead());
        appendEditRecord(bytes, 3, 0, u"d");
        appendEditRecord(bytes, 2, 5, u"");
        appendEditRecord(bytes, 0, 1, u"");
        StringSink sink;
        sink.text = QStringLiteral("abc");
        const JournalScan scan = scanJournal(bytes, &sink);
        QCOMPARE(sink.text, QStringLiteral("abcd"));
        QCOMPARE(scan.edits, 1);
        QVERIFY(scan.torn);
        QVERIFY(!scanJournal(QByteArray("not a journal")).headOk);
    }

    void folderRules_data()
    {
        QTest::addColumn<QByteArray>("state");
        QTest::addColumn<QString>("expected");
        QTest::newRow("absolute") << QByteArray("/s/x") << "/s/x/tavriledit/recovery/";
        QTest::newRow("relative") << QByteArray("s/x") << "/h/.local/state/tavriledit/recovery/";
        QTest::newRow("empty") << QByteArray() << "/h/.local/state/tavriledit/recovery/";
    }
    void folderRules()
    {
        QFETCH(QByteArray, state);
        QFETCH(QString, expected);
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldState = qgetenv("XDG_STATE_HOME");
        qputenv("HOME", "/h");
        qputenv("XDG_STATE_HOME", state);
        const QString folder = recoveryFolder();
        qputenv("HOME", oldHome);
        qputenv("XDG_STATE_HOME", oldState);
        QCOMPARE(folder, expected);
    }

    // The writer thread puts every queued record on disk; restarts replace the
    // journal by a snapshot; the lock keeps it from being offered meanwhile.
    void writerRestartAndLock()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/state/recovery/");
        JournalHead head = sampleHead(dir.path() + QStringLiteral("/doc.txt"));
        auto journal = RecoveryJournal::start(folder, head, false);
        QVERIFY(journal);
        QCOMPARE(modeOf(folder), mode_t(0700));
        QCOMPARE(modeOf(journal->filePath()), mode_t(0600));
        journal->appendEdit(3, 0, u"de");
        journal->appendEdit(0, 1, u"A");
        QVERIFY(journal->flush());
        StringSink sink;
        sink.text = QStringLiteral("abc");
        JournalScan scan = scanJournalFile(journal->filePath(), &sink);
        QCOMPARE(sink.text, QStringLiteral("Abcde"));
        QCOMPARE(scan.head.path, head.path);

        // Locked while it is written: not offered, not removed as old.
        age(journal->filePath(), 40);
        QVERIFY(findJournals(folder, head.path).empty());
        QCOMPARE(removeOldJournals(folder), 0);

        QVERIFY(!journal->wantsRestart(5));
        const QString big(1024 * 1024, u'x'); // 2 MB of edits over a 5-unit text
        journal->appendEdit(5, 0, big);
        QVERIFY(journal->wantsRestart(5 + big.size() / 8));
        QVERIFY(!journal->wantsRestart(5 + big.size()));
        journal->restart(u"fresh");
        journal->appendEdit(5, 0, u"!");
        QVERIFY(journal->flush());
        sink.text = QStringLiteral("abc");
        scan = scanJournalFile(journal->filePath(), &sink);
        QCOMPARE(sink.text, QStringLiteral("fresh!"));
        QCOMPARE(scan.snapshots, 1);
        QCOMPARE(scan.edits, 1);
        QVERIFY(QFileInfo(journal->filePath()).size() < 1000);
        QCOMPARE(modeOf(journal->filePath()), mode_t(0600));

        const QString file = journal->filePath();
        journal->keep();
        journal.reset();
        std::vector<FoundJournal> found = findJournals(folder, head.path);
        QCOMPARE(found.size(), std::size_t(1));
        QCOMPARE(found[0].file, file);
        QVERIFY(findJournals(folder, QStringLiteral("/other")).empty());
        // Found means locked for this process: a second look finds nothing.
        QVERIFY(findJournals(folder, head.path).empty());
        const QString kept = keepJournalAside(found[0]);
        QCOMPARE(kept, file + QStringLiteral(".kept"));
        QVERIFY(!QFile::exists(file));
        QVERIFY(!QFile::exists(journalLockPath(file)));
        QVERIFY(findJournals(folder, head.path).empty());
    }

    void discardRemoves()
    {
        QTemporaryDir dir;
        auto journal = RecoveryJournal::start(dir.path() + QLatin1Char('/'), sampleHead(), false);
        QVERIFY(journal);
        journal->appendEdit(0, 0, u"x");
        const QString file = journal->filePath();
        journal->discard();
        QVERIFY(!QFile::exists(file));
        QVERIFY(!QFile::exists(journalLockPath(file)));
    }

    // The head carries the hash of the file's bytes only while the file is the
    // one the text was read from.
    void headHash()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("doc.txt"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("abc");
        f.close();
        JournalHead head = sampleHead(path);
        head.hash.clear();
        head.identity = FileIdentity::of(path);
        const QString folder = dir.path() + QStringLiteral("/j/");
        for (bool changed : {false, true}) {
            if (changed)
                head.identity.size = 99;
            auto journal = RecoveryJournal::start(folder, head, true);
            QVERIFY(journal);
            journal->appendEdit(0, 0, u"x");
            QVERIFY(journal->flush());
            const JournalScan scan = scanJournalFile(journal->filePath());
            QCOMPARE(scan.head.hash,
                     changed ? QByteArray()
                             : QCryptographicHash::hash("abc", QCryptographicHash::Sha1));
            QCOMPARE(fileContentHash(path),
                     QCryptographicHash::hash("abc", QCryptographicHash::Sha1));
            journal->discard();
        }
    }

    void oldJournalsRemoved()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QLatin1Char('/');
        auto make = [&](int days, bool withRecord) {
            auto journal = RecoveryJournal::start(folder, sampleHead(), false);
            if (withRecord)
                journal->appendEdit(0, 0, u"x");
            journal->keep();
            age(journal->filePath(), days);
            return journal->filePath();
        };
        const QString old = make(31, true);
        const QString recent = make(29, true);
        const QString oldEmpty = make(31, false);
        QCOMPARE(removeOldJournals(folder), 1);
        QVERIFY(!QFile::exists(old));
        QVERIFY(QFile::exists(recent));
        QVERIFY(QFile::exists(oldEmpty));
        // An empty journal is never offered either.
        const std::vector<FoundJournal> found = findJournals(folder, sampleHead().path);
        QCOMPARE(found.size(), std::size_t(1));
        QCOMPARE(found[0].file, recent);
    }

    // The journal follows the store: none until the first change, records over
    // the file as read, a snapshot once the text is no longer that file, restarts.
    void followsTheStore()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/j/");
        TextStore store;
        DocumentJournal journal(store, folder);
        journal.beginLoad();
        store.setText(u"abc"); // the file's text arriving: no journal
        journal.setBase(sampleHead(dir.filePath(QStringLiteral("doc.txt"))), true);
        QVERIFY(!journal.active());
        store.replace(3, 0, u"d");
        store.replace(0, 1, u"A");
        QVERIFY(journal.active());
        QVERIFY(journal.flush());
        const QString first = journal.journalPath();
        QCOMPARE(replayJournal(first, u"abc"), QStringLiteral("Abcd"));
        QCOMPARE(scanJournalFile(first).head.baseLength, 3);

        // Saved to its file: gone; the next change starts over a snapshot.
        journal.discard();
        QVERIFY(!QFile::exists(first));
        store.replace(4, 0, u"e");
        QVERIFY(!journal.active()); // the copy is taken after the key
        QCoreApplication::processEvents();
        QVERIFY(journal.active());
        store.replace(0, 0, u">");
        QVERIFY(journal.flush());
        QCOMPARE(replayJournal(journal.journalPath(), u"unrelated"), QStringLiteral(">Abcde"));

        // Past twice the text plus the slack: a fresh start with the text.
        journal.setRestartSlack(64);
        for (int i = 0; i < 60; ++i)
            store.replace(store.length(), 0, u"x");
        QCoreApplication::processEvents();
        QVERIFY(journal.flush());
        const JournalScan scan = scanJournalFile(journal.journalPath());
        QCOMPARE(scan.snapshots, 1);
        QVERIFY(scan.edits < 60);
        QCOMPARE(replayJournal(journal.journalPath(), {}), store.text());
        journal.discard();
    }

    void identity()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("f"));
        auto write = [&](const QByteArray &bytes, const QString &to) {
            QFile f(to);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(bytes);
        };
        QVERIFY(!FileIdentity::of(path).exists());
        QCOMPARE(FileIdentity::of(path), FileIdentity::of(path + QLatin1Char('x')));
        write("one", path);
        const FileIdentity first = FileIdentity::of(path);
        QVERIFY(first.exists());
        QCOMPARE(first.size, 3);
        QCOMPARE(first, FileIdentity::of(path));
        write("two", path); // same size, later time
        age(path, 1);
        QVERIFY(!(first == FileIdentity::of(path)));
        const FileIdentity second = FileIdentity::of(path);
        write("two", path + QStringLiteral(".new"));
        age(path + QStringLiteral(".new"), 1);
        QFile::remove(path);
        QVERIFY(QFile::rename(path + QStringLiteral(".new"), path)); // another inode
        QVERIFY(!(second == FileIdentity::of(path)));
        // Through a link: the target's identity.
        QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("link"))));
        QCOMPARE(FileIdentity::of(dir.filePath(QStringLiteral("link"))), FileIdentity::of(path));
        QVERIFY(isSameFile(dir.filePath(QStringLiteral("link")), path));
        QVERIFY(!isSameFile(path + QStringLiteral(".new"), path));

        // Another program's write shows; a deleted file is nothing to keep.
        const FileIdentity known = FileIdentity::of(path);
        QVERIFY(!changedOnDisk(path, known));
        write("three", path);
        QVERIFY(changedOnDisk(path, known));
        QVERIFY(!changedOnDisk(path + QStringLiteral(".none"), known));
        QVERIFY(changedOnDisk(path, FileIdentity())); // a file where there was none
    }
};

QTEST_GUILESS_MAIN(TestJournal)
#include "tst_journal.moc"
