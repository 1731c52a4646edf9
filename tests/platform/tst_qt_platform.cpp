// The desktop's side of the platform seam: what the real implementation reads
// and writes outside the program, and how a test installs its own.
#include "platform/platform.h"
#include "platform/qt_platform.h"
#include "support/fake_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>

class TestQtPlatform : public QObject
{
    Q_OBJECT
private slots:
    void clipboardRoundTrip();
    void latin1ClipboardIsReadAsBytes();
    void desktopFacts();
    void installedPlatformAnswersUntilRemoved();
};

void TestQtPlatform::clipboardRoundTrip()
{
    QtPlatform qt;
    qt.setClipboardText(u"한글 \U0001F600 text"_qs);
    const ClipboardContent read = qt.readClipboard();
    QVERIFY(read.opened);
    QCOMPARE(read.unicode, u"한글 \U0001F600 text"_qs);
    QVERIFY(!read.ansi);
}

void TestQtPlatform::latin1ClipboardIsReadAsBytes()
{
    auto *data = new QMimeData;
    data->setData(QStringLiteral("text/plain;charset=ISO-8859-1"), QByteArray("caf\xE9"));
    QGuiApplication::clipboard()->setMimeData(data);
    const ClipboardContent read = QtPlatform().readClipboard();
    QVERIFY(!read.unicode);
    QCOMPARE(read.ansi, QByteArray("caf\xE9"));
}

void TestQtPlatform::desktopFacts()
{
    QtPlatform qt;
    const OsFlags flags = qt.osFlags();
    QVERIFY(!flags.isWin9x && !flags.isNt6OrLater); // Windows families only
    QCOMPARE(qt.executablePath(), QCoreApplication::applicationFilePath());
    // The tests' own home: the user's real folders are never named.
    for (StandardFolder which : {StandardFolder::Applications, StandardFolder::Desktop})
        QVERIFY(qt.standardFolder(which).startsWith(qEnvironmentVariable("HOME")));
}

void TestQtPlatform::installedPlatformAnswersUntilRemoved()
{
    {
        FakePlatform fake;
        fake.flags.isWin9x = true;
        QVERIFY(platform().osFlags().isWin9x);
    }
    QVERIFY(!platform().osFlags().isWin9x); // the desktop's again
}

QTEST_MAIN(TestQtPlatform)
#include "tst_qt_platform.moc"
