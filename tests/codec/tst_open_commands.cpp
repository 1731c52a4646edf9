// The open and insert text file commands on the real main window: dialog,
// status bar, waiting label, caret, failures, the command line, and files
// written in every encoding by other programs.
#include "app/main_window.h"
#include "codec/file_reading.h"
#include "editor/memo_view.h"
#include "settings/app_state.h"
#include "support/fake_platform.h"
#include "support/main_window_fixture.h"
#include "support/test_bytes.h"
#include "support/test_env.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

class TestOpenCommands : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void dialogCancelledChangesNothing();
    void openReplacesDocument_data();
    void openReplacesDocument();
    void openAsksBeforeReplacing();
    void openUnreadable_data();
    void openUnreadable();
    void filesFromOtherPrograms_data();
    void filesFromOtherPrograms();
    void everyCodeUnitReachesTheDocument();
    void anyBytesLoad();
    void waitingLabelPaintedBeforeLoad();
    void insertAfterSelection();
    void insertUnreadableIsSilent();
    void insertCancelled();
    void commandLineOpensWithoutDialog();
    void commandLineUnreadable();
    void menuItemsRunTheCommands();
    void reopenWithEncoding_data();
    void reopenWithEncoding();
    void reopenAsksBeforeReplacing_data();
    void reopenAsksBeforeReplacing();
    void reopenNeedsAFile();

private:
    static QString sampleText();
    QTemporaryDir m_files;
};

namespace {

QString write(const TestProgramDir &dir, const QString &name, const QByteArray &bytes)
{
    dir.write(name, bytes);
    return dir.file(name);
}

void checkDialog(const FakePlatform &fake, const QString &title)
{
    QVERIFY(!fake.openRequests.isEmpty());
    const FileDialogRequest &request = fake.openRequests.constLast();
    QCOMPARE(request.title, title);
    QCOMPARE(request.filters,
             (QStringList{QStringLiteral("Text files(*.txt)"), QStringLiteral("HTML files(*.html)"),
                          QStringLiteral("All(*.*)")}));
    QCOMPARE(request.defaultSuffix, QStringLiteral("txt"));
}

// Runs a converter; the file it writes is what the editor then opens.
bool runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    return p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

void TestOpenCommands::dialogCancelledChangesNothing()
{
    MainWindowFixture app;
    app.form.memo().setText(u"old text");
    app.form.document().setSaved(QString());
    app.form.memo().setSelStart(2);
    app.form.memo().setSelLength(3);
    app.form.setPanelText(3, QStringLiteral("before"));
    app.form.opentextfile1Click();
    checkDialog(app.fake, QStringLiteral("Open a Text file"));
    QCOMPARE(app.form.memo().text(), QStringLiteral("old text"));
    QCOMPARE(app.form.memo().selStart(), 2);
    QCOMPARE(app.form.memo().selLength(), 3);
    QCOMPARE(app.form.panelText(3), QStringLiteral("before"));
    QCOMPARE(currentFileName, QString());
    QVERIFY(app.fake.boxes.isEmpty());
}

void TestOpenCommands::openReplacesDocument_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("label");
    QTest::newRow("two lines") << QByteArray("A\nB\n") << "A\nB\n"
                               << "UTF-8 nonBOM";
    QTest::newRow("empty last line") << QByteArray("A\n\n") << "A\n\n"
                                     << "UTF-8 nonBOM";
    QTest::newRow("empty file") << QByteArray() << ""
                                << "UTF-8 nonBOM";
    QTest::newRow("UTF-8 mark") << QByteArray("\xEF\xBB\xBFm\xC3\xA9") << QString::fromUtf8("mé")
                                << "UTF-8 BOM";
    QTest::newRow("UTF-16 mark") << QByteArray("\xFF\xFE") + le("a\r\nb") << "a\nb"
                                 << "UTF16 BOM LE";
    QTest::newRow("long line") << QByteArray(70001, 'x') + "\nB" << QString(70001, u'x') + "\nB"
                               << "UTF-8 nonBOM";
    QTest::newRow("four-byte UTF-8")
        << QByteArray("\xF0\x9F\x98\x80") << QString::fromUtf8("😀") << "UTF-8 nonBOM";
}

void TestOpenCommands::openReplacesDocument()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(QString, label);
    MainWindowFixture app;
    app.form.memo().setText(u"old text\nsecond");
    app.form.document().setSaved(QString());
    app.form.memo().setSelStart(5);
    app.form.setPanelText(1, QStringLiteral("Line:2  Col:3"));
    app.fake.openAnswer = write(app.dir, QStringLiteral("in file.txt"), bytes);
    app.form.opentextfile1Click();
    QCOMPARE(app.form.memo().text(), text);
    QCOMPARE(app.form.memo().selStart(), 0);
    QCOMPARE(app.form.memo().selLength(), 0);
    QCOMPARE(app.form.panelText(1), QStringLiteral("Line:1  Col:1"));
    QCOMPARE(app.form.panelText(3), label + QStringLiteral("  ") + app.fake.openAnswer);
    QCOMPARE(currentFileName, app.fake.openAnswer);
    QVERIFY(app.form.memo().isVisible());
    QVERIFY(app.fake.boxes.isEmpty());
}

void TestOpenCommands::openAsksBeforeReplacing()
{
    // A modified document is offered for saving first; the open itself is no edit.
    struct Row
    {
        bool yes;
        bool saveChosen;
        bool opened;
    };
    for (const Row row :
         {Row{false, false, true}, Row{true, true, true}, Row{true, false, false}}) {
        MainWindowFixture app;
        app.form.memo().setText(u"typed");
        QVERIFY(documentModified);
        app.fake.confirmAnswer = row.yes;
        app.fake.saveAnswer = row.saveChosen ? app.dir.file(QStringLiteral("kept.txt")) : QString();
        app.fake.openAnswer = write(app.dir, QStringLiteral("a.txt"), "abc");
        app.form.opentextfile1Click();
        QCOMPARE(app.fake.boxes.size(), 1);
        QCOMPARE(app.fake.boxes[0].text, QStringLiteral("Save file?"));
        QCOMPARE(app.fake.boxes[0].caption, QStringLiteral("confirm"));
        QCOMPARE(app.form.memo().text(),
                 row.opened ? QStringLiteral("abc") : QStringLiteral("typed"));
        QCOMPARE(documentModified, !row.opened);
        QCOMPARE(QFile::exists(app.dir.file(QStringLiteral("kept.txt"))), row.saveChosen);
        QCOMPARE(app.fake.openRequests.size(), row.opened ? 1 : 0);
    }
    // Unmodified: no question; the insert command marks the document.
    MainWindowFixture app;
    app.fake.openAnswer = write(app.dir, QStringLiteral("b.txt"), "X\n");
    app.form.opentextfile1Click();
    QVERIFY(app.fake.boxes.isEmpty());
    QVERIFY(!documentModified);
    app.form.inserttextfile1Click();
    QCOMPARE(app.form.memo().text(), QStringLiteral("XX\n")); // at the caret, no break added
    QVERIFY(documentModified);
}

void TestOpenCommands::openUnreadable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("keepsPath");
    // A path that does not exist is remembered, so that the first save creates it.
    QTest::newRow("missing") << QStringLiteral("missing.txt") << "can't file open" << true;
    QTest::newRow("folder") << QStringLiteral("folder") << "can't file open" << false;
    // Opens, then fails to read: nothing of it may become the save target.
    QTest::newRow("read error") << QStringLiteral("/proc/self/mem") << "can't file read" << false;
}

void TestOpenCommands::openUnreadable()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(bool, keepsPath);
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &) {
        QDir(dir.path()).mkdir(QStringLiteral("folder"));
    });
    app.form.memo().setText(u"old");
    app.form.document().setSaved(QString());
    app.form.document().setFileName(QStringLiteral("before.txt"));
    app.fake.openAnswer = name.startsWith(u'/') ? name : app.dir.file(name);
    app.form.opentextfile1Click();
    QCOMPARE(app.fake.boxes.size(), 1);
    QCOMPARE(app.fake.boxes[0].kind, QStringLiteral("error"));
    QCOMPARE(app.fake.boxes[0].text, message);
    QCOMPARE(app.fake.boxes[0].caption, QStringLiteral("ERROR"));
    QCOMPARE(app.form.memo().text(), QString());
    QVERIFY(!documentModified);
    QCOMPARE(app.form.panelText(3),
             keepsPath ? QStringLiteral("UTF-8 nonBOM  ") + app.fake.openAnswer : QString());
    QCOMPARE(app.form.panelText(1), QStringLiteral("Line:1  Col:1"));
    QCOMPARE(currentFileName, keepsPath ? app.fake.openAnswer : QString());
    QVERIFY(app.form.memo().isVisible());
    QVERIFY(app.form.Label1->isHidden());
}

void TestOpenCommands::initTestCase()
{
    // The same text written by other programs in every encoding, once for all rows.
    QVERIFY(m_files.isValid());
    const QString source = m_files.filePath(QStringLiteral("source.txt"));
    QFile f(source);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(sampleText().toUtf8()) > 0);
    f.close();
    const char *script = "import sys\n"
                         "src, folder = sys.argv[1:3]\n"
                         "text = open(src, encoding='utf-8', newline='').read()\n"
                         "files = {'utf-8': b'', 'utf-8-sig': b'', 'cp932': b'', 'euc_jp': b'',\n"
                         "         'utf-16-le': b'', 'utf-16-be': b''}\n"
                         "for codec, mark in files.items():\n"
                         "    open(folder + '/' + codec, 'wb').write(text.encode(codec))\n"
                         "open(folder + '/utf-16-le-bom', 'wb').write(b'\\xff\\xfe' + "
                         "text.encode('utf-16-le'))\n"
                         "open(folder + '/utf-16-be-bom', 'wb').write(b'\\xfe\\xff' + "
                         "text.encode('utf-16-be'))\n";
    QVERIFY(runTool(QStringLiteral("python3"),
                    {QStringLiteral("-c"), QString::fromLatin1(script), source, m_files.path()}));
    for (const char *codec : {"SHIFT_JIS", "UTF-16BE", "EUC-JP"}) {
        QProcess p;
        p.setStandardOutputFile(m_files.filePath(QStringLiteral("iconv-") + codec));
        p.start(QStringLiteral("iconv"),
                {QStringLiteral("-f"), QStringLiteral("UTF-8"), QStringLiteral("-t"),
                 QString::fromLatin1(codec), source});
        QVERIFY(p.waitForFinished(30000) && p.exitCode() == 0);
    }
}

QString TestOpenCommands::sampleText()
{
    // 蔭 puts 0xFE where the Shift JIS check looks at a lead byte, so EUC-JP
    // text is told from Shift JIS.
    return QString::fromUtf8("蔭日本語のテキスト、かな漢字ｶﾀｶﾅ。\r\n"
                             "二行目 with ASCII\r\n\r\n四行目");
}

void TestOpenCommands::filesFromOtherPrograms_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("label");
    QTest::newRow("UTF-8") << "utf-8"
                           << "UTF-8 nonBOM";
    QTest::newRow("UTF-8 with mark") << "utf-8-sig"
                                     << "UTF-8 BOM";
    QTest::newRow("Shift JIS") << "cp932"
                               << "SJIS";
    QTest::newRow("EUC-JP") << "euc_jp"
                            << "EUC";
    QTest::newRow("UTF-16 LE with mark") << "utf-16-le-bom"
                                         << "UTF16 BOM LE";
    QTest::newRow("UTF-16 BE with mark") << "utf-16-be-bom"
                                         << "UTF16 BOM BE";
    QTest::newRow("UTF-16 LE") << "utf-16-le"
                               << "UTF16 nonBOM LE";
    QTest::newRow("UTF-16 BE") << "utf-16-be"
                               << "UTF16 nonBOM BE";
    QTest::newRow("iconv Shift JIS") << "iconv-SHIFT_JIS"
                                     << "SJIS";
    QTest::newRow("iconv UTF-16BE") << "iconv-UTF-16BE"
                                    << "UTF16 nonBOM BE";
    QTest::newRow("iconv EUC-JP") << "iconv-EUC-JP"
                                  << "EUC";
}

void TestOpenCommands::filesFromOtherPrograms()
{
    QFETCH(QString, file);
    QFETCH(QString, label);
    MainWindowFixture app;
    app.fake.openAnswer = m_files.filePath(file);
    app.form.opentextfile1Click();
    QCOMPARE(app.form.panelText(3), label + QStringLiteral("  ") + app.fake.openAnswer);
    QCOMPARE(app.form.memo().text(),
             sampleText().replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TestOpenCommands::everyCodeUnitReachesTheDocument()
{
    MainWindowFixture app;
    const char16_t special[] = {0x00A0, 0x2028, 0xFDD0, 0xFDD1, 0xFEFF, 0xFFFE,
                                0xD800, u'x',   0xDC00, 0x0A00, 0x0D00, 0x1A00};
    const QString units = QString::fromUtf16(special, std::size(special));
    app.fake.openAnswer =
        write(app.dir, QStringLiteral("units.txt"), "\xFF\xFE" + le(units + "\r\n" + units));
    app.form.opentextfile1Click();
    QCOMPARE(app.form.memo().text(), units + "\n" + units);
    QCOMPARE(app.form.memo().length(), 2 * units.size() + 1);
}

void TestOpenCommands::anyBytesLoad()
{
    // Whatever the bytes, every encoding loads them and the editor holds
    // exactly what the reader made of them.
    MainWindowFixture app;
    QRandomGenerator random(4);
    for (int round = 0; round < 2; ++round) {
        QByteArray bytes(4000 + round, '\0');
        for (char &c : bytes)
            c = char(random.bounded(256));
        const QString path = write(app.dir, QStringLiteral("random.bin"), bytes);
        // (UTF-16 stores units as read; special units are checked above.)
        for (FileEncoding encoding : {SJIS, UTF8, EUC}) {
            app.form.LoadTextFile(encoding, NoBom, path);
            TextBuffer reference;
            QCOMPARE(ReadTextFile(path, encoding, reference).status, ReadStatus::Read);
            QCOMPARE(app.form.memo().text(),
                     QString(reinterpret_cast<const QChar *>(reference.data()),
                             qsizetype(reference.size()))
                         .replace(QChar::ParagraphSeparator, u'\n'));
        }
    }
}

void TestOpenCommands::waitingLabelPaintedBeforeLoad()
{
    MainWindowFixture app;
    app.form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&app.form));
    app.form.memo().setText(u"old");
    app.form.document().setSaved(QString());

    // Records what the editor looked like whenever the label was painted.
    struct Watcher : QObject
    {
        TForm1 *form;
        QStringList paints;
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::Paint)
                paints << QStringLiteral("%1:%2")
                              .arg(form->Memo1->isHidden())
                              .arg(form->memo().text());
            return false;
        }
    } watcher;
    watcher.form = &app.form;
    app.form.Label1->installEventFilter(&watcher);
    app.fake.openAnswer = write(app.dir, QStringLiteral("a.txt"), "new");
    app.form.opentextfile1Click();
    QVERIFY(!watcher.paints.isEmpty());
    // Painted while the editor was hidden and before the new text was in it.
    QCOMPARE(watcher.paints.first(), QStringLiteral("1:old"));
    QVERIFY(app.form.Memo1->isVisible());
    QCOMPARE(app.form.memo().text(), QStringLiteral("new"));
    QVERIFY(app.form.Memo1->hasFocus() || !QApplication::focusWindow());
}

void TestOpenCommands::insertAfterSelection()
{
    MainWindowFixture app;
    app.form.document().setFileName(QStringLiteral("current.txt"));
    app.form.setPanelText(3, QStringLiteral("UTF-8 nonBOM  current.txt"));
    app.form.setPanelText(1, QStringLiteral("Line:1  Col:2"));
    app.form.memo().setText(u"abcd");
    app.form.memo().setSelStart(1);
    app.form.memo().setSelLength(2); // "bc"
    app.fake.openAnswer = write(app.dir, QStringLiteral("x.txt"), "X\nY\n");
    app.form.inserttextfile1Click();
    checkDialog(app.fake, QStringLiteral("Insert a Text file"));
    QCOMPARE(app.form.memo().text(), QStringLiteral("abcX\nYd"));
    QCOMPARE(app.form.memo().selStart(), 6);
    QCOMPARE(app.form.memo().selLength(), 0);
    QCOMPARE(currentFileName, QStringLiteral("current.txt"));
    QCOMPARE(app.form.panelText(3), QStringLiteral("UTF-8 nonBOM  current.txt"));
    QCOMPARE(app.form.panelText(1), QStringLiteral("Line:1  Col:2"));
    QVERIFY(app.form.memo().isVisible());

    // An empty file inserts nothing; the caret stays.
    app.fake.openAnswer = write(app.dir, QStringLiteral("empty.txt"), QByteArray());
    app.form.inserttextfile1Click();
    QCOMPARE(app.form.memo().text(), QStringLiteral("abcX\nYd"));
    QCOMPARE(app.form.memo().selStart(), 6);
}

void TestOpenCommands::insertUnreadableIsSilent()
{
    MainWindowFixture app;
    app.form.memo().setText(u"abcd");
    app.form.memo().setSelStart(1);
    app.form.memo().setSelLength(2);
    app.fake.openAnswer = app.dir.file(QStringLiteral("missing.txt"));
    app.form.inserttextfile1Click();
    QVERIFY(app.fake.boxes.isEmpty());
    QCOMPARE(app.form.memo().text(), QStringLiteral("abcd"));
    QCOMPARE(app.form.memo().selStart(), 3); // the selection collapsed to its end
    QCOMPARE(app.form.memo().selLength(), 0);
    QCOMPARE(currentFileName, QString());
    QVERIFY(app.form.memo().isVisible());
}

void TestOpenCommands::insertCancelled()
{
    MainWindowFixture app;
    app.form.memo().setText(u"abcd");
    app.form.memo().setSelStart(1);
    app.form.memo().setSelLength(2);
    app.form.inserttextfile1Click();
    QCOMPARE(app.fake.openRequests.size(), 1);
    QCOMPARE(app.form.memo().text(), QStringLiteral("abcd"));
    QCOMPARE(app.form.memo().selStart(), 1);
    QCOMPARE(app.form.memo().selLength(), 2);
}

void TestOpenCommands::commandLineOpensWithoutDialog()
{
    QString path;
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &arguments) {
        path = write(dir, QStringLiteral("start.txt"),
                     "\xEF\xBB\xBF"
                     "first\r\nsecond\r\n");
        arguments << path << dir.file(QStringLiteral("ignored.txt"));
    });
    QVERIFY(app.fake.openRequests.isEmpty());
    QVERIFY(!openingFromCommandLine);
    QCOMPARE(app.form.memo().text(), QStringLiteral("first\nsecond\n"));
    QVERIFY(!documentModified);
    QCOMPARE(app.form.panelText(3), QStringLiteral("UTF-8 BOM  ") + path);
    QCOMPARE(app.form.panelText(1), QStringLiteral("Line:1  Col:1"));
    QCOMPARE(currentFileName, path);
    QCOMPARE(app.form.memo().selStart(), 0);
    // The next open command shows the dialog.
    app.form.opentextfile1Click();
    QCOMPARE(app.fake.openRequests.size(), 1);
    QCOMPARE(app.form.memo().text(), QStringLiteral("first\nsecond\n"));
}

void TestOpenCommands::commandLineUnreadable()
{
    QString path;
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &arguments) {
        path = dir.file(QStringLiteral("nothing here.txt"));
        arguments << path;
    });
    QCOMPARE(app.fake.boxes.size(), 1);
    QCOMPARE(app.fake.boxes[0].text, QStringLiteral("can't file open"));
    QCOMPARE(app.form.memo().text(), QString());
    QCOMPARE(app.form.panelText(3), QStringLiteral("UTF-8 nonBOM  ") + path);
    QCOMPARE(currentFileName, path);
}

void TestOpenCommands::menuItemsRunTheCommands()
{
    MainWindowFixture app;
    QVERIFY(app.form.action("opentextfile1")->isEnabled());
    QVERIFY(app.form.action("inserttextfile1")->isEnabled());
    app.fake.openAnswer = write(app.dir, QStringLiteral("m.txt"), "menu");
    app.form.action("opentextfile1")->trigger();
    QCOMPARE(app.form.memo().text(), QStringLiteral("menu"));
    app.form.memo().setSelStart(4);
    app.form.action("inserttextfile1")->trigger();
    QCOMPARE(app.form.memo().text(), QStringLiteral("menumenu"));
    QCOMPARE(app.fake.openRequests.size(), 2);
    QCOMPARE(app.fake.openRequests[1].title, QStringLiteral("Insert a Text file"));
}

void TestOpenCommands::reopenWithEncoding_data()
{
    // The file as opened first (detection choosing), the item chosen then, and
    // what panel 3 and the editor show after it. Codes a decoding could not read
    // are counted; a U+25A1 or U+FFFD the file holds as a character is not.
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("text");
    const QString M{QChar(MissingCharacter)};
    const QString R{QChar(ReplacementCharacter)};
    QTest::newRow("Auto: what detection chooses") << hex("C7D1B1DB") << "reopenAuto1"
                                                  << "EUC-KR" << QString::fromUtf8("한글");
    QTest::newRow("EUC-KR") << hex("C7D1B1DB") << "reopenEUCKR1"
                            << "EUC-KR" << QString::fromUtf8("한글");
    QTest::newRow("CP949 with extension codes") << hex("8C63B9E6B0A2C7CF") << "reopenEUCKR1"
                                                << "CP949" << QString::fromUtf8("똠방각하");
    QTest::newRow("CP949 unreadable")
        << hex("C7D180A1E0C9A1") << "reopenEUCKR1"
        << "EUC-KR (2 unreadable)" << QString::fromUtf8("한") + M + QString::fromUtf8("□") + M;
    QTest::newRow("Shift JIS unreadable")
        << hex("82A081A080A0") << "reopenSJIS1"
        << "SJIS (2 unreadable)" << QString::fromUtf8("あ□") + M + M;
    // A lone first byte at the end of a line is dropped, and counted.
    QTest::newRow("EUC-JP unreadable")
        << hex("A4A2A2A28FA10AA4") << "reopenEUCJP1"
        << "EUC (2 unreadable)" << QString::fromUtf8("あ□") + M + QStringLiteral("\n");
    QTest::newRow("UTF-8 replacement as text") << hex("E296A1EFBFBD") << "reopenUTF81"
                                               << "UTF-8 nonBOM" << QString::fromUtf8("□") + R;
    QTest::newRow("UTF-8 malformed")
        << hex("41FFC3") << "reopenUTF81"
        << "UTF-8 nonBOM (2 unreadable)" << QStringLiteral("A") + R + R;
    QTest::newRow("UTF-8 mark") << hex("EFBBBF41C0") << "reopenUTF81"
                                << "UTF-8 BOM (1 unreadable)" << QStringLiteral("A") + R;
    QTest::newRow("UTF-16 LE, its mark") << hex("FFFE") + le("AB") << "reopenUTF16LE1"
                                         << "UTF16 BOM LE"
                                         << "AB";
    QTest::newRow("UTF-16 LE, the other mark skipped") << hex("FEFF") + le("AB") << "reopenUTF16LE1"
                                                       << "UTF16 nonBOM LE"
                                                       << "AB";
    QTest::newRow("UTF-16 BE, its mark") << hex("FEFF") + be("AB") << "reopenUTF16BE1"
                                         << "UTF16 BOM BE"
                                         << "AB";
    QTest::newRow("UTF-16 BE over a little-endian mark")
        << hex("FFFE") + be("AB") << "reopenUTF16BE1"
        << "UTF16 nonBOM BE"
        << "AB";
    QTest::newRow("UTF-16 odd last byte") << le("AB") + "C"
                                          << "reopenUTF16LE1"
                                          << "UTF16 nonBOM LE (1 unreadable)"
                                          << "AB";
}

void TestOpenCommands::reopenWithEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, item);
    QFETCH(QString, label);
    QFETCH(QString, text);
    MainWindowFixture app;
    app.fake.openAnswer = write(app.dir, QStringLiteral("file.txt"), bytes);
    app.form.opentextfile1Click();
    app.form.memo().setSelStart(1);
    auto *action = app.form.menu("reopenwithencoding1")->findChild<QAction *>(item);
    QVERIFY(action);
    QVERIFY(app.form.menu("reopenwithencoding1")->menuAction()->isEnabled());
    action->trigger();
    QCOMPARE(app.form.panelText(3), label + QStringLiteral("  ") + app.fake.openAnswer);
    QCOMPARE(app.form.memo().text(), text);
    QCOMPARE(app.form.memo().selStart(), 0);
    QCOMPARE(currentFileName, app.fake.openAnswer);
    QVERIFY(!documentModified);
    QVERIFY(app.fake.boxes.isEmpty());
    QCOMPARE(app.fake.openRequests.size(), 1); // the reopen asks for no file
    QCOMPARE(readFile(app.fake.openAnswer), bytes);
}

void TestOpenCommands::reopenAsksBeforeReplacing_data()
{
    // A modified document is offered for saving first; the file holds a code
    // Shift JIS cannot read, so writing over it asks once more.
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("reopened");
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("No: reopened unsaved") << QList<bool>{false} << true << hex("82A080");
    QTest::newRow("Yes, Yes: saved, then reopened")
        << QList<bool>{true, true} << true << QByteArray("typed");
    QTest::newRow("Yes, No: nothing written, not reopened")
        << QList<bool>{true, false} << false << hex("82A080");
}

void TestOpenCommands::reopenAsksBeforeReplacing()
{
    QFETCH(QList<bool>, answers);
    QFETCH(bool, reopened);
    QFETCH(QByteArray, file);
    MainWindowFixture app;
    const QString path = write(app.dir, QStringLiteral("sjis.txt"), hex("82A080"));
    app.form.LoadTextFile(SJIS, NoBom, path);
    QCOMPARE(app.form.panelText(3), QStringLiteral("SJIS (1 unreadable)  ") + path);
    app.form.memo().setText(u"typed");
    QVERIFY(documentModified);
    app.fake.confirmAnswers = answers;
    app.form.action("reopenUTF81")->trigger();
    QCOMPARE(app.fake.boxes.size(), answers.size());
    QCOMPARE(app.fake.boxes[0].text, QStringLiteral("Save file?"));
    if (answers.size() > 1)
        QCOMPARE(app.fake.boxes[1].text,
                 QStringLiteral("Some codes of this file could not be read. Over write it?"));
    for (const BoxCall &box : app.fake.boxes)
        QCOMPARE(box.caption, QStringLiteral("confirm"));
    QVERIFY(app.fake.saveRequests.isEmpty());
    QCOMPARE(readFile(path), file);
    QCOMPARE(documentModified, !reopened);
    QCOMPARE(app.form.panelText(3).startsWith(QStringLiteral("UTF-8 nonBOM")), reopened);
    if (!reopened)
        QCOMPARE(app.form.memo().text(), QStringLiteral("typed"));
}

void TestOpenCommands::reopenNeedsAFile()
{
    MainWindowFixture app([&](TestProgramDir &dir, FakePlatform &, QStringList &) {
        QDir(dir.path()).mkdir(QStringLiteral("folder"));
    });
    QAction *submenu = app.form.menu("reopenwithencoding1")->menuAction();
    QCOMPARE(submenu->text(), QStringLiteral("reopen with encoding"));
    // Right after the insert command in the file menu.
    const QList<QAction *> items = app.form.menu("FILE1")->actions();
    QCOMPARE(items.indexOf(submenu), items.indexOf(app.form.action("inserttextfile1")) + 1);
    QStringList captions;
    for (QAction *a : app.form.menu("reopenwithencoding1")->actions())
        captions << a->text();
    QCOMPARE(captions, (QStringList{"Auto", "UTF-8", "UTF-16 LE", "UTF-16 BE", "Shift JIS",
                                    "EUC-JP", "EUC-KR / CP949"}));
    QVERIFY(!submenu->isEnabled());
    app.form.reopenWithEncoding(UTF8); // nothing to read again
    QVERIFY(app.fake.boxes.isEmpty() && app.fake.openRequests.isEmpty());

    app.fake.openAnswer = write(app.dir, QStringLiteral("a.txt"), "abc");
    app.form.opentextfile1Click();
    QVERIFY(submenu->isEnabled());
    // A failed read forgets the file, and the submenu follows.
    app.fake.openAnswer = app.dir.file(QStringLiteral("folder"));
    app.form.opentextfile1Click();
    QCOMPARE(currentFileName, QString());
    QVERIFY(!submenu->isEnabled());
}

QTEST_MAIN(TestOpenCommands)
#include "tst_open_commands.moc"
