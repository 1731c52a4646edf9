// The save, over-write and export commands through the main window: dialogs,
// bytes on disk, status bar, modified flag, editor state afterwards and real
// failures (a parent that is a file, a disk that runs out of room).
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_bytes.h"
#include "support/test_env.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Records the editor's hide and show.
class VisibilityProbe : public QObject
{
public:
    explicit VisibilityProbe(TForm1 &form) { form.Memo1->installEventFilter(this); }
    QStringList events;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::HideToParent)
            events << QStringLiteral("hide");
        else if (event->type() == QEvent::ShowToParent)
            events << QStringLiteral("show");
        return false;
    }
};

} // namespace

class TestSaveCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dialogsAsked_data();
    void dialogsAsked();
    void cancelledChangesNothing_data();
    void cancelledChangesNothing();
    void saveWritesDocument_data();
    void saveWritesDocument();
    void editorKeepsEveryUnit();
    void overwriteTarget();
    void exportsLeaveDocumentState_data();
    void exportsLeaveDocumentState();
    void caretAndWrapAfterWriting_data();
    void caretAndWrapAfterWriting();
    void editorHiddenWhileWriting();
    void parentIsAFile_data();
    void parentIsAFile();
    void diskRunsOutOfRoom_data();
    void diskRunsOutOfRoom();
    void unreadableFileAsksBeforeOverwrite_data();
    void unreadableFileAsksBeforeOverwrite();
};

void TestSaveCommands::initTestCase()
{
    // Cases show and drop their own main windows; the test run goes on.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestSaveCommands::dialogsAsked_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("filters");
    QTest::addColumn<QString>("suffix");
    const QStringList text{"Text files(*.txt)", "HTML files(*.html)", "All(*.*)"};
    QTest::newRow("save") << "savefile1"
                          << "Save a Text file" << text << "txt";
    QTest::newRow("over write, nothing opened") << "overwritesavefileUTF81"
                                                << "Save a Text file" << text << "txt";
    QTest::newRow("html") << "saveHTML99tagASCII1"
                          << "Save Unicode number HTML &#99;tag file"
                          << QStringList{"HTML files(*.html)", "Text files(*.txt)", "All(*.*)"}
                          << "html";
    QTest::newRow("c") << "saveUnicodenumberlanguageC0x1"
                       << "Save Unicode number language C 0x* file" << text << "txt";
}

void TestSaveCommands::dialogsAsked()
{
    QFETCH(QString, item);
    QFETCH(QString, title);
    QFETCH(QStringList, filters);
    QFETCH(QString, suffix);
    MainWindowFixture app;
    QAction *action = app.form.findChild<QAction *>(item);
    QVERIFY(action && action->isEnabled());
    action->trigger();
    QCOMPARE(app.fake.saveRequests.size(), 1);
    QCOMPARE(app.fake.saveRequests[0].title, title);
    QCOMPARE(app.fake.saveRequests[0].filters, filters);
    QCOMPARE(app.fake.saveRequests[0].defaultSuffix, suffix);
}

void TestSaveCommands::cancelledChangesNothing_data()
{
    QTest::addColumn<QString>("item");
    for (const char *item : {"savefile1", "overwritesavefileUTF81", "saveHTML99tagASCII1",
                             "saveUnicodenumberlanguageC0x1"})
        QTest::newRow(item) << QString::fromLatin1(item);
}

void TestSaveCommands::cancelledChangesNothing()
{
    QFETCH(QString, item);
    MainWindowFixture app; // the dialog answers an empty name: cancelled
    app.form.memo().setText(u"abc");
    app.form.memo().setSelStart(1);
    app.form.memo().setSelLength(1);
    QVERIFY(documentModified); // the text set above is an edit
    app.form.setPanelText(3, QStringLiteral("before"));
    app.form.findChild<QAction *>(item)->trigger();
    QVERIFY(documentModified);
    QCOMPARE(app.form.panelText(3), QStringLiteral("before"));
    QCOMPARE(app.form.memo().selStart(), 1);
    QCOMPARE(app.form.memo().selLength(), 1);
    QVERIFY(app.form.memo().isVisible());
    QVERIFY(app.fake.boxes.isEmpty());
    QCOMPARE(QDir(app.dir.path()).entryList(QDir::Files), QStringList());
}

void TestSaveCommands::saveWritesDocument_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("empty") << QString() << QByteArray();
    QTest::newRow("A Hangul") << QStringLiteral("A\uD55C") << QByteArray("\x41\xED\x95\x9C");
    QTest::newRow("typed han") << QStringLiteral("\uD55C") << QByteArray("\xED\x95\x9C");
    QTest::newRow("surrogate pair")
        << QString::fromUtf16(u"\xD83D\xDE00") << QByteArray("\xF0\x9F\x98\x80");
    QTest::newRow("two lines") << QStringLiteral("ab\ncd") << QByteArray("ab\r\ncd");
    QTest::newRow("one final break") << QStringLiteral("ab\n") << QByteArray("ab\r\n");
    QTest::newRow("two final breaks") << QStringLiteral("ab\n\n") << QByteArray("ab\r\n\r\n");
}

void TestSaveCommands::saveWritesDocument()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    MainWindowFixture app;
    app.form.document().setFileName(QStringLiteral("/somewhere/opened.txt"));
    app.fake.saveAnswer = app.dir.file(QStringLiteral("saved.txt"));
    app.form.memo().setText(text + QStringLiteral("typed"));
    app.form.memo().setText(text); // edits: also the empty text is a modified document
    QVERIFY(documentModified);
    app.form.action("savefile1")->trigger();
    QCOMPARE(readFile(app.fake.saveAnswer), bytes);
    QCOMPARE(app.form.panelText(3), QStringLiteral("UTF-8 nonBOM  ") + app.fake.saveAnswer);
    QVERIFY(!documentModified);
    QCOMPARE(currentFileName, QStringLiteral("/somewhere/opened.txt"));
    QVERIFY(app.fake.boxes.isEmpty());
    QVERIFY(app.form.memo().isVisible());
    QCOMPARE(app.form.memo().text(), text); // the document itself is untouched
}

void TestSaveCommands::editorKeepsEveryUnit()
{
    // Units the editor must not alter on the way out, across several steps.
    MainWindowFixture app;
    QString text;
    for (int i = 0; i < 9000; ++i)
        text += QStringLiteral("\u00A0\u2028a\uFDD0\r\n");
    text.chop(1);
    app.form.memo().setText(text);
    app.fake.saveAnswer = app.dir.file(QStringLiteral("units.txt"));
    app.form.action("savefile1")->trigger();
    QString crlf = text;
    crlf.replace(QChar(u'\n'), QStringLiteral("\r\n"));
    QCOMPARE(readFile(app.fake.saveAnswer), crlf.toUtf8());
}

void TestSaveCommands::overwriteTarget()
{
    MainWindowFixture app;
    app.form.memo().setText(u"first");

    // Nothing opened: the over-write command asks like the save command.
    app.fake.saveAnswer = app.dir.file(QStringLiteral("asked.txt"));
    app.form.action("overwritesavefileUTF81")->trigger();
    QCOMPARE(app.fake.saveRequests.size(), 1);
    QCOMPARE(readFile(app.fake.saveAnswer), QByteArray("first"));
    QVERIFY(!saveToCurrentFile);

    // An opened file is overwritten without a dialog, also after a save elsewhere.
    app.form.document().setFileName(app.dir.file(QStringLiteral("opened.txt")));
    writeFile(currentFileName, "old contents");
    app.fake.saveAnswer = app.dir.file(QStringLiteral("elsewhere.txt"));
    app.form.action("savefile1")->trigger();
    app.form.memo().setText(u"second");
    QVERIFY(documentModified); // the text set above is an edit
    app.form.action("overwritesavefileUTF81")->trigger();
    QCOMPARE(app.fake.saveRequests.size(), 2);
    QCOMPARE(readFile(currentFileName), QByteArray("second"));
    QCOMPARE(readFile(app.dir.file(QStringLiteral("elsewhere.txt"))), QByteArray("first"));
    QCOMPARE(app.form.panelText(3), QStringLiteral("UTF-8 nonBOM  ") + currentFileName);
    QVERIFY(!documentModified);
    QVERIFY(!saveToCurrentFile);
}

void TestSaveCommands::exportsLeaveDocumentState_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("html") << "saveHTML99tagASCII1"
                          << QByteArray("<html>\r\n<body>\r\n&#97;&#98;\r\n</body>\r\n</html>");
    QTest::newRow("c") << "saveUnicodenumberlanguageC0x1"
                       << QByteArray("  wchar_t unicodestr[]={\r\n    0x61,0x62,0\r\n  };");
}

void TestSaveCommands::exportsLeaveDocumentState()
{
    QFETCH(QString, item);
    QFETCH(QByteArray, bytes);
    MainWindowFixture app;
    app.form.document().setFileName(app.dir.file(QStringLiteral("opened.txt")));
    app.form.memo().setText(u"ab");
    QVERIFY(documentModified); // the text set above is an edit
    app.fake.saveAnswer = app.dir.file(QStringLiteral("page.out"));
    app.form.findChild<QAction *>(item)->trigger();
    QCOMPARE(readFile(app.fake.saveAnswer), bytes);
    QCOMPARE(app.form.panelText(3), QStringLiteral("UTF-8 nonBOM  ") + app.fake.saveAnswer);
    QVERIFY(documentModified);
    QCOMPARE(currentFileName, app.dir.file(QStringLiteral("opened.txt")));
    // The over-write command still goes to the opened file, not to the export.
    app.form.action("overwritesavefileUTF81")->trigger();
    QCOMPARE(readFile(currentFileName), QByteArray("ab"));
    QCOMPARE(readFile(app.fake.saveAnswer), bytes);
}

void TestSaveCommands::caretAndWrapAfterWriting_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("caret");
    for (const char *item : {"savefile1", "saveHTML99tagASCII1", "saveUnicodenumberlanguageC0x1"}) {
        // A selection collapses to its start; with word wrap on the caret ends at the end.
        QTest::newRow(QByteArray(item) + " wrap off") << QString::fromLatin1(item) << false << 3;
        QTest::newRow(QByteArray(item) + " wrap on") << QString::fromLatin1(item) << true << 45005;
    }
}

void TestSaveCommands::caretAndWrapAfterWriting()
{
    QFETCH(QString, item);
    QFETCH(bool, wrap);
    QFETCH(int, caret);
    MainWindowFixture app;
    app.form.show();
    QVERIFY(QTest::qWaitForWindowActive(&app.form));
    app.form.setWordWrap(wrap);
    app.form.memo().setText(QString(45000, QChar(u'x')) + QStringLiteral("\nabcd"));
    app.form.memo().setSelStart(3);
    app.form.memo().setSelLength(7);
    app.form.Memo1->clearFocus();
    app.fake.saveAnswer = app.dir.file(QStringLiteral("out"));
    app.form.findChild<QAction *>(item)->trigger();
    QCOMPARE(app.form.wordWrap(), wrap);
    QCOMPARE(app.form.panelText(2),
             wrap ? QStringLiteral("WrapLine") : QStringLiteral("noWrapLine"));
    QCOMPARE(app.form.memo().selStart(), caret);
    QCOMPARE(app.form.memo().selLength(), 0);
    QVERIFY(app.form.Memo1->hasFocus());
    QVERIFY(app.form.Memo1->isVisible());
    QVERIFY(!app.form.Label1->isVisible());
}

void TestSaveCommands::editorHiddenWhileWriting()
{
    MainWindowFixture app;
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    VisibilityProbe probe(app.form);
    app.form.memo().setText(u"abc");
    app.fake.saveAnswer = app.dir.file(QStringLiteral("out.txt"));
    app.form.action("savefile1")->trigger();
    QCOMPARE(probe.events, (QStringList{"hide", "show"}));
    // A cancelled dialog never hides the editor.
    app.fake.saveAnswer.clear();
    app.form.action("savefile1")->trigger();
    QCOMPARE(probe.events.size(), 2);
}

void TestSaveCommands::parentIsAFile_data()
{
    QTest::addColumn<QString>("item");
    for (const char *item : {"savefile1", "saveHTML99tagASCII1", "saveUnicodenumberlanguageC0x1"})
        QTest::newRow(item) << QString::fromLatin1(item);
}

void TestSaveCommands::parentIsAFile()
{
    QFETCH(QString, item);
    MainWindowFixture app;
    writeFile(app.dir.file(QStringLiteral("plain")), "keep");
    app.form.memo().setText(u"text");
    app.form.memo().setSelStart(2);
    app.form.memo().setSelLength(1);
    QVERIFY(documentModified); // the text set above is an edit
    app.form.setPanelText(3, QStringLiteral("before"));
    app.fake.saveAnswer = app.dir.file(QStringLiteral("plain/out.txt"));
    app.form.findChild<QAction *>(item)->trigger();
    QCOMPARE(app.fake.boxes.size(), 1);
    QCOMPARE(app.fake.boxes[0].kind, QStringLiteral("error"));
    QCOMPARE(app.fake.boxes[0].text, QStringLiteral("can't file open"));
    QCOMPARE(app.fake.boxes[0].caption, QStringLiteral("ERROR"));
    QVERIFY(documentModified);
    QCOMPARE(app.form.panelText(3), QStringLiteral("before"));
    QVERIFY(app.form.memo().isVisible());
    // Nothing written yet, so the selection is as it was.
    QCOMPARE(app.form.memo().selStart(), 2);
    QCOMPARE(app.form.memo().selLength(), 1);
    QCOMPARE(readFile(app.dir.file(QStringLiteral("plain"))), QByteArray("keep"));
}

void TestSaveCommands::diskRunsOutOfRoom_data()
{
    QTest::addColumn<QString>("item");
    for (const char *item : {"savefile1", "saveHTML99tagASCII1", "saveUnicodenumberlanguageC0x1"})
        QTest::newRow(item) << QString::fromLatin1(item);
}

void TestSaveCommands::diskRunsOutOfRoom()
{
    // The write runs into a file-size limit in a child process, as on a full
    // disk: the old file stays whole and the failure is reported.
    QFETCH(QString, item);
    TestProgramDir dir;
    const QString target = dir.file(QStringLiteral("doc.txt"));
    const QByteArray old("the file as it was before\r\n");
    writeFile(target, old);

    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        int failures = 0;
        {
            MainWindowUnderTest window;
            TForm1 &form = window.form;
            FakePlatform &fake = window.fake;
            form.memo().setText(QString(300000, QChar(u'\uD55C')));
            QVERIFY(documentModified); // the text set above is an edit
            form.setPanelText(3, QStringLiteral("before"));
            fake.saveAnswer = target;
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{64 * 1024, 64 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            form.findChild<QAction *>(item)->trigger();
            if (!(fake.boxes.size() == 1 && fake.boxes[0].kind == QLatin1String("error") &&
                  fake.boxes[0].text == QLatin1String("can't file write") &&
                  fake.boxes[0].caption == QLatin1String("ERROR")))
                failures |= 1;
            if (!documentModified)
                failures |= 2;
            if (form.panelText(3) != QLatin1String("before"))
                failures |= 4;
            if (!form.memo().isVisible() || form.memo().length() != 300000)
                failures |= 8;
        }
        _exit(failures);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readFile(target), old);
    // No temporary file is left behind.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"doc.txt"});
}

void TestSaveCommands::unreadableFileAsksBeforeOverwrite_data()
{
    // A file with a code its decoding could not read, then one save and a later
    // "over write save". The first save asks only when it writes over that file
    // without a dialog; once the file holds the editor's text nothing is lost.
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("target"); // the dialog's answer: "" none, "same", "other"
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("written");
    QTest::addColumn<bool>("laterAsks");
    QTest::newRow("over write, Yes") << "overwritesavefileUTF81"
                                     << "" << true << true << true << false;
    QTest::newRow("over write, No") << "overwritesavefileUTF81"
                                    << "" << false << true << false << true;
    QTest::newRow("save under another name") << "savefile1"
                                             << "other" << true << false << false << true;
    QTest::newRow("save over it through the dialog") << "savefile1"
                                                     << "same" << true << false << true << false;
}

void TestSaveCommands::unreadableFileAsksBeforeOverwrite()
{
    QFETCH(QString, item);
    QFETCH(QString, target);
    QFETCH(bool, yes);
    QFETCH(bool, asked);
    QFETCH(bool, written);
    QFETCH(bool, laterAsks);
    MainWindowFixture app;
    const QString path = app.dir.file(QStringLiteral("sjis.txt"));
    const QByteArray original = hex("82A080");
    writeFile(path, original);
    app.form.LoadTextFile(SJIS, NoBom, path);
    QCOMPARE(app.form.panelText(3), QStringLiteral("SJIS (1 unreadable)  ") + path);
    app.form.memo().setText(u"edited");
    app.fake.saveAnswer = target == QLatin1String("same") ? path
                          : target == QLatin1String("other")
                              ? app.dir.file(QStringLiteral("other.txt"))
                              : QString();
    app.fake.confirmAnswer = yes;
    const QString question =
        QStringLiteral("Some codes of this file could not be read. Over write it?");

    app.form.findChild<QAction *>(item)->trigger();
    QCOMPARE(app.fake.boxes.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(app.fake.boxes[0].text, question);
        QCOMPARE(app.fake.boxes[0].caption, QStringLiteral("confirm"));
    }
    QCOMPARE(readFile(path), written ? QByteArray("edited") : original);
    QCOMPARE(documentModified, !written && target.isEmpty());
    if (target == QLatin1String("other"))
        QCOMPARE(readFile(app.fake.saveAnswer), QByteArray("edited"));

    // Later: "over write save" to the opened file, answered Yes.
    app.fake.boxes.clear();
    app.fake.confirmAnswer = true;
    app.form.action("overwritesavefileUTF81")->trigger();
    QCOMPARE(app.fake.boxes.size(), laterAsks ? 1 : 0);
    QCOMPARE(readFile(path), QByteArray("edited"));
}

QTEST_MAIN(TestSaveCommands)
#include "tst_save_commands.moc"
