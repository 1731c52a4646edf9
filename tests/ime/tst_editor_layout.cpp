// The editor's document layout keeps the stock geometry: a line growing past the
// widest one widens the horizontal range, wrapped lines wrap and unwrap as they
// are edited, and the text is edited exactly.
#include "app/app_state.h"
#include "app/editor_document_layout.h"
#include "app/memo_edit.h"
#include "app/plain_text_control.h"

#include <QScrollBar>
#include <QTest>
#include <QTextBlock>

class TestEditorLayout : public QObject
{
    Q_OBJECT
private slots:
    void editorUsesIt();
    void widestLineGrowsAndShrinks();
    void wrappedLineCountFollowsEdits();
    void blockCountChangesStillLaidOut();
    void replaceRange_data();
    void replaceRange();
    void replaceRangeReadOnly();
};

namespace {

struct Editor
{
    MemoEdit edit;
    PlainTextControl control{&edit};

    explicit Editor(bool wrap)
    {
        edit.resize(300, 200);
        control.setWordWrap(wrap);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
    }
    void settle() { QCoreApplication::processEvents(); }
};

} // namespace

void TestEditorLayout::editorUsesIt()
{
    MemoEdit edit;
    QVERIFY(qobject_cast<EditorDocumentLayout *>(edit.document()->documentLayout()));
}

void TestEditorLayout::widestLineGrowsAndShrinks()
{
    Editor e(false);
    e.control.setText(u"abc\n"_qs.repeated(60));
    e.control.setSelStart(4 * 30 + 3); // end of line 30
    e.settle();
    const int start = e.edit.horizontalScrollBar()->maximum();
    QTest::keyClicks(&e.edit, QString(120, u'W'));
    e.settle();
    const int grown = e.edit.horizontalScrollBar()->maximum();
    QVERIFY2(grown > start + 500, qPrintable(QString::number(grown)));
    for (int i = 0; i < 60; ++i)
        QTest::keyClick(&e.edit, Qt::Key_Backspace);
    e.settle();
    // The range never gets too short for the line being edited...
    QVERIFY(e.edit.horizontalScrollBar()->maximum() >= start);
    QTest::keyClicks(&e.edit, QString(200, u'W'));
    e.settle();
    // ...and a line growing past the old widest still widens it.
    QVERIFY(e.edit.horizontalScrollBar()->maximum() > grown);
    const QString text = e.control.text();
    QCOMPARE(text.size(), 4 * 60 + 260);
    QCOMPARE(text.mid(4 * 30 + 3, 260), QString(260, u'W'));
}

void TestEditorLayout::wrappedLineCountFollowsEdits()
{
    Editor e(true);
    e.control.setText(u"abc\n"_qs.repeated(60));
    e.control.setSelStart(4 * 10 + 3);
    e.settle();
    QTextDocument *doc = e.edit.document();
    const int lines = doc->lineCount();
    const int range = e.edit.verticalScrollBar()->maximum();
    QVERIFY(range > 0);
    QTest::keyClicks(&e.edit, QString(120, u'W'));
    e.settle();
    const QTextBlock block = doc->findBlockByNumber(10);
    QVERIFY(block.layout()->lineCount() > 2);
    QCOMPARE(doc->lineCount(), lines + block.layout()->lineCount() - 1);
    // The vertical range follows the wrapped lines.
    QCOMPARE(e.edit.verticalScrollBar()->maximum(), range + block.layout()->lineCount() - 1);
    for (int i = 0; i < 120; ++i)
        QTest::keyClick(&e.edit, Qt::Key_Backspace);
    e.settle();
    QCOMPARE(doc->findBlockByNumber(10).layout()->lineCount(), 1);
    QCOMPARE(doc->lineCount(), lines);
    QCOMPARE(e.edit.verticalScrollBar()->maximum(), range);
    QCOMPARE(e.control.text(), u"abc\n"_qs.repeated(60));
}

void TestEditorLayout::blockCountChangesStillLaidOut()
{
    Editor e(false);
    e.control.setText(u"one\ntwo");
    e.control.setSelStart(3);
    QTest::keyClick(&e.edit, Qt::Key_Return);
    QTest::keyClicks(&e.edit, u"x"_qs);
    QTest::keyClick(&e.edit, Qt::Key_Backspace);
    QTest::keyClick(&e.edit, Qt::Key_Backspace);
    e.settle();
    QCOMPARE(e.control.text(), u"one\ntwo"_qs);
    QCOMPARE(e.edit.document()->blockCount(), 2);
    QCOMPARE(e.edit.document()->lineCount(), 2);
}

void TestEditorLayout::replaceRange_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("len");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::newRow("one unit") << 1 << 1 << u"각"_qs << u"가각다\n라"_qs << 2;
    QTest::newRow("insert") << 3 << 0 << u"ㄱ"_qs << u"가나다ㄱ\n라"_qs << 4;
    QTest::newRow("delete") << 2 << 1 << QString() << u"가나\n라"_qs << 2;
    QTest::newRow("across a break") << 2 << 3 << u"x"_qs << u"가나x"_qs << 3;
    QTest::newRow("clamped end") << 4 << 9 << u"y"_qs << u"가나다\ny"_qs << 5;
    QTest::newRow("clamped start") << -3 << 1 << u"z"_qs << u"z나다\n라"_qs << 1;
    QTest::newRow("guarded unit") << 0 << 1 << u"\r"_qs << u"\r나다\n라"_qs << 1;
}

// The composer's write: one edit, caret behind it, nothing selected, undone at once.
void TestEditorLayout::replaceRange()
{
    QFETCH(int, pos);
    QFETCH(int, len);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    Editor e(false);
    e.control.setText(u"가나다\n라");
    e.control.setSelStart(0);
    e.control.setSelLength(2); // any selection is dropped
    e.control.replaceRange(pos, len, text);
    QCOMPARE(e.control.text(), expected);
    QCOMPARE(e.control.selStart(), caret);
    QCOMPARE(e.control.selLength(), 0);
    e.edit.undo();
    QCOMPARE(e.control.text(), u"가나다\n라"_qs);
}

void TestEditorLayout::replaceRangeReadOnly()
{
    Editor e(false);
    e.control.setText(u"가나다");
    e.control.setReadOnly(true);
    e.control.replaceRange(1, 1, u"x");
    QCOMPARE(e.control.text(), u"가나다"_qs);
    QCOMPARE(e.control.selStart(), 1);
    QCOMPARE(e.control.selLength(), 1);
}

QTEST_MAIN(TestEditorLayout)
#include "tst_editor_layout.moc"
