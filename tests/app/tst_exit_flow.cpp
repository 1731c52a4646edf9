// The exit command, the exit dialog and the main window's close: what is asked,
// what is saved, when the program ends, and that changes the user chose to keep
// are never dropped when their save did not complete.
#include "app/exit_form.h"
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_bytes.h"
#include "support/test_env.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPushButton>
#include <QTest>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// How the exit dialog is answered in a test.
enum Answer { Save = 1, NoSave = 2, Cancel = 3, Frame = 4 };

std::function<int(QDialog *)> answerWith(Answer answer)
{
    return [answer](QDialog *dialog) {
        auto *form = static_cast<Texitform *>(dialog);
        switch (answer) {
        case Save:
            form->Button1->click();
            break;
        case NoSave:
            form->Button2->click();
            break;
        case Cancel:
            form->Button3->click();
            break;
        case Frame:
            form->show();
            form->close(); // the frame's close button
            break;
        }
        return form->result();
    };
}

// Which file the save goes to when the user asks for one.
enum Target { NewDocument, OpenedFile, DialogCancelled, ParentIsAFile };

// A file opened as "old", a plain file, the save target the case asks for and
// "typed" in the editor; returns the opened file's path.
QString prepareSave(MainWindowFixture &app, int target)
{
    const QString opened = app.dir.file(QStringLiteral("opened.txt"));
    writeFile(opened, "old");
    writeFile(app.dir.file(QStringLiteral("plain")), "");
    if (target == OpenedFile) { // as read by the open command: its identity known
        app.form.document().setFileName(opened);
        app.form.document().setLoaded(LineBreakStyle::CrLf, opened);
    }
    if (target == NewDocument)
        app.fake.saveAnswer = app.dir.file(QStringLiteral("new.txt"));
    if (target == ParentIsAFile)
        app.fake.saveAnswer = app.dir.file(QStringLiteral("plain/new.txt"));
    app.form.memo().setText(u"typed");
    return opened;
}

} // namespace

class TestExitFlow : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void exitDialogLayout();
    void exitDialogAnswers_data();
    void exitDialogAnswers();
    void exitUnmodified_data();
    void exitUnmodified();
    void exitModified_data();
    void exitModified();
    void closeByFrame_data();
    void closeByFrame();
    void diskFullOnTheWayOut_data();
    void diskFullOnTheWayOut();
    void unreadableFileOnTheWayOut_data();
    void unreadableFileOnTheWayOut();
};

void TestExitFlow::initTestCase()
{
    // Each case ends its own program; the test run goes on.
    QApplication::setQuitOnLastWindowClosed(false);
}

void TestExitFlow::exitDialogLayout()
{
    MainWindowFixture app;
    Texitform &dialog = app.exitForm();
    QCOMPARE(app.form.exitform(), &dialog);
    QCOMPARE(dialog.objectName(), QStringLiteral("Texitform"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Confirm"));
    QCOMPARE(dialog.size(), QSize(406, 96));
    QVERIFY(dialog.isModal());
    const struct
    {
        QPushButton *button;
        const char *name;
        const char *caption;
        QRect geometry;
    } expected[] = {{dialog.Button1, "Button1", "Save & Exit", {12, 32, 101, 25}},
                    {dialog.Button2, "Button2", "No Save & Exit", {128, 32, 149, 25}},
                    {dialog.Button3, "Button3", "Cancel", {292, 32, 85, 25}}};
    for (const auto &e : expected) {
        QCOMPARE(e.button->objectName(), QString::fromLatin1(e.name));
        QCOMPARE(QString(e.button->text()).replace(QStringLiteral("&&"), QStringLiteral("&")),
                 QString::fromLatin1(e.caption));
        QCOMPARE(e.button->geometry(), e.geometry);
    }
    // No text besides the buttons.
    QCOMPARE(dialog.findChildren<QWidget *>().size(), 3);
    QCOMPARE(dialog.Button1->nextInFocusChain(), dialog.Button2);
    QCOMPARE(dialog.Button2->nextInFocusChain(), dialog.Button3);
}

void TestExitFlow::exitDialogAnswers_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("choice");
    QTest::newRow("Save & Exit") << int(Save) << 1;
    QTest::newRow("No Save & Exit") << int(NoSave) << 2;
    QTest::newRow("Cancel") << int(Cancel) << 0;
    QTest::newRow("closed by its frame") << int(Frame) << 0;
}

void TestExitFlow::exitDialogAnswers()
{
    QFETCH(int, answer);
    QFETCH(int, choice);
    TestProgramDir dir;
    Texitform dialog;
    dialog.setResult(1); // a stale answer must not survive a cancel
    QCOMPARE(answerWith(Answer(answer))(&dialog), choice);
    QCOMPARE(exitChoice, 0); // the dialog answers; only the exit flow keeps the answer
    QVERIFY(!dialog.isVisible());
}

void TestExitFlow::exitUnmodified_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes ends the program") << true;
    QTest::newRow("No goes on") << false;
}

void TestExitFlow::exitUnmodified()
{
    QFETCH(bool, yes);
    MainWindowFixture app(
        [&](TestProgramDir &, FakePlatform &fake, QStringList &) { fake.confirmAnswer = yes; });
    app.exitForm();
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    app.form.action("exit1")->trigger();
    QCOMPARE(app.fake.dialogsRun, 0);
    QCOMPARE(app.fake.boxes.size(), 1); // asked once: the close handler asks nothing
    QCOMPARE(app.fake.boxes[0].kind, QStringLiteral("confirm"));
    QCOMPARE(app.fake.boxes[0].text, QStringLiteral("Exit OK?"));
    QCOMPARE(app.fake.boxes[0].caption, QStringLiteral("confirm"));
    QCOMPARE(app.form.isVisible(), !yes);
    QCOMPARE(QFile::exists(app.dir.file(QStringLiteral("setteiedit.dat"))), yes);
}

void TestExitFlow::exitModified_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<QString>("errorText");
    QTest::newRow("cancel") << int(Cancel) << int(OpenedFile) << false << false << QString();
    QTest::newRow("frame") << int(Frame) << int(OpenedFile) << false << false << QString();
    QTest::newRow("no save") << int(NoSave) << int(OpenedFile) << true << false << QString();
    QTest::newRow("save to opened file")
        << int(Save) << int(OpenedFile) << true << true << QString();
    QTest::newRow("save new document")
        << int(Save) << int(NewDocument) << true << true << QString();
    // The changes the user chose to keep are not on disk: the window stays.
    QTest::newRow("save dialog cancelled")
        << int(Save) << int(DialogCancelled) << false << false << QString();
    QTest::newRow("save cannot open")
        << int(Save) << int(ParentIsAFile) << false << false << QStringLiteral("can't file open");
}

void TestExitFlow::exitModified()
{
    QFETCH(int, answer);
    QFETCH(int, target);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    QFETCH(QString, errorText);
    MainWindowFixture app;
    app.exitForm();
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));

    const QString opened = prepareSave(app, target);
    QVERIFY(documentModified); // the text set above is an edit
    app.fake.dialogAnswer = answerWith(Answer(answer));

    app.form.action("exit1")->trigger();
    QCOMPARE(app.fake.dialogsRun, 1);
    QCOMPARE(exitChoice, answer == Save ? 1 : answer == NoSave ? 2 : 0);
    QCOMPARE(app.form.isVisible(), !closes);
    QCOMPARE(documentModified, !closes);
    QVERIFY(!saveToCurrentFile);
    // A dialog for the file only when no file was opened.
    QCOMPARE(app.fake.saveRequests.size(), answer == Save && target != OpenedFile ? 1 : 0);
    if (target == OpenedFile)
        QCOMPARE(readFile(opened), saved ? QByteArray("typed") : QByteArray("old"));
    if (target == NewDocument)
        QCOMPARE(readFile(app.fake.saveAnswer), QByteArray("typed"));
    if (errorText.isEmpty()) {
        QVERIFY(app.fake.boxes.isEmpty()); // nothing asked after the dialog
    } else {
        QCOMPARE(app.fake.boxes.size(), 1);
        QCOMPARE(app.fake.boxes[0].text, errorText);
    }
    QCOMPARE(QFile::exists(app.dir.file(QStringLiteral("setteiedit.dat"))), closes);
    QCOMPARE(app.form.memo().text(), QStringLiteral("typed"));
}

void TestExitFlow::closeByFrame_data()
{
    QTest::addColumn<bool>("modified");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("target");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("saved");
    QTest::newRow("unmodified asks nothing") << false << true << int(OpenedFile) << true << false;
    QTest::newRow("Yes saves the opened file") << true << true << int(OpenedFile) << true << true;
    QTest::newRow("Yes asks for a new file") << true << true << int(NewDocument) << true << true;
    QTest::newRow("No ends without saving") << true << false << int(OpenedFile) << true << false;
    QTest::newRow("Yes, dialog cancelled: stays")
        << true << true << int(DialogCancelled) << false << false;
    QTest::newRow("Yes, cannot open: stays")
        << true << true << int(ParentIsAFile) << false << false;
}

void TestExitFlow::closeByFrame()
{
    QFETCH(bool, modified);
    QFETCH(bool, yes);
    QFETCH(int, target);
    QFETCH(bool, closes);
    QFETCH(bool, saved);
    MainWindowFixture app(
        [&](TestProgramDir &, FakePlatform &fake, QStringList &) { fake.confirmAnswer = yes; });
    app.exitForm();
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    const QString opened = prepareSave(app, target);
    if (!modified)
        app.form.document().setSaved(QString());

    QCOMPARE(app.form.close(), closes);
    QCOMPARE(app.form.isVisible(), !closes);
    QCOMPARE(app.fake.dialogsRun, 0);
    if (modified) {
        QCOMPARE(app.fake.boxes.value(0).text, QStringLiteral("Save file?"));
        QCOMPARE(app.fake.boxes.value(0).caption, QStringLiteral("confirm"));
    } else {
        QVERIFY(app.fake.boxes.isEmpty());
    }
    if (target == OpenedFile)
        QCOMPARE(readFile(opened), saved ? QByteArray("typed") : QByteArray("old"));
    if (target == NewDocument)
        QCOMPARE(readFile(app.fake.saveAnswer), QByteArray("typed"));
    // appClosing stands while the window goes, and is withdrawn when it stays.
    QCOMPARE(appClosing, closes);
    QCOMPARE(QFile::exists(app.dir.file(QStringLiteral("setteiedit.dat"))), closes);
    if (!closes) {
        QVERIFY(documentModified);
        QVERIFY(!saveToCurrentFile);
        QCOMPARE(app.form.memo().text(), QStringLiteral("typed"));
    }
}

void TestExitFlow::diskFullOnTheWayOut_data()
{
    QTest::addColumn<bool>("byExitCommand");
    QTest::newRow("Save & Exit") << true;
    QTest::newRow("Yes to Save file?") << false;
}

void TestExitFlow::diskFullOnTheWayOut()
{
    // The save on the way out runs into a file-size limit (as on a full disk)
    // in a child process: the program stays open with the document unsaved and
    // the file that was there untouched.
    QFETCH(bool, byExitCommand);
    TestProgramDir dir;
    const QString opened = dir.file(QStringLiteral("opened.txt"));
    writeFile(opened, "as opened");
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        int failures = 0;
        {
            MainWindowUnderTest window(
                [](FakePlatform &fake, QStringList &) { fake.dialogAnswer = answerWith(Save); });
            TForm1 &form = window.form;
            FakePlatform &fake = window.fake;
            window.exitForm();
            form.document().setFileName(opened);
            form.memo().setText(QString(200000, QChar(u'\uD55C')));
            QVERIFY(documentModified); // the text set above is an edit
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{32 * 1024, 32 * 1024};
            setrlimit(RLIMIT_FSIZE, &limit);
            bool closed = false;
            if (byExitCommand) {
                form.show();
                form.action("exit1")->trigger();
                closed = !form.isVisible();
            } else {
                closed = form.close();
            }
            if (closed)
                failures |= 1;
            if (!documentModified)
                failures |= 2;
            if (fake.boxes.isEmpty() || fake.boxes.last().text != QLatin1String("can't file write"))
                failures |= 4;
            if (form.memo().length() != 200000)
                failures |= 8;
        }
        _exit(failures);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readFile(opened), QByteArray("as opened"));
    QVERIFY(!QFile::exists(dir.file(QStringLiteral("setteiedit.dat"))));
}

void TestExitFlow::unreadableFileOnTheWayOut_data()
{
    // The opened file holds a code Shift JIS cannot read; saving over it on the
    // way out asks first, and No keeps the program open with nothing written.
    QTest::addColumn<bool>("byExitCommand");
    QTest::addColumn<QList<bool>>("answers"); // of the questions asked, in order
    QTest::addColumn<bool>("closes");
    QTest::addColumn<bool>("written");
    QTest::newRow("Save & Exit, Yes") << true << QList<bool>{true} << true << true;
    QTest::newRow("Save & Exit, No") << true << QList<bool>{false} << false << false;
    QTest::newRow("close, Save file? Yes, Yes") << false << QList<bool>{true, true} << true << true;
    QTest::newRow("close, Save file? Yes, No")
        << false << QList<bool>{true, false} << false << false;
    QTest::newRow("close, Save file? No") << false << QList<bool>{false} << true << false;
}

void TestExitFlow::unreadableFileOnTheWayOut()
{
    QFETCH(bool, byExitCommand);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, closes);
    QFETCH(bool, written);
    MainWindowFixture app;
    app.exitForm();
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    const QString path = app.dir.file(QStringLiteral("sjis.txt"));
    writeFile(path, hex("82A080"));
    app.form.LoadTextFile(SJIS, NoBom, path);
    app.form.memo().setText(u"typed");
    app.fake.dialogAnswer = answerWith(Save);
    app.fake.confirmAnswers = answers;

    if (byExitCommand)
        app.form.action("exit1")->trigger();
    else
        QCOMPARE(app.form.close(), closes);
    QCOMPARE(app.form.isVisible(), !closes);
    QCOMPARE(app.fake.boxes.size(), answers.size());
    QCOMPARE(app.fake.boxes.constLast().text,
             answers.size() > 1 || byExitCommand
                 ? QStringLiteral("Some codes of this file could not be read. Over write it?")
                 : QStringLiteral("Save file?"));
    QVERIFY(app.fake.saveRequests.isEmpty());
    QCOMPARE(readFile(path), written ? QByteArray("typed") : hex("82A080"));
    if (!closes)
        QVERIFY(documentModified);
    QCOMPARE(QFile::exists(app.dir.file(QStringLiteral("setteiedit.dat"))), closes);
}

QTEST_MAIN(TestExitFlow)
#include "tst_exit_flow.moc"
