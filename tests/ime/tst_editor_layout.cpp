// The editor view's geometry follows edits: a line growing past the widest one
// widens the horizontal range, wrapped lines wrap and unwrap as they are
// edited, and the text is edited exactly.
#include "editor/memo_control.h"
#include "editor/memo_view.h"
#include "settings/app_state.h"

#include <QScrollBar>
#include <QTest>

class TestEditorLayout : public QObject
{
    Q_OBJECT
private slots:
    void widestLineGrowsAndShrinks();
    void wrappedLineCountFollowsEdits();
    void lineCountChangesStillLaidOut();
    void replaceRange_data();
    void replaceRange();
    void replaceRangeReadOnly();
};

namespace {

struct Editor
{
    Document document;
    MemoView edit{document};
    MemoControl control{&edit};

    explicit Editor(bool wrap)
    {
        edit.resize(300, 200);
        control.setWordWrap(wrap);
        edit.show();
        QVERIFY(QTest::qWaitForWindowExposed(&edit));
    }
    void settle() { QCoreApplication::processEvents(); }
    // The row (from the top of the view) the character at pos stands on.
    int rowOf(qsizetype pos) const
    {
        return (edit.characterRect(pos).center().y() - 4) / edit.rowHeight();
    }
};

} // namespace

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
    // The caret at the end of the long line is in view.
    QVERIFY(e.edit.viewport()->rect().contains(e.edit.caretRect().center()));
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
    const int range = e.edit.verticalScrollBar()->maximum();
    QVERIFY(range > 0);
    const int nextLineRow = e.rowOf(4 * 11);
    QCOMPARE(nextLineRow, e.rowOf(4 * 10) + 1);
    QTest::keyClicks(&e.edit, QString(120, u'W'));
    e.settle();
    // The line wraps into several rows, the next line below them, all in view.
    const int wrappedRows = e.rowOf(4 * 11 + 120) - e.rowOf(4 * 10);
    QVERIFY2(wrappedRows > 2, qPrintable(QString::number(wrappedRows)));
    QVERIFY(e.edit.viewport()->rect().contains(e.edit.caretRect().center()));
    QVERIFY(e.edit.verticalScrollBar()->maximum() > range);
    for (int i = 0; i < 120; ++i)
        QTest::keyClick(&e.edit, Qt::Key_Backspace);
    e.settle();
    QCOMPARE(e.rowOf(4 * 11), e.rowOf(4 * 10) + 1);
    QCOMPARE(e.control.text(), u"abc\n"_qs.repeated(60));
}

void TestEditorLayout::lineCountChangesStillLaidOut()
{
    Editor e(false);
    e.control.setText(u"one\ntwo");
    e.control.setSelStart(3);
    QTest::keyClick(&e.edit, Qt::Key_Return);
    QTest::keyClicks(&e.edit, u"x"_qs);
    QCOMPARE(e.rowOf(4), 1);
    QCOMPARE(e.rowOf(6), 2);
    QTest::keyClick(&e.edit, Qt::Key_Backspace);
    QTest::keyClick(&e.edit, Qt::Key_Backspace);
    e.settle();
    QCOMPARE(e.control.text(), u"one\ntwo"_qs);
    QCOMPARE(e.edit.store().lineCount(), 2);
    QCOMPARE(e.rowOf(4), 1);
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
