// The document's state: the modified state follows the text's changes (a load is
// no change), a save or letting the changes go ends it; the program's document
// answers the program-wide reads; the file's identity and the unreadable codes
// follow reads and writes of the document's file.
#include "document/document.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestDocument : public QObject
{
    Q_OBJECT
private slots:
    void modifiedFollowsChanges_data();
    void modifiedFollowsChanges();
    void notifications();
    void programWideReads();
    void fileIdentity();
    void unreadableCodesFollowTheFile();
};

void TestDocument::modifiedFollowsChanges_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("modified");
    QTest::newRow("edit") << 0 << true;
    QTest::newRow("undo of an edit is a change too") << 1 << true;
    QTest::newRow("text arriving while loading") << 2 << false;
    QTest::newRow("edit, then saved") << 3 << false;
    QTest::newRow("edit, then changes let go") << 4 << false;
    QTest::newRow("edit, then loaded") << 5 << false;
    QTest::newRow("empty edit") << 6 << false;
}

void TestDocument::modifiedFollowsChanges()
{
    QFETCH(int, step);
    QFETCH(bool, modified);
    Document document;
    QVERIFY(!document.isModified());
    switch (step) {
    case 0:
        document.store().replace(0, 0, u"a");
        break;
    case 1:
        document.store().replace(0, 0, u"a");
        document.setSaved(QString());
        document.store().undo();
        break;
    case 2: {
        const Document::Loading loading(document);
        document.store().setText(u"loaded");
        break;
    }
    case 3:
        document.store().replace(0, 0, u"a");
        document.setSaved(QStringLiteral("/nowhere/saved.txt"));
        break;
    case 4:
        document.store().replace(0, 0, u"a");
        document.abandonChanges();
        break;
    case 5:
        document.store().replace(0, 0, u"a");
        document.setLoaded(LineBreakStyle::Lf);
        break;
    case 6:
        document.store().replace(0, 0, u"");
        break;
    }
    QCOMPARE(document.isModified(), modified);
}

void TestDocument::notifications()
{
    Document document;
    QSignalSpy text(&document, &Document::textChanged);
    QSignalSpy state(&document, &Document::stateChanged);
    document.store().replace(0, 0, u"abc");
    document.store().replace(1, 1, u"xy");
    QCOMPARE(text.count(), 2);
    QCOMPARE(text.at(1).at(0).value<qsizetype>(), 1);
    QCOMPARE(text.at(1).at(1).value<qsizetype>(), 1);
    QCOMPARE(text.at(1).at(2).value<qsizetype>(), 2);
    QCOMPARE(state.count(), 1); // modified once, not per edit
    document.setFileName(QStringLiteral("a.txt"));
    document.setFileName(QStringLiteral("a.txt"));
    QCOMPARE(state.count(), 2);
    QCOMPARE(document.fileName(), QStringLiteral("a.txt"));
}

void TestDocument::programWideReads()
{
    {
        Document local;
        local.setFileName(QStringLiteral("local.txt"));
        local.store().replace(0, 0, u"x");
        QCOMPARE(currentFileName, QString());
        QVERIFY(!documentModified);

        Document program(Document::ProgramWide);
        program.setFileName(QStringLiteral("program.txt"));
        QCOMPARE(currentFileName, QStringLiteral("program.txt"));
        QVERIFY(!documentModified);
        program.store().replace(0, 0, u"x");
        QVERIFY(documentModified);
        program.setSaved(QString());
        QVERIFY(!documentModified);
        program.store().replace(0, 0, u"y");
    }
    // Nothing is left to read once the program's document is gone.
    QCOMPARE(currentFileName, QString());
    QVERIFY(!documentModified);
}

void TestDocument::fileIdentity()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    QVERIFY(!FileIdentity::of(path).exists());
    QVERIFY(!FileIdentity::of(QString()).exists());
    writeBytes(path, "abc");
    const FileIdentity first = FileIdentity::of(path);
    QVERIFY(first.exists());
    QCOMPARE(first.size, 3);
    QCOMPARE(FileIdentity::of(path), first);

    Document document;
    document.setFileName(path);
    document.setLoaded(LineBreakStyle::CrLf, path, 0, {UTF16LE, LittleEndianBom});
    QCOMPARE(document.fileIdentity(), first);
    QCOMPARE(document.encoding(), (DocumentEncoding{UTF16LE, LittleEndianBom}));

    // Rewritten under the same name: another size, another identity.
    writeBytes(path, "abcdef");
    QVERIFY(FileIdentity::of(path) != document.fileIdentity());
    document.setSaved(path);
    QCOMPARE(document.fileIdentity(), FileIdentity::of(path));
    QCOMPARE(document.fileIdentity().size, 6);

    // A write to another file leaves the document's file as it was known.
    const FileIdentity known = document.fileIdentity();
    const QString other = dir.filePath(QStringLiteral("b.txt"));
    writeBytes(other, "x");
    document.setWritten(other);
    QCOMPARE(document.fileIdentity(), known);
}

void TestDocument::unreadableCodesFollowTheFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.txt"));
    writeBytes(path, "abc");
    Document document;
    document.setFileName(path);
    document.setLoaded(LineBreakStyle::Lf, path, 2);
    QCOMPARE(document.unreadableCount(), 2u);
    QCOMPARE(document.lineBreak(), LineBreakStyle::Lf);
    QVERIFY(document.replacesUnreadable(path));
    QVERIFY(document.replacesUnreadable(dir.path() + QStringLiteral("/./a.txt")));
    QVERIFY(!document.replacesUnreadable(dir.filePath(QStringLiteral("b.txt"))));
    QVERIFY(!document.replacesUnreadable(QString()));
    document.setWritten(dir.filePath(QStringLiteral("b.txt")));
    QVERIFY(document.replacesUnreadable(path));
    document.setWritten(path);
    QVERIFY(!document.replacesUnreadable(path));
    QCOMPARE(document.unreadableCount(), 0u);
}

QTEST_GUILESS_MAIN(TestDocument)
#include "tst_document.moc"
