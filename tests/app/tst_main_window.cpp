// The main window: start-up defaults and stored settings, status bar, menus,
// word wrap, font, the waiting label and the settings written at close.
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "ime/ime_mode.h"
#include "settings/app_state.h"
#include "settings/settings_file.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_env.h"

#include <QAccessible>
#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void startUpDefaults();
    void longPathDoesNotWidenTheWindow();
    void storedSettingsApplied_data();
    void storedSettingsApplied();
    void menusCarryNamesAndCaptions();
    void wrapToggleTwiceRestores();
    void wrapSurvivesRestart();
    void waitingLabelSeenExactlyWhileEditorHidden();
    void caretPositionPanel();
    void settingsWrittenAtClose();
    void changeFontStoredAndRestored();
    void changeFontCancelled();
    void commandLineArgumentTaken();
    void narrowWindowAndScreenReaderNames();
    void storedGeometryShown_data();
    void storedGeometryShown();
    void everyEditPathMarksTheDocument_data();
    void everyEditPathMarksTheDocument();
    void droppedFileOpens();
};

void TestMainWindow::startUpDefaults()
{
    MainWindowFixture app;
    QCOMPARE(app.form.windowTitle(),
             QStringLiteral("Tavril Korean Editor Ver 0.8(Built-in Korean IME Romanized/Direct)"));
    QCOMPARE(app.form.pos(), QPoint(357, 86));
    QCOMPARE(app.form.size(), QSize(416, 480));
    QCOMPARE(app.form.panelText(0), QStringLiteral("R"));
    QCOMPARE(app.form.panelText(1), QString());
    QCOMPARE(app.form.panelText(2), QStringLiteral("noWrapLine"));
    QCOMPARE(app.form.panelText(3), QString());
    QCOMPARE(app.form.action("Wrapofftoggle1")->text(), QStringLiteral("Wrap Line on(toggle)"));
    QVERIFY(!app.form.wordWrap());
    QCOMPARE(ImeMode, 1);
    QCOMPARE(programDir, app.dir.path());
    QCOMPARE(app.form.memo().text(), QString());
    QVERIFY(!openingFromCommandLine);
    QCOMPARE(app.form.Memo1->font().family(), QStringLiteral("MS UI Gothic"));
    QCOMPARE(app.form.Memo1->font().pixelSize(), 19);
    QVERIFY(!app.form.TimerMemo->isActive());
    QCOMPARE(app.form.TimerMemo->interval(), 500);
    // Four panels, the first three at least the design widths when there is room.
    const auto panels = app.form.StatusBar1->findChildren<QLabel *>();
    QCOMPARE(panels.size(), 4);
    QVERIFY(app.form.StatusBar1->findChild<QLabel *>(QStringLiteral("StatusBar1Panel0"))
                ->sizeHint()
                .width() >= 20);
    QVERIFY(app.form.StatusBar1->findChild<QLabel *>(QStringLiteral("StatusBar1Panel1"))
                ->sizeHint()
                .width() >= 100);
    QVERIFY(app.form.StatusBar1->findChild<QLabel *>(QStringLiteral("StatusBar1Panel2"))
                ->sizeHint()
                .width() >= 65);
}

void TestMainWindow::longPathDoesNotWidenTheWindow()
{
    MainWindowFixture app;
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    app.form.setPanelText(3, QStringLiteral("UTF-8 nonBOM  ") + QString(400, u'x'));
    QCoreApplication::processEvents();
    QCOMPARE(app.form.width(), 416);
    QVERIFY(app.form.minimumSizeHint().width() < 416);
}

void TestMainWindow::storedSettingsApplied_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("panel0");
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("wrap");
    QTest::newRow("limits") << QByteArray("800\r\n-5\r\n50\r\n5000\r\n7\r\n1\r\n")
                            << QRect(0, 0, 100, 700) << QString() << 0 << true;
    // The test screen is 800 x 800: what the limits keep is then moved and
    // shrunk onto it.
    QTest::newRow("direct") << QByteArray("10\r\n20\r\n2000\r\n3000\r\n2\r\n0\r\n")
                            << QRect(0, 0, 800, 800) << QStringLiteral("H") << 2 << false;
    QTest::newRow("over") << QByteArray("10\r\n20\r\n2001\r\n3001\r\n") << QRect(0, 10, 800, 700)
                          << QStringLiteral("R") << 1 << false;
    QTest::newRow("abc") << QByteArray("abc\r\n") << QRect(357, 0, 416, 480) << QStringLiteral("R")
                         << 1 << false;
    QTest::newRow("empty third line") << QByteArray("5\r\n6\r\n\r\n200\r\n0\r\n1\r\n")
                                      << QRect(6, 5, 416, 480) << QStringLiteral("R") << 1 << false;
    QTest::newRow("mode -1") << QByteArray("5\n6\n300\n300\n-1\n0\n") << QRect(6, 5, 300, 300)
                             << QString() << 0 << false;
}

void TestMainWindow::storedSettingsApplied()
{
    QFETCH(QByteArray, file);
    QFETCH(QRect, geometry);
    QFETCH(QString, panel0);
    QFETCH(int, mode);
    QFETCH(bool, wrap);
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &) {
        dir.write(QStringLiteral("setteiedit.dat"), file);
    });
    QCOMPARE(QRect(app.form.pos(), app.form.size()), geometry);
    QCOMPARE(app.form.panelText(0), panel0);
    QCOMPARE(ImeMode, mode);
    QCOMPARE(app.form.wordWrap(), wrap);
    QCOMPARE(app.form.panelText(2),
             wrap ? QStringLiteral("WrapLine") : QStringLiteral("noWrapLine"));
    QCOMPARE(app.form.action("Wrapofftoggle1")->text(),
             wrap ? QStringLiteral("Wrap Line off(toggle)")
                  : QStringLiteral("Wrap Line on(toggle)"));
}

void TestMainWindow::menusCarryNamesAndCaptions()
{
    MainWindowFixture app;
    QCOMPARE(app.form.menuBar()->objectName(), QStringLiteral("MainMenu1"));
    const QStringList top = [&] {
        QStringList names;
        for (QAction *a : app.form.menuBar()->actions())
            names << (a->menu() ? a->menu()->objectName() : a->objectName());
        return names;
    }();
    QCOMPARE(top, (QStringList{"FILE1", "edit1", "KoreaRomaIME1", "KoreaDirectIME1", "nonIME1",
                               "ime1", "help1"}));
    QCOMPARE(app.form.action("saveHTML99tagASCII1")->text(),
             QStringLiteral("save Unicode number HTML &&#99;tag(ASCII)"));
    QStringList popup, captions;
    for (QAction *a : app.form.menu("PopupMenu1")->actions()) {
        popup << a->objectName();
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    }
    QCOMPARE(popup,
             (QStringList{"MenuItem1", "MenuItem2", "MenuItem3", "MenuItem4", "MenuItem5",
                          "MenuItem6", "MenuItem7", "MenuItem8", "MenuItem9",
                          "KanjiJapantoHangulSelectArea1", "KanjiJapantoHangulSelectAreaType21",
                          "N2", "HangultoHanja2", "N4", "composeHangul2", "decomposeHangul2"}));
    QCOMPARE(captions,
             (QStringList{"Cut", "Copy", "Paste", "Clear", "Select All", "-", "Korea Roma IME",
                          "Korea Direct IME", "nonIME", "Kanji(Japan) to Hangul(SelectArea)Type1",
                          "Kanji(Japan) to Hangul(SelectArea)Type2", "-", "Hangul to Hanja", "-",
                          "compose Hangul (NFC)", "decompose Hangul (NFD)"}));
    // The action and menu accessors know the window's own items only.
    QCOMPARE(app.form.action("MenuItem1")->parent(), app.form.menu("PopupMenu1"));
    QCOMPARE(app.form.menu("reopenwithencoding1")->parent(), app.form.menu("FILE1"));
    app.searchForm(); // a child window whose items share some names
    QCOMPARE(app.form.action("KanjiJapantoHangulSelectAreaType21")->parent(),
             app.form.menu("PopupMenu1"));
    QVERIFY(!app.form.action("Cut1") && !app.form.menu("PopupMenu2") && !app.form.action(""));
    QVERIFY(app.form.action("MenuItem6")->isSeparator());
    QVERIFY(app.form.action("Wrapofftoggle1")->isEnabled());
    QVERIFY(app.form.action("changefont1")->isEnabled());
    // Every item is found by its object name.
    for (const char *name : {"opentextfile1", "exit1", "find1", "copyright1", "dontuseIME1"})
        QVERIFY2(app.form.findChild<QAction *>(QString::fromLatin1(name)), name);
}

void TestMainWindow::wrapToggleTwiceRestores()
{
    MainWindowFixture app;
    app.form.action("Wrapofftoggle1")->trigger();
    QVERIFY(app.form.wordWrap());
    QVERIFY(app.form.Memo1->wordWrap());
    QCOMPARE(app.form.panelText(2), QStringLiteral("WrapLine"));
    QCOMPARE(app.form.action("Wrapofftoggle1")->text(), QStringLiteral("Wrap Line off(toggle)"));
    app.form.action("Wrapofftoggle1")->trigger();
    QVERIFY(!app.form.wordWrap());
    QVERIFY(!app.form.Memo1->wordWrap());
    QCOMPARE(app.form.panelText(2), QStringLiteral("noWrapLine"));
    QCOMPARE(app.form.action("Wrapofftoggle1")->text(), QStringLiteral("Wrap Line on(toggle)"));
}

void TestMainWindow::wrapSurvivesRestart()
{
    TestProgramDir dir;
    {
        MainWindowUnderTest first;
        first.form.action("Wrapofftoggle1")->trigger();
        first.form.close();
    }
    MainWindowUnderTest again;
    QVERIFY(again.form.wordWrap());
    QCOMPARE(again.form.panelText(2), QStringLiteral("WrapLine"));
}

void TestMainWindow::waitingLabelSeenExactlyWhileEditorHidden()
{
    MainWindowFixture app;
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    QVERIFY(app.form.Memo1->isVisible());
    QVERIFY(!app.form.Label1->isVisible());
    QCOMPARE(app.form.Label1->text(), QStringLiteral("wait please. Reading now."));
    app.form.memo().setVisible(false);
    QVERIFY(app.form.Label1->isVisible());
    QCOMPARE(app.form.Label1->pos(), QPoint(158, 118));
    app.form.memo().setVisible(true);
    QVERIFY(!app.form.Label1->isVisible());
    QVERIFY(app.form.Memo1->isVisible());
}

void TestMainWindow::caretPositionPanel()
{
    MainWindowFixture app;
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    QTest::mouseClick(app.form.Memo1->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(app.form.panelText(1), QStringLiteral("Line:1  Col:1"));
    ImeModeCommand::instance().choose(ImeNone);
    app.form.Memo1->setFocus();
    QTest::keyClicks(app.form.Memo1, QStringLiteral("ab"));
    QCOMPARE(app.form.panelText(1), QStringLiteral("Line:1  Col:3"));
    QTest::keyClick(app.form.Memo1, Qt::Key_Return);
    QCOMPARE(app.form.panelText(1), QStringLiteral("Line:2  Col:1"));
    // Moves made by the program itself do not update the panel.
    app.form.memo().setSelStart(0);
    QCOMPARE(app.form.panelText(1), QStringLiteral("Line:2  Col:1"));
}

void TestMainWindow::settingsWrittenAtClose()
{
    MainWindowFixture app;
    app.form.move(40, 30);
    app.form.resize(500, 400);
    ImeModeCommand::instance().choose(ImeDirect);
    app.form.action("Wrapofftoggle1")->trigger();
    QVERIFY(app.form.close());
    QVERIFY(appClosing);
    QCOMPARE(app.dir.read(QStringLiteral("setteiedit.dat")),
             QByteArray("30\r\n40\r\n500\r\n400\r\n2\r\n1\r\n"));
}

void TestMainWindow::changeFontStoredAndRestored()
{
    TestProgramDir dir;
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPixelSize(23);
    chosen.setBold(true);
    QFont followed;
    {
        // No fixed-pitch request: the stored pitch comes from the face actually used.
        MainWindowUnderTest first(
            [&](FakePlatform &fake, QStringList &) { fake.fontAnswer = chosen; });
        TForm1 &form = first.form;
        QObject::connect(&form, &TForm1::editorFontChanged, [&](const QFont &f) { followed = f; });
        form.action("changefont1")->trigger();
        QCOMPARE(form.Memo1->font().pixelSize(), 23);
        QCOMPARE(followed.pixelSize(), 23);
    }
    const QByteArray bytes = dir.read(QStringLiteral("fontedit.dat"));
    QCOMPARE(bytes.size(), 216);
    QCOMPARE(bytes.mid(4, 4), QByteArray("\x17\0\0\0", 4));
    QCOMPARE(bytes.mid(8, 17), QByteArray("DejaVu Sans Mono\0", 17));
    QCOMPARE(bytes.at(208), '\x02');
    QCOMPARE(bytes.mid(209, 3), QByteArray(3, '\0'));
    QCOMPARE(bytes.mid(212, 4), QByteArray("\x80\xFF\xFF\xFF", 4));
    resetAppState();
    MainWindowUnderTest again;
    QCOMPARE(again.form.Memo1->font().family(), QStringLiteral("DejaVu Sans Mono"));
    QCOMPARE(again.form.Memo1->font().pixelSize(), 23);
    QVERIFY(again.form.Memo1->font().fixedPitch());
    QVERIFY(!again.form.Memo1->font().bold()); // the style is not stored
}

void TestMainWindow::changeFontCancelled()
{
    MainWindowFixture app;
    app.form.action("changefont1")->trigger();
    QCOMPARE(app.form.Memo1->font().pixelSize(), 19);
    QVERIFY(app.dir.read(QStringLiteral("fontedit.dat")).isEmpty());
}

void TestMainWindow::commandLineArgumentTaken()
{
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &arguments) {
        arguments << dir.file(QStringLiteral("a.txt")) << dir.file(QStringLiteral("b.txt"));
    });
    // The open command took the first argument and cleared the flag.
    QVERIFY(!openingFromCommandLine);
    QCOMPARE(app.form.commandLineFile(), app.dir.file(QStringLiteral("a.txt")));
    QCOMPARE(currentFileName, app.dir.file(QStringLiteral("a.txt")));
}

void TestMainWindow::narrowWindowAndScreenReaderNames()
{
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &) {
        dir.write(QStringLiteral("setteiedit.dat"), "800\r\n-5\r\n50\r\n5000\r\n7\r\n1\r\n");
    });
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    app.form.setPanelText(3, QStringLiteral("UTF-8 nonBOM  /tmp/a.txt"));
    QCoreApplication::processEvents();
    // The panels clip: the window keeps the stored width of 100.
    QCOMPARE(app.form.width(), 100);

    // A screen reader hears what each panel shows.
    const QStringList shown{QString(), QString(), QStringLiteral("WrapLine"),
                            QStringLiteral("UTF-8 nonBOM  /tmp/a.txt")};
    for (int i = 0; i < 4; ++i) {
        auto *panel =
            app.form.StatusBar1->findChild<QLabel *>(QStringLiteral("StatusBar1Panel%1").arg(i));
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(panel);
        QVERIFY(a);
        QCOMPARE(a->text(QAccessible::Name), shown[i]);
    }
    QAccessibleInterface *memo = QAccessible::queryAccessibleInterface(app.form.Memo1);
    QCOMPARE(memo->text(QAccessible::Name), QStringLiteral("Document"));
    QVERIFY(memo->textInterface());
    QCOMPARE(QAccessible::queryAccessibleInterface(app.form.StatusBar1)->text(QAccessible::Name),
             QStringLiteral("Status bar"));

    QVERIFY(app.form.close());
    QVERIFY(app.dir.read(QStringLiteral("setteiedit.dat")).startsWith("0\r\n0\r\n100\r\n"));
}

// Rows: the stored settings -> the window shown and written back (an empty
// rectangle: whatever fits the screen's free area).
void TestMainWindow::storedGeometryShown_data()
{
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("99 x 99 is 100 x 100")
        << QByteArray("0\r\n0\r\n99\r\n99\r\n") << QRect(0, 0, 100, 100);
    QTest::newRow("larger than the screen") << QByteArray("0\r\n0\r\n2000\r\n3000\r\n") << QRect();
    QTest::newRow("off the right edge") << QByteArray("700\r\n1000\r\n416\r\n480\r\n") << QRect();
}

void TestMainWindow::storedGeometryShown()
{
    QFETCH(QByteArray, stored);
    QFETCH(QRect, expected);
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &) {
        dir.write(QStringLiteral("setteiedit.dat"), stored);
    });
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    QCoreApplication::processEvents();
    const QRect available = app.form.screen()->availableGeometry();
    const QRect shown = app.form.frameGeometry();
    if (expected.isNull()) {
        QVERIFY2(available.contains(shown), "the window lies inside the screen's free area");
        QVERIFY(app.form.width() >= 100 && app.form.height() >= 100);
    } else {
        QCOMPARE(QRect(app.form.pos(), app.form.size()), expected);
        // Nothing inside holds it larger; the status bar is still at the bottom.
        QCOMPARE(app.form.StatusBar1->geometry().bottom(), app.form.height() - 1);
    }
    const QByteArray written = formatSettings(app.form.y(), app.form.x(), app.form.width(),
                                              app.form.height(), ImeMode, false);
    QVERIFY(app.form.close());
    QCOMPARE(app.dir.read(QStringLiteral("setteiedit.dat")), written);
}

void TestMainWindow::everyEditPathMarksTheDocument_data()
{
    QTest::addColumn<QString>("path");
    for (const char *path :
         {"Delete", "Ctrl+X", "Ctrl+Z", "nonIME Cyrillic", "composer", "drop text", "Ctrl+Delete"})
        QTest::newRow(path) << QString::fromLatin1(path);
}

void TestMainWindow::everyEditPathMarksTheDocument()
{
    QFETCH(QString, path);
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &arguments) {
        dir.write(QStringLiteral("start.txt"), "abc def");
        arguments << dir.file(QStringLiteral("start.txt"));
    });
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    QVERIFY(!documentModified); // loading is no change
    QWidget *editor = app.form.Memo1;
    if (path == u"Delete") {
        QTest::keyClick(editor, Qt::Key_Delete);
    } else if (path == u"Ctrl+X") {
        app.form.memo().setSelLength(2);
        QTest::keyClick(editor, Qt::Key_X, Qt::ControlModifier);
    } else if (path == u"Ctrl+Z") {
        QTest::keyClick(editor, Qt::Key_Delete);
        app.form.document().setSaved(QString()); // as after a save
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(app.form.memo().text(), QStringLiteral("abc def"));
    } else if (path == u"nonIME Cyrillic") {
        ImeModeCommand::instance().choose(ImeNone);
        for (const QString &ch : {QString::fromUtf8("ж"), QString::fromUtf8("д")}) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, ch);
            QCoreApplication::sendEvent(editor, &press);
        }
        QVERIFY(app.form.memo().text().startsWith(QString::fromUtf8("жд")));
    } else if (path == u"composer") {
        QTest::keyClicks(editor, QStringLiteral("han"));
        QCOMPARE(app.form.memo().text().left(1), QString::fromUtf8("한"));
    } else if (path == u"drop text") {
        QMimeData data;
        data.setText(QStringLiteral("dropped"));
        const QPointF at(4, 4);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(app.form.Memo1->viewport(), &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(app.form.Memo1->viewport(), &drop);
        QVERIFY(app.form.memo().text().contains(QStringLiteral("dropped")));
    } else if (path == u"Ctrl+Delete") {
        QTest::keyClick(editor, Qt::Key_Delete, Qt::ControlModifier);
    }
    QVERIFY(app.form.memo().text() != QStringLiteral("abc def") || path == u"Ctrl+Z");
    QVERIFY(documentModified);
    // Closing offers the change for saving.
    app.fake.confirmAnswer = false;
    QVERIFY(app.form.close());
    QCOMPARE(app.fake.boxes.size(), 1);
    QCOMPARE(app.fake.boxes[0].text, QStringLiteral("Save file?"));
}

void TestMainWindow::droppedFileOpens()
{
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &) {
        dir.write(QStringLiteral("dropped.txt"), "from a drop\n");
    });
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(app.dir.file(QStringLiteral("dropped.txt")))});
    const auto dropOn = [&](QWidget *target) {
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(4, 4), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
    };
    // Onto the editor: opened as the open command opens it, nothing inserted.
    app.form.memo().setText(u"typed");
    app.fake.confirmAnswer = false; // "Save file?" answered No
    dropOn(app.form.Memo1->viewport());
    QCOMPARE(app.fake.boxes.size(), 1);
    QCOMPARE(app.fake.boxes[0].text, QStringLiteral("Save file?"));
    QCOMPARE(app.form.memo().text(), QStringLiteral("from a drop\n"));
    QCOMPARE(currentFileName, app.dir.file(QStringLiteral("dropped.txt")));
    QCOMPARE(app.form.panelText(3), QStringLiteral("UTF-8 nonBOM  ") + currentFileName);
    QVERIFY(!documentModified);
    // Onto the status bar of an unmodified document: no question.
    app.form.memo().setText(QString());
    app.form.document().setSaved(QString());
    dropOn(&app.form);
    QCOMPARE(app.fake.boxes.size(), 1);
    QCOMPARE(app.form.memo().text(), QStringLiteral("from a drop\n"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
