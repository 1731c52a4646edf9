// Recovery and another program's changes in the main window: the questions on
// open and at start, the over-write question on each way a save writes the
// document's file, the reload question when the window becomes active, the
// journal let go with the changes, and the signals that end the program quietly.
#include "app/main_window.h"
#include "app/session_end.h"
#include "codec/open_commands.h"
#include "codec/recovery_offer.h"
#include "document/document.h"
#include "editor/memo_view.h"
#include "recovery/document_journal.h"
#include "recovery/recovery_folder.h"
#include "support/main_window_fixture.h"
#include "support/test_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <csignal>

namespace {

const QString Recover = QStringLiteral("Unsaved changes to this file were kept when the editor "
                                       "last ended without saving. Recover them?");
const QString KeptInstead =
    QStringLiteral("Unsaved changes to this file were kept when the editor last ended without "
                   "saving, but the file has changed since. Open the kept text instead?");
const QString RecoverUntitled =
    QStringLiteral("Unsaved text was kept when the editor last ended without saving. Recover it?");
const QString OverWrite =
    QStringLiteral("The file was changed by another program after it was opened. Over write it?");

// A journal another run kept for `path` ("" for a new document): the file as it
// is now, then `edits` typed at its end, or a snapshot of `snapshot` first.
QString keepJournal(const QString &path, const QString &typed, const QString &snapshot = {})
{
    JournalHead head;
    head.path = path.isEmpty() ? QString() : QFileInfo(path).absoluteFilePath();
    head.identity = FileIdentity::of(path);
    head.baseLength = path.isEmpty() ? 0 : QString::fromUtf8(readFile(path)).size();
    auto journal = RecoveryJournal::start(recoveryFolder(), head, true,
                                          snapshot.isEmpty() ? std::nullopt
                                                             : std::optional<QString>(snapshot));
    const qint64 end = snapshot.isEmpty() ? head.baseLength : snapshot.size();
    journal->appendEdit(end, 0, typed);
    const QString file = journal->filePath();
    journal->keep();
    return file;
}

QList<QString> texts(const FakePlatform &fake)
{
    QList<QString> list;
    for (const BoxCall &box : fake.boxes)
        list.append(box.text);
    return list;
}

} // namespace

class TestRecoveryWindow : public QObject
{
    Q_OBJECT
private slots:
    void recoveryOnOpen_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("modified");
        QTest::newRow("unchanged, Yes") << "unchanged" << true << Recover << "abcXYZ" << true;
        QTest::newRow("unchanged, No") << "unchanged" << false << Recover << "abc" << false;
        QTest::newRow("changed, snapshot, Yes")
            << "snapshot" << true << KeptInstead << "kept textXYZ" << true;
        QTest::newRow("changed, snapshot, No")
            << "snapshot" << false << KeptInstead << "another" << false;
        QTest::newRow("changed, records only")
            << "records" << true << QString() << "another" << false;
        QTest::newRow("locked by another instance")
            << "locked" << true << QString() << "abc" << false;
    }
    void recoveryOnOpen()
    {
        QFETCH(QString, kind);
        QFETCH(bool, answer);
        QFETCH(QString, question);
        QFETCH(QString, text);
        QFETCH(bool, modified);
        MainWindowFixture app;
        const QString path = app.dir.file(QStringLiteral("doc.txt"));
        writeFile(path, "abc");
        QString journal;
        std::unique_ptr<RecoveryJournal> live;
        if (kind == QLatin1String("locked")) {
            JournalHead head;
            head.path = path;
            live = RecoveryJournal::start(recoveryFolder(), head, false);
            live->appendEdit(3, 0, u"XYZ");
            QVERIFY(live->flush());
        } else {
            journal = keepJournal(path, QStringLiteral("XYZ"),
                                  kind == QLatin1String("snapshot") ? QStringLiteral("kept text")
                                                                    : QString());
        }
        if (kind == QLatin1String("snapshot") || kind == QLatin1String("records"))
            writeFile(path, "another");
        app.fake.confirmAnswer = answer;
        openPath(app.form.editorContext(), path);

        QCOMPARE(app.form.memo().text(), text);
        QCOMPARE(app.form.document().isModified(), modified);
        const bool rewritten =
            kind == QLatin1String("snapshot") || kind == QLatin1String("records");
        QCOMPARE(readFile(path), rewritten ? QByteArray("another") : QByteArray("abc"));
        if (question.isEmpty()) {
            QVERIFY(app.fake.boxes.isEmpty() || app.fake.boxes.first().kind != "confirm");
        } else {
            QCOMPARE(texts(app.fake), QList<QString>{question});
            QCOMPARE(app.fake.boxes.first().caption, QStringLiteral("confirm"));
            QVERIFY(!app.fake.boxes.first().defaultNo);
        }
        if (kind == QLatin1String("records")) {
            // Nothing deleted unseen: set aside, and the user told where.
            QCOMPARE(app.fake.boxes.size(), 1);
            QCOMPARE(app.fake.boxes.first().kind, QStringLiteral("information"));
            QCOMPARE(app.fake.boxes.first().caption, QStringLiteral("information"));
            QCOMPARE(app.fake.boxes.first().text,
                     QStringLiteral("Unsaved changes kept for this file could not be applied "
                                    "because the file has changed. They are kept in %1.")
                         .arg(journal + QStringLiteral(".kept")));
            QVERIFY(QFile::exists(journal + QStringLiteral(".kept")));
        }
        if (!journal.isEmpty())
            QVERIFY(!QFile::exists(journal)); // answered: the old journal is gone
        if (modified) {
            // The recovered text is kept afresh before the old journal went.
            QVERIFY(app.form.journal().active());
            QVERIFY(app.form.journal().flush());
            QCOMPARE(replayJournal(app.form.journal().journalPath(), {}), text);
        }
        if (live)
            live->discard();
    }

    void untitledAtStart()
    {
        // Only this test's kept text (windows of other tests kept theirs).
        QDir(recoveryFolder()).removeRecursively();
        MainWindowFixture app;
        keepJournal(QString(), QStringLiteral("typed before"));
        offerKeptUntitledText(app.form.editorContext());
        QCOMPARE(texts(app.fake), QList<QString>{RecoverUntitled});
        QCOMPARE(app.form.memo().text(), QStringLiteral("typed before"));
        QVERIFY(app.form.document().isModified());
        // Nothing more to offer.
        app.fake.boxes.clear();
        offerKeptUntitledText(app.form.editorContext());
        QVERIFY(app.fake.boxes.isEmpty());
    }

    // Another program wrote the file after it was opened: every write to it asks
    // first (before the question about unreadable codes); No writes nothing and
    // abandons what the save was part of.
    void overWriteQuestion_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("answer");
        for (const char *way : {"over write save", "dialog save to the same file", "Save & Exit",
                                "close, Save file? Yes", "open, Save file? Yes"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, No").arg(QLatin1String(way))))
                << QString::fromLatin1(way) << false;
            QTest::newRow(qPrintable(QStringLiteral("%1, Yes").arg(QLatin1String(way))))
                << QString::fromLatin1(way) << true;
        }
    }
    void overWriteQuestion()
    {
        QFETCH(QString, path);
        QFETCH(bool, answer);
        const QString way = path;
        MainWindowFixture app;
        const QString file = app.dir.file(QStringLiteral("doc.txt"));
        const QString other = app.dir.file(QStringLiteral("other.txt"));
        writeFile(file, "abc");
        writeFile(other, "other");
        openPath(app.form.editorContext(), file);
        app.form.show();
        app.form.memo().setSelStart(3);
        app.form.memo().replaceSelection(u"X");
        writeFile(file, "written by another program");
        app.fake.confirmAnswers = {answer};
        if (way.startsWith(QLatin1String("close")) || way.startsWith(QLatin1String("open")))
            app.fake.confirmAnswers = {true, answer};
        if (way == QLatin1String("over write save")) {
            app.form.overwritesavefileUTF81Click();
        } else if (way.startsWith(QLatin1String("dialog"))) {
            app.fake.saveAnswer = file;
            app.form.savefile1Click();
        } else if (way == QLatin1String("Save & Exit")) {
            app.exitForm();
            app.fake.dialogAnswer = [](QDialog *) { return 1; };
            app.form.exit1Click();
        } else if (way.startsWith(QLatin1String("close"))) {
            app.form.close();
        } else {
            app.fake.openAnswer = other;
            app.form.opentextfile1Click();
        }
        const QList<QString> asked = texts(app.fake);
        QCOMPARE(asked.count(OverWrite), 1);
        const BoxCall &box = app.fake.boxes.at(asked.indexOf(OverWrite));
        QCOMPARE(box.caption, QStringLiteral("confirm"));
        QVERIFY(box.defaultNo);
        QCOMPARE(readFile(file),
                 answer ? QByteArray("abcX") : QByteArray("written by another program"));
        if (!answer) {
            // What the save was part of did not happen.
            QVERIFY(app.form.isVisible());
            QVERIFY(app.form.document().isModified());
            QCOMPARE(app.form.document().fileName(), file);
            QCOMPARE(app.form.memo().text(), QStringLiteral("abcX"));
        }
    }

    void deletedFileIsRecreated()
    {
        MainWindowFixture app;
        const QString file = app.dir.file(QStringLiteral("doc.txt"));
        writeFile(file, "abc");
        openPath(app.form.editorContext(), file);
        app.form.memo().replaceSelection(u"X");
        QFile::remove(file);
        app.form.checkFileOnDisk();
        app.form.overwritesavefileUTF81Click();
        QVERIFY(app.fake.boxes.isEmpty());
        QCOMPARE(readFile(file), QByteArray("Xabc"));
    }

    void reloadOnActivation_data()
    {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<bool>("answer");
        QTest::newRow("unmodified, Yes") << false << true;
        QTest::newRow("unmodified, No") << false << false;
        QTest::newRow("modified, Yes") << true << true;
        QTest::newRow("modified, No") << true << false;
    }
    void reloadOnActivation()
    {
        QFETCH(bool, modified);
        QFETCH(bool, answer);
        MainWindowFixture app;
        const QString file = app.dir.file(QStringLiteral("doc.txt"));
        writeFile(file, "one\ntwo\nthree");
        openPath(app.form.editorContext(), file);
        app.form.memo().setSelStart(6); // line 2
        if (modified)
            app.form.memo().replaceSelection(u"!");
        app.form.checkFileOnDisk();
        QVERIFY(app.fake.boxes.isEmpty()); // unchanged on disk
        writeFile(file, "ONE\nTWO\nTHREE\nFOUR");
        app.fake.confirmAnswer = answer;
        app.form.checkFileOnDisk();
        QCOMPARE(texts(app.fake),
                 QList<QString>{
                     modified
                         ? QStringLiteral("The file was changed by another program. "
                                          "Reload it and lose your changes?")
                         : QStringLiteral("The file was changed by another program. Reload it?")});
        QVERIFY(app.fake.boxes.first().defaultNo);
        QCOMPARE(app.form.memo().text(), answer     ? QStringLiteral("ONE\nTWO\nTHREE\nFOUR")
                                         : modified ? QStringLiteral("one\ntw!o\nthree")
                                                    : QStringLiteral("one\ntwo\nthree"));
        QCOMPARE(app.form.document().isModified(), modified && !answer);
        if (answer) {
            QCOMPARE(app.form.document().store().lineAt(app.form.memo().selStart()), 1);
            QVERIFY(!app.form.journal().active());
        }
        // Once per change.
        app.form.checkFileOnDisk();
        QCOMPARE(app.fake.boxes.size(), 1);
        writeFile(file, "changed again, longer");
        app.form.checkFileOnDisk();
        QCOMPARE(app.fake.boxes.size(), 2);
    }

    // The journal goes with the changes the user lets go, and on a normal exit.
    void journalLetGo_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("No to Save file? on close") << "close";
        QTest::newRow("No Save & Exit") << "exit";
        QTest::newRow("saved to its file") << "save";
    }
    void journalLetGo()
    {
        QFETCH(QString, how);
        MainWindowFixture app;
        const QString file = app.dir.file(QStringLiteral("doc.txt"));
        writeFile(file, "abc");
        openPath(app.form.editorContext(), file);
        app.form.show();
        app.form.memo().replaceSelection(u"typed");
        QVERIFY(app.form.journal().flush());
        const QString journal = app.form.journal().journalPath();
        QVERIFY(QFile::exists(journal));
        app.fake.confirmAnswer = false;
        if (how == QLatin1String("close")) {
            app.form.close();
        } else if (how == QLatin1String("exit")) {
            app.exitForm();
            app.fake.dialogAnswer = [](QDialog *) { return 2; };
            app.form.exit1Click();
        } else {
            app.form.overwritesavefileUTF81Click();
        }
        QVERIFY(!QFile::exists(journal));
        QVERIFY(findJournals(recoveryFolder(), QFileInfo(file).absoluteFilePath()).empty());
    }

    // SIGTERM, SIGHUP: the journal on disk, the program ends without a question,
    // and the next start offers the text back.
    void signalsEndQuietly_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGHUP") << int(SIGHUP);
    }
    void signalsEndQuietly()
    {
        QFETCH(int, signal);
        MainWindowFixture app;
        SessionEnd end([&] { app.form.endWithoutQuestions(); });
        const QString file = app.dir.file(QStringLiteral("doc.txt"));
        writeFile(file, "abc");
        openPath(app.form.editorContext(), file);
        app.form.show();
        app.form.memo().setSelStart(3);
        app.form.memo().replaceSelection(u" unsaved");
        ::raise(signal);
        QTRY_VERIFY(!app.form.isVisible());
        QVERIFY(app.fake.boxes.isEmpty());
        QCOMPARE(readFile(file), QByteArray("abc"));

        MainWindowUnderTest next; // a restart: the same program and state folders
        next.fake.confirmAnswer = true;
        openPath(next.form.editorContext(), file);
        QCOMPARE(texts(next.fake), QList<QString>{Recover});
        QCOMPARE(next.form.memo().text(), QStringLiteral("abc unsaved"));
    }
};

QTEST_MAIN(TestRecoveryWindow)
#include "tst_recovery_window.moc"
