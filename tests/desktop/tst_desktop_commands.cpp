// The desktop commands in the main window: shortcut files left in the folders,
// the one failure message, the web addresses handed to the desktop, the about box.
#include "app/main_window.h"
#include "desktop/copyright_form.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_bytes.h"
#include "support/test_env.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString FailureText = QStringLiteral("ショートカット作成失敗");

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray expectedEntry(const QByteArray &execValue)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tavril Korean Editor\n"
           "Comment=Plain-text editor with a built-in Korean input method\n"
           "Exec=" +
           execValue +
           " %f\n"
           "Terminal=false\n"
           "Categories=Utility;TextEditor;\n"
           "MimeType=text/plain;\n"
           "Keywords=Korean;Hangul;Hanja;Japanese;Kanji;encoding;Shift "
           "JIS;EUC-JP;UTF-8;text;editor;\n";
}

// The commands run through their menu items: a disabled or unwired item does nothing,
// so every check below also proves its item enabled and connected.
QAction *action(TForm1 &form, const char *name)
{
    return form.action(QString::fromLatin1(name));
}

} // namespace

class TestDesktopCommands : public QObject
{
    Q_OBJECT
private slots:
    void shortcutWritten_data();
    void shortcutWritten();
    void shortcutTwiceLeavesOne();
    void shortcutFailure_data();
    void shortcutFailure();
    void webPages_data();
    void webPages();
    void aboutBox();
};

void TestDesktopCommands::shortcutWritten_data()
{
    QTest::addColumn<bool>("desktop");
    QTest::addColumn<QString>("folder"); // below a temporary home
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QByteArray>("exec");
    QTest::newRow("program menu, made in a fresh home")
        << false << ".local/share/applications" << u"/opt/내 편집기/bin/tavriledit"_qs
        << QByteArray("\"/opt/내 편집기/bin/tavriledit\"");
    QTest::newRow("desktop, awkward path")
        << true << "Desktop" << u"/tmp/it's \"x\"/a\\b/$y/tavriledit"_qs
        << QByteArray(R"("/tmp/it's \\"x\\"/a\\\\b/\\$y/tavriledit")");
}

void TestDesktopCommands::shortcutWritten()
{
    QFETCH(bool, desktop);
    QFETCH(QString, folder);
    QFETCH(QString, executable);
    QFETCH(QByteArray, exec);
    QTemporaryDir home;
    const QString target = home.filePath(folder);
    if (desktop)
        QVERIFY(QDir().mkpath(target));
    MainWindowFixture app([&](TestProgramDir &, FakePlatform &fake, QStringList &) {
        (desktop ? fake.desktopFolder : fake.applicationsFolder) = target;
        fake.executable = executable;
    });
    action(app.form, desktop ? "createshortcutinDesktopmenu1" : "createShortcutinprogrammenu1")
        ->trigger();
    QCOMPARE(app.fake.boxes.size(), 0);
    const QString file = target + QStringLiteral("/io.github.tavril.TavrilEditor.desktop");
    QCOMPARE(readFile(file), expectedEntry(exec));
    QVERIFY(QFile::permissions(file) & QFile::ExeOwner);
    QVERIFY(QFile::permissions(file) & QFile::ExeOther);
    // The other folder is left alone.
    const QString other = home.filePath(desktop ? ".local" : "Desktop");
    QVERIFY(!QFileInfo::exists(other));
}

void TestDesktopCommands::shortcutTwiceLeavesOne()
{
    QTemporaryDir home;
    MainWindowFixture app([&](TestProgramDir &, FakePlatform &fake, QStringList &) {
        fake.desktopFolder = home.path();
        fake.executable = QStringLiteral("/opt/old/tavriledit");
    });
    app.form.createshortcutinDesktopmenu1Click();
    app.fake.executable = QStringLiteral("/opt/new place/tavriledit");
    app.form.createshortcutinDesktopmenu1Click();
    QCOMPARE(app.fake.boxes.size(), 0);
    QCOMPARE(entries(home.path()),
             QStringList{QStringLiteral("io.github.tavril.TavrilEditor.desktop")});
    QCOMPARE(readFile(home.filePath("io.github.tavril.TavrilEditor.desktop")),
             expectedEntry("\"/opt/new place/tavriledit\""));
}

void TestDesktopCommands::shortcutFailure_data()
{
    QTest::addColumn<bool>("desktop");
    QTest::addColumn<QString>("folder"); // "" for none, else below a temporary folder
    QTest::addColumn<QString>("executable");
    const QString exe = QStringLiteral("/usr/bin/tavriledit");
    QTest::newRow("no program menu folder") << false << "" << exe;
    QTest::newRow("no desktop folder") << true << "" << exe;
    QTest::newRow("desktop folder missing") << true << "Desktop" << exe;
    QTest::newRow("program menu folder is a file") << false << "file" << exe;
    QTest::newRow("program menu below a file") << false << "file/applications" << exe;
    QTest::newRow("desktop folder is a file") << true << "file" << exe;
    QTest::newRow("entry name taken by a folder") << true << "taken" << exe;
    QTest::newRow("executable unknown") << true << "." << QString();
    QTest::newRow("executable unrepresentable") << false << "."
                                                << "/opt/a\x01/tavriledit";
}

void TestDesktopCommands::shortcutFailure()
{
    QFETCH(bool, desktop);
    QFETCH(QString, folder);
    QFETCH(QString, executable);
    QTemporaryDir scratch;
    QFile blocker(scratch.filePath("file"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QVERIFY(
        QDir(scratch.path()).mkpath(QStringLiteral("taken/io.github.tavril.TavrilEditor.desktop")));
    const QStringList before = entries(scratch.path());

    const QString target = folder.isEmpty() ? QString() : scratch.filePath(folder);
    MainWindowFixture app([&](TestProgramDir &, FakePlatform &fake, QStringList &) {
        (desktop ? fake.desktopFolder : fake.applicationsFolder) = target;
        fake.executable = executable;
    });
    action(app.form, desktop ? "createshortcutinDesktopmenu1" : "createShortcutinprogrammenu1")
        ->trigger();
    QCOMPARE(app.fake.boxes.size(), 1);
    QCOMPARE(app.fake.boxes[0].kind, QStringLiteral("error"));
    QCOMPARE(app.fake.boxes[0].text, FailureText);
    QCOMPARE(app.fake.boxes[0].caption, QString()); // the platform's default caption
    QCOMPARE(entries(scratch.path()), before);
    QVERIFY(QFileInfo(scratch.filePath("taken/io.github.tavril.TavrilEditor.desktop")).isDir());
}

void TestDesktopCommands::webPages_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("url");
    QTest::addColumn<bool>("browserStarts");
    QTest::newRow("official") << "Jumptoofficialwebsite1" << EXPECTED_OFFICIAL_URL << true;
    QTest::newRow("dictionary") << "JumptoTavrilJishowebsite1" << EXPECTED_JISHO_URL << true;
    QTest::newRow("no browser") << "Jumptoofficialwebsite1" << EXPECTED_OFFICIAL_URL << false;
}

void TestDesktopCommands::webPages()
{
    QFETCH(QString, item);
    QFETCH(QString, url);
    QFETCH(bool, browserStarts);
    MainWindowFixture app([&](TestProgramDir &, FakePlatform &fake, QStringList &) {
        fake.openUrlResult = browserStarts;
    });
    action(app.form, qPrintable(item))->trigger();
    QCOMPARE(app.fake.openedUrls, QList<QUrl>{QUrl(url)});
    QCOMPARE(app.fake.openedUrls[0].toString(), url); // handed over exactly as configured
    QVERIFY(app.fake.openedUrls[0].isValid());
    QCOMPARE(app.fake.boxes.size(), 0); // a browser that does not start is not reported
    QCOMPARE(app.fake.dialogsRun, 0);
}

void TestDesktopCommands::aboutBox()
{
    MainWindowFixture app;
    {
        Tcopyrightform &box = app.copyrightForm();
        QCOMPARE(app.form.copyrightform(), &box);
        bool checked = false;
        app.fake.dialogAnswer = [&](QDialog *dialog) {
            checked = true;
            [&] {
                QCOMPARE(dialog, static_cast<QDialog *>(&box));
                QVERIFY(dialog->isModal());
                QCOMPARE(dialog->windowTitle(), QStringLiteral("copyright"));
                QCOMPARE(dialog->size(), QSize(393, 178));
                QCOMPARE(dialog->minimumSize(), dialog->maximumSize());
                // Centred on the main window, to the pixel the halves allow.
                const QPoint offset =
                    app.form.frameGeometry().center() - dialog->frameGeometry().center();
                QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
                         qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
                // No buttons: the window's close control closes it.
                QVERIFY(dialog->findChildren<QAbstractButton *>().isEmpty());
            }();
            return int(QDialog::Rejected);
        };
        app.form.move(200, 150);
        action(app.form, "copyright1")->trigger();
        QVERIFY(checked);
        QCOMPARE(app.fake.dialogsRun, 1);

        // Each label at its place, showing its whole text inside the box.
        struct Expected
        {
            QLabel *label;
            QPoint pos;
            QString text;
        };
        const Expected labels[] = {
            {box.Label1, {20, 44}, QStringLiteral("Tavril Korean Text Editor Ver 0.8")},
            {box.Label2, {32, 106}, QStringLiteral("Contact: support@tavril.example")},
            {box.Label3, {32, 134}, QStringLiteral("Web: ") + EXPECTED_OFFICIAL_URL},
        };
        for (const Expected &e : labels) {
            QCOMPARE(e.label->pos(), e.pos);
            QCOMPARE(e.label->text(), e.text);
            QVERIFY(e.label->width() >= e.label->sizeHint().width());
            QVERIFY(QRect(QPoint(), box.size()).contains(e.label->geometry()));
        }
        QCOMPARE(box.Label1->font().pixelSize(), 16);
        QCOMPARE(box.Label1->objectName(), QStringLiteral("Label1"));

        // The main window moved: the box follows when shown again.
        app.form.move(10, 20);
        app.form.copyright1Click();
        QCOMPARE(app.fake.dialogsRun, 2);
    }
    app.closeCopyrightForm();
    QCOMPARE(app.form.copyrightform(), nullptr);
    app.form.copyright1Click(); // without the about box nothing is shown
    QCOMPARE(app.fake.dialogsRun, 2);
}

QTEST_MAIN(TestDesktopCommands)
#include "tst_desktop_commands.moc"
