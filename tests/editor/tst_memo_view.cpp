// The main editor as a user meets it: mouse and keys on the real view, the
// clipboard and undo, the input method and what a screen reader reads.
#include "editor/memo_control.h"
#include "editor/memo_view.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QScrollBar>
#include <QTest>

class TestMemoView : public QObject
{
    Q_OBJECT
private slots:
    void clickPlacesCaret_data();
    void clickPlacesCaret();
    void mouseSelects();
    void keys_data();
    void keys();
    void surrogatePairNeverSplit();
    void specialUnitsKeptAroundTyping();
    void clipboardAndUndo();
    void caretScrolledIntoView();
    void lineOfAnyLength_data();
    void lineOfAnyLength();
    void inputMethod();
    void accessibleReads();
};

namespace {

struct View
{
    Document document;
    MemoView view{document};
    MemoControl control{&view};

    explicit View(const QString &text, bool wrap = false)
    {
        view.resize(400, 300);
        QFont font(QStringLiteral("DejaVu Sans Mono"));
        font.setStyleHint(QFont::Monospace);
        font.setPixelSize(16);
        view.setFont(font);
        control.setWordWrap(wrap);
        control.setText(text);
        view.show();
        view.setFocus();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
    QWidget *port() { return view.viewport(); }
    // A point just inside the left edge of the character at pos.
    QPoint before(qsizetype pos) const
    {
        const QRect r = view.characterRect(pos);
        return QPoint(r.left() + 1, r.center().y());
    }
    QPair<qsizetype, qsizetype> selection() const
    {
        return {control.selStart(), control.selLength()};
    }
};

const QString Lines = u"first line\nsecond\nthird line here\n\nlast"_qs;

} // namespace

void TestMemoView::clickPlacesCaret_data()
{
    QTest::addColumn<int>("pos");
    QTest::addColumn<int>("line");
    QTest::addColumn<int>("column");
    QTest::newRow("first line") << 3 << 0 << 3;
    QTest::newRow("second line") << 13 << 1 << 2;
    QTest::newRow("third line") << 24 << 2 << 6;
    QTest::newRow("empty line") << 34 << 3 << 0;
    QTest::newRow("last line") << 37 << 4 << 2;
}

void TestMemoView::clickPlacesCaret()
{
    QFETCH(int, pos);
    QFETCH(int, line);
    QFETCH(int, column);
    View v(Lines);
    QTest::mouseClick(v.port(), Qt::LeftButton, {}, v.before(pos));
    QCOMPARE(v.control.selStart(), pos);
    QCOMPARE(v.control.caretLine(), line);
    QCOMPARE(v.control.caretColumn(), column);
    // Far right of the row: the line's end.
    QTest::mouseClick(v.port(), Qt::LeftButton, {}, QPoint(390, v.before(pos).y()));
    QCOMPARE(v.control.caretLine(), line);
    QCOMPARE(v.control.caretColumn(), v.view.store().lineLength(line));
}

void TestMemoView::mouseSelects()
{
    View v(Lines);
    QTest::mouseClick(v.port(), Qt::LeftButton, {}, v.before(2));
    QTest::mouseClick(v.port(), Qt::LeftButton, Qt::ShiftModifier, v.before(14));
    QCOMPARE(v.selection(), qMakePair(qsizetype(2), qsizetype(12)));
    QCOMPARE(v.view.cursorPosition(), 14);

    QTest::mousePress(v.port(), Qt::LeftButton, {}, v.before(20));
    QTest::mouseMove(v.port(), v.before(12));
    QTest::mouseRelease(v.port(), Qt::LeftButton, {}, v.before(12));
    QCOMPARE(v.selection(), qMakePair(qsizetype(12), qsizetype(8)));
    QCOMPARE(v.view.cursorPosition(), 12);

    QTest::mouseDClick(v.port(), Qt::LeftButton, {}, v.before(25)); // in "line" of line 3
    QCOMPARE(v.control.selText(), u"line"_qs);
}

void TestMemoView::keys_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("anchor");
    QTest::addColumn<int>("caret");
    const int shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
    QTest::newRow("right") << 2 << int(Qt::Key_Right) << 0 << 3 << 3;
    QTest::newRow("shift right") << 2 << int(Qt::Key_Right) << shift << 2 << 3;
    QTest::newRow("right over the break") << 10 << int(Qt::Key_Right) << 0 << 11 << 11;
    QTest::newRow("ctrl right") << 0 << int(Qt::Key_Right) << ctrl << 6 << 6;
    QTest::newRow("ctrl shift left") << 9 << int(Qt::Key_Left) << (ctrl | shift) << 9 << 6;
    QTest::newRow("down keeps the column") << 3 << int(Qt::Key_Down) << 0 << 14 << 14;
    QTest::newRow("shift up") << 14 << int(Qt::Key_Up) << shift << 14 << 3;
    QTest::newRow("home") << 14 << int(Qt::Key_Home) << 0 << 11 << 11;
    QTest::newRow("shift end") << 11 << int(Qt::Key_End) << shift << 11 << 17;
    QTest::newRow("ctrl end") << 3 << int(Qt::Key_End) << ctrl << 39 << 39;
    QTest::newRow("ctrl shift home") << 14 << int(Qt::Key_Home) << (ctrl | shift) << 14 << 0;
    // A page further than the text goes: the last line, at the same column.
    QTest::newRow("page down") << 1 << int(Qt::Key_PageDown) << 0 << 36 << 36;
    QTest::newRow("shift page up") << 36 << int(Qt::Key_PageUp) << shift << 36 << 1;
}

void TestMemoView::keys()
{
    QFETCH(int, start);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, anchor);
    QFETCH(int, caret);
    View v(Lines);
    v.control.setSelStart(start);
    QTest::keyClick(&v.view, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(v.view.anchorPosition(), anchor);
    QCOMPARE(v.view.cursorPosition(), caret);
    QCOMPARE(v.control.text(), Lines);
}

void TestMemoView::surrogatePairNeverSplit()
{
    View v(u"a\U0001F600b\u1100\u1161c"_qs); // a pair, then a conjoining-jamo syllable
    v.control.setSelStart(1);
    QTest::keyClick(&v.view, Qt::Key_Right);
    QCOMPARE(v.view.cursorPosition(), 3);
    QTest::keyClick(&v.view, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(v.control.selText(), u"\U0001F600"_qs);
    v.control.setSelStart(4);
    QTest::keyClick(&v.view, Qt::Key_Right); // over the whole grapheme
    QCOMPARE(v.view.cursorPosition(), 6);
    // A click in the pair's middle lands on one of its edges.
    QTest::mouseClick(v.port(), Qt::LeftButton, {}, v.view.characterRect(1).center());
    QVERIFY(v.view.cursorPosition() == 1 || v.view.cursorPosition() == 3);
    v.control.setSelStart(3);
    QTest::keyClick(&v.view, Qt::Key_Backspace); // the whole pair
    QCOMPARE(v.control.text(), u"ab\u1100\u1161c"_qs);
    v.control.setSelStart(4);
    QTest::keyClick(&v.view, Qt::Key_Backspace); // one code point: the vowel only
    QCOMPARE(v.control.text(), u"ab\u1100c"_qs);
}

void TestMemoView::specialUnitsKeptAroundTyping()
{
    const QString text = QString::fromUtf16(u"\u2029\uFDD0\r\0\uFDD1\u2028", 6);
    View v(text);
    QCOMPARE(v.view.store().lineCount(), 1); // none of them is a line break
    v.control.setSelStart(3);
    QTest::keyClicks(&v.view, u"xy"_qs);
    QTest::keyClick(&v.view, Qt::Key_Backspace);
    QTest::keyClick(&v.view, Qt::Key_Left);
    QTest::keyClick(&v.view, Qt::Key_Left);
    QTest::keyClick(&v.view, Qt::Key_Delete); // the CR
    QString expected = text;
    expected.replace(2, 1, u"x"_qs);
    QCOMPARE(v.control.text(), expected);
    QTest::keyClick(&v.view, Qt::Key_Z, Qt::ControlModifier);
    expected = text;
    expected.insert(3, u'x');
    QCOMPARE(v.control.text(), expected);
}

void TestMemoView::clipboardAndUndo()
{
    const QString text = u"a\u00A0\u2028\uFDD0b\nc\r"_qs;
    View v(text);
    QTest::keyClick(&v.view, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&v.view, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), text);
    QTest::keyClick(&v.view, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&v.view, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(v.control.text(), text + text);
    QCOMPARE(v.view.cursorPosition(), 2 * text.size());
    QTest::keyClicks(&v.view, u"xyz"_qs);
    QTest::keyClick(&v.view, Qt::Key_Z, Qt::ControlModifier); // the typing, in one step
    QCOMPARE(v.control.text(), text + text);
    QTest::keyClick(&v.view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(v.control.text(), text);
    QCOMPARE(v.view.cursorPosition(), text.size());
    QTest::keyClick(&v.view, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(v.control.text(), text + text);
    v.control.setSelStart(0);
    v.control.setSelLength(2);
    QTest::keyClick(&v.view, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), text.left(2));
    QCOMPARE(v.control.text(), text.mid(2) + text);
}

void TestMemoView::caretScrolledIntoView()
{
    QString text;
    for (int i = 0; i < 3000; ++i)
        text += u"line %1 of a long document\n"_qs.arg(i);
    for (bool wrap : {false, true}) {
        View v(text, wrap);
        const auto caretSeen = [&] {
            return v.port()->rect().contains(v.view.caretRect().center());
        };
        QTest::keyClick(&v.view, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(&v.view, u"typed at the end"_qs);
        QVERIFY(caretSeen());
        QVERIFY(v.view.verticalScrollBar()->value() > 0);
        v.control.setSelStart(text.size() / 2);
        QVERIFY(caretSeen());
        QTest::keyClick(&v.view, Qt::Key_PageDown);
        QVERIFY(caretSeen());
        QTest::keyClick(&v.view, Qt::Key_Home, Qt::ControlModifier);
        QCOMPARE(v.view.verticalScrollBar()->value(), 0);
        // Dragging the scroll bar to its end shows the last line.
        v.view.verticalScrollBar()->setValue(v.view.verticalScrollBar()->maximum());
        QVERIFY(v.port()->rect().contains(v.view.characterRect(v.control.length()).center()));
    }
}

void TestMemoView::lineOfAnyLength_data()
{
    QTest::addColumn<bool>("wrap");
    QTest::newRow("word wrap off") << false;
    QTest::newRow("word wrap on") << true;
}

// One line of 200,000 units, far past 64 Ki: the end is reached, drawn, clicked,
// selected and read by accessibility where it is drawn; keys never stop inside a
// character, also where the line is cut for its layout.
void TestMemoView::lineOfAnyLength()
{
    QFETCH(bool, wrap);
    const QString text = u"e\u0301x\U0001F600"_qs.repeated(40000);
    View v(text, wrap);
    QAccessibleTextInterface *a = QAccessible::queryAccessibleInterface(&v.view)->textInterface();
    const auto seen = [&](const QRect &r) { return v.port()->rect().contains(r.center()); };

    QTest::keyClick(&v.view, Qt::Key_End, Qt::ControlModifier);
    QCOMPARE(v.view.cursorPosition(), text.size());
    QVERIFY(seen(v.view.caretRect()));
    // The last character is drawn where the view and accessibility say.
    const qsizetype last = text.size() - 2;
    const QRect lastRect = v.view.characterRect(last);
    QVERIFY(seen(lastRect));
    const QPoint global = v.port()->mapToGlobal(lastRect.center());
    QCOMPARE(a->characterRect(int(last)).center(), global);
    QCOMPARE(a->offsetAtPoint(global), int(last));
    QTest::mouseClick(v.port(), Qt::LeftButton, {}, v.before(last - 1));
    QCOMPARE(v.view.cursorPosition(), last - 1);
    QTest::keyClicks(&v.view, u"typed"_qs);
    QCOMPARE(v.control.text().mid(last - 1), u"typedx\U0001F600"_qs);
    QCoreApplication::processEvents(); // the caret's column is scrolled to when painted
    QVERIFY(seen(v.view.caretRect()));
    QTest::keyClick(&v.view, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(v.control.text() == text);

    // A click beyond the old limit, a selection across it, shown highlighted.
    const qsizetype from = 65530, to = 65542;
    v.control.setSelStart(from);
    QVERIFY(seen(v.view.characterRect(to)));
    QTest::mouseClick(v.port(), Qt::LeftButton, Qt::ShiftModifier, v.before(to));
    QCOMPARE(v.selection(), qMakePair(from, to - from));
    QCOMPARE(v.control.selText(), text.mid(from, to - from));
    const QImage shot = v.port()->grab().toImage();
    const QRect inside = v.view.characterRect(65537);
    QCOMPARE(shot.pixelColor(inside.topLeft() + QPoint(1, 1)),
             v.view.palette().color(QPalette::Highlight));

    // Right and Left step over whole characters all along the cuts of the line.
    v.control.setSelStart(0);
    for (int i = 0; i < 3600; ++i) {
        QTest::keyClick(&v.view, Qt::Key_Right);
        const QChar c = text.at(v.view.cursorPosition());
        QVERIFY2(c != u'\u0301' && !c.isLowSurrogate(),
                 qPrintable(QString::number(v.view.cursorPosition())));
    }
    QCOMPARE(v.view.cursorPosition(), 3600 / 3 * 5);
    for (int i = 0; i < 3600; ++i)
        QTest::keyClick(&v.view, Qt::Key_Left);
    QCOMPARE(v.view.cursorPosition(), 0);
    QTest::keyClick(&v.view, Qt::Key_Home);
    QTest::keyClick(&v.view, Qt::Key_End);
    QVERIFY(seen(v.view.caretRect()));
    if (!wrap)
        QCOMPARE(v.view.cursorPosition(), text.size());
}

void TestMemoView::inputMethod()
{
    View v(u"ab\ncd"_qs);
    v.control.setSelStart(4);
    QInputMethodEvent preedit(u"\u3131"_qs, {});
    QCoreApplication::sendEvent(&v.view, &preedit);
    QCOMPARE(v.control.text(), u"ab\ncd"_qs); // shown, not stored
    QCOMPARE(v.view.inputMethodQuery(Qt::ImSurroundingText).toString(), u"cd"_qs);
    QCOMPARE(v.view.inputMethodQuery(Qt::ImCursorPosition).toInt(), 1);
    const QRect caret = v.view.inputMethodQuery(Qt::ImCursorRectangle).toRect();
    QCOMPARE(caret, v.view.caretRect().translated(v.port()->pos()));
    QVERIFY(caret.left() > v.view.characterRect(4).left()); // behind the preedit
    QVERIFY(caret.top() >= v.view.characterRect(3).top());
    QInputMethodEvent commit;
    commit.setCommitString(u"\uAC00"_qs);
    QCoreApplication::sendEvent(&v.view, &commit);
    QCOMPARE(v.control.text(), u"ab\nc\uAC00d"_qs);
    QCOMPARE(v.view.cursorPosition(), 5);
    QVERIFY(v.view.inputMethodQuery(Qt::ImEnabled).toBool());
}

void TestMemoView::accessibleReads()
{
    View v(Lines);
    QAccessibleInterface *a = QAccessible::queryAccessibleInterface(&v.view);
    QVERIFY(a);
    QCOMPARE(a->role(), QAccessible::EditableText);
    QVERIFY(a->state().multiLine && a->state().editable && a->state().focusable);
    QAccessibleTextInterface *t = a->textInterface();
    QVERIFY(t && a->editableTextInterface());
    QCOMPARE(t->characterCount(), Lines.size());
    QCOMPARE(t->text(11, 17), u"second"_qs);
    t->setCursorPosition(13);
    QCOMPARE(v.view.cursorPosition(), 13);
    QCOMPARE(t->cursorPosition(), 13);
    t->setSelection(0, 18, 23);
    QCOMPARE(t->selectionCount(), 1);
    int s = 0, e = 0;
    t->selection(0, &s, &e);
    QCOMPARE(qMakePair(s, e), qMakePair(18, 23));
    QCOMPARE(t->textAtOffset(20, QAccessible::LineBoundary, &s, &e), u"third line here\n"_qs);
    QCOMPARE(t->textAtOffset(13, QAccessible::WordBoundary, &s, &e), u"second"_qs);
    QCOMPARE(t->textAfterOffset(3, QAccessible::CharBoundary, &s, &e), u"t"_qs);
    // A character on the third line stands on the third row, on screen.
    const QRect first = t->characterRect(0);
    const QRect third = t->characterRect(20);
    QCOMPARE(third.top() - first.top(), 2 * v.view.rowHeight());
    QVERIFY(third.left() > first.left());
    QCOMPARE(t->offsetAtPoint(third.center()), 20);
    a->editableTextInterface()->insertText(0, u"X"_qs);
    QCOMPARE(v.control.text(), u"X"_qs + Lines);
    v.control.setReadOnly(true);
    QVERIFY(a->state().readOnly);
}

QTEST_MAIN(TestMemoView)
#include "tst_memo_view.moc"
