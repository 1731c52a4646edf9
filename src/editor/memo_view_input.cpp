// Keys, mouse and scrolling of MemoView: the vertical estimate and the scroll
// bars, scrolling a position into view, caret movement, key and mouse events,
// focus and blink, the platform input method, drag and drop.
#include "editor/memo_view.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFontMetricsF>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

bool acceptableInput(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 || u == 0x7F)
            return false;
    }
    return true;
}

} // namespace

// ---- Vertical estimate ------------------------------------------------------
// Without wrapping a row is a line. With wrapping, rows above the top line are
// estimated from the units before it and the average advance measured so far;
// the pieces shown are laid out and counted exactly.

double MemoView::estimatedRowsBefore(qsizetype line) const
{
    if (!m_wrap)
        return double(line);
    const double unitsPerRow = std::max(1.0, textWidth() / m_advance);
    return double(line) + double(m_store.lineStart(line) - line) / unitsPerRow;
}

double MemoView::estimatedTotalRows() const
{
    if (!m_wrap)
        return double(m_lineCount);
    const double unitsPerRow = std::max(1.0, textWidth() / m_advance);
    return double(m_lineCount) + double(m_store.length() - (m_lineCount - 1)) / unitsPerRow;
}

double MemoView::pieceRowsBefore(qsizetype line, int piece) const
{
    return piece <= 0 ? 0.0 : sums(lineLayout(line))[piece];
}

MemoView::Row MemoView::rowAtEstimate(double value) const
{
    if (!m_wrap)
        return {std::clamp<qsizetype>(qsizetype(value), 0, m_lineCount - 1), 0, 0};
    qsizetype lo = 0, hi = m_lineCount - 1;
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo + 1) / 2;
        if (estimatedRowsBefore(mid) <= value)
            lo = mid;
        else
            hi = mid - 1;
    }
    double rest = value - estimatedRowsBefore(lo);
    int piece = 0;
    if (LineLayout &ll = lineLayout(lo); ll.pieces.size() > 1) {
        const std::vector<double> &at = sums(ll);
        piece = std::clamp(int(std::upper_bound(at.begin(), at.end() - 1, rest) - at.begin()) - 1,
                           0, int(ll.pieces.size()) - 1);
        rest -= at[piece];
    }
    const int sub = int(std::clamp(rest, 0.0, double(rowsOfPiece(lo, piece) - 1)));
    return {lo, piece, sub};
}

void MemoView::updateHorizontalBar()
{
    QScrollBar *bar = horizontalScrollBar();
    const int range =
        m_wrap ? 0 : std::max(0, int(std::ceil(m_widest)) + 2 * m_margin + 2 - viewport()->width());
    m_syncingBar = true;
    bar->setRange(0, range);
    bar->setPageStep(viewport()->width());
    m_syncingBar = false;
}

void MemoView::updateScrollBars()
{
    m_widthGrew = false;
    m_advanceOfRange = m_advance;
    updateHorizontalBar();
    QScrollBar *bar = verticalScrollBar();
    const double total = estimatedTotalRows();
    const int range = int(std::clamp(std::ceil(total) - visibleRows(), 0.0, double(INT_MAX / 2)));
    m_syncingBar = true;
    bar->setRange(0, range);
    bar->setPageStep(visibleRows());
    m_syncingBar = false;
    setTop(m_top);
}

void MemoView::syncVerticalBar()
{
    QScrollBar *bar = verticalScrollBar();
    int value =
        int(std::min(estimatedRowsBefore(m_top.line) +
                         (m_wrap ? pieceRowsBefore(m_top.line, m_top.piece) : 0.0) + m_top.sub,
                     double(INT_MAX / 2)));
    if (m_wrap && value >= bar->maximum() - 2 * visibleRows()) {
        const Row end = lastTop();
        if (!before(m_top, end) && !before(end, m_top))
            value = bar->maximum();
        else
            value = std::min(value, bar->maximum() - 1);
    }
    m_syncingBar = true;
    bar->setValue(value);
    m_syncingBar = false;
    m_lastBarValue = bar->value();
}

void MemoView::setTop(Row top)
{
    top.line = std::clamp<qsizetype>(top.line, 0, m_lineCount - 1);
    if (m_wrap) {
        top.piece = std::clamp(top.piece, 0, pieceCount(top.line) - 1);
        top.sub = std::clamp(top.sub, 0, rowsOfPiece(top.line, top.piece) - 1);
    } else {
        top.piece = top.sub = 0;
    }
    const Row end = lastTop();
    if (before(end, top))
        top = end;
    const bool moved = before(top, m_top) || before(m_top, top);
    m_top = top;
    syncVerticalBar();
    if (moved)
        viewport()->update();
}

void MemoView::scrollContentsBy(int dx, int dy)
{
    if (dy != 0 && !m_syncingBar) {
        QScrollBar *bar = verticalScrollBar();
        const int value = bar->value();
        Row top;
        if (value >= bar->maximum() && bar->maximum() > 0) {
            top = lastTop();
        } else if (value <= 0) {
            top = Row{};
        } else if (m_wrap && std::abs(value - m_lastBarValue) <= 3 * visibleRows()) {
            top = advance(m_top, value - m_lastBarValue);
        } else {
            top = rowAtEstimate(value);
        }
        m_top = top;
        m_lastBarValue = value;
    }
    Q_UNUSED(dx);
    viewport()->update();
}

void MemoView::scrollToTop()
{
    horizontalScrollBar()->setValue(0);
    setTop(Row{});
}

void MemoView::scrollToPosition(qsizetype pos)
{
    scrollToPosition(pos, true);
}

void MemoView::scrollToPosition(qsizetype pos, bool column)
{
    pos = std::clamp<qsizetype>(pos, 0, m_store.length());
    if (m_widthGrew)
        updateScrollBars();
    const Row row = rowOf(pos);
    const double offset = rowOffset(row);
    const int rows = visibleRows();
    if (offset < 0)
        setTop(row);
    else if (offset > rows - 1)
        setTop(advance(row, -(rows - 1)));
    if (!m_wrap && column) {
        if (pos == m_pos)
            m_scrollColumnPending = false;
        QScrollBar *bar = horizontalScrollBar();
        const int width = viewport()->width() - 2 * m_margin - 2;
        for (int pass = 0; pass < 3; ++pass) {
            const double x = caretPoint(pos, pos == m_pos).x() - (m_margin - bar->value());
            if (m_widthGrew)
                updateHorizontalBar();
            if (x < bar->value())
                bar->setValue(std::max(0, int(x) - width / 4));
            else if (x > bar->value() + width)
                bar->setValue(int(std::min(x - width + width / 4, double(INT_MAX / 2))));
            else
                break;
            // What comes into view is laid out; a piece measured on the left
            // moves the position, which is then looked at again.
            settleShown(row.line);
        }
    }
}

void MemoView::ensureCaretVisible()
{
    scrollToPosition(m_pos);
}

// ---- Caret movement ---------------------------------------------------------

qsizetype MemoView::nextCursor(qsizetype pos, bool word) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype column = pos - ls;
    if (column >= m_store.lineLength(line))
        return std::min(m_store.length(), pos + 1);
    LineLayout &ll = lineLayout(line);
    const int k = pieceAt(ll, column);
    QTextLayout *layout = pieceLayout(line, ll, k);
    const Piece &piece = ll.pieces[k];
    // Pieces are cut at grapheme boundaries: a piece's end is a caret position.
    const int next = layout->nextCursorPosition(
        int(column - piece.start), word ? QTextLayout::SkipWords : QTextLayout::SkipCharacters);
    return ls + piece.start + std::min<qsizetype>(next, piece.length);
}

qsizetype MemoView::previousCursor(qsizetype pos, bool word) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype column = pos - ls;
    if (column == 0)
        return std::max<qsizetype>(0, pos - 1);
    LineLayout &ll = lineLayout(line);
    int k = pieceAt(ll, column);
    if (ll.pieces[k].start == column) // from a piece's start, back into the one before
        --k;
    QTextLayout *layout = pieceLayout(line, ll, k);
    const Piece &piece = ll.pieces[k];
    return ls + piece.start +
           layout->previousCursorPosition(int(column - piece.start),
                                          word ? QTextLayout::SkipWords
                                               : QTextLayout::SkipCharacters);
}

qsizetype MemoView::rowStart(qsizetype pos) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    if (!m_wrap)
        return ls;
    const qsizetype column = pos - ls;
    LineLayout &ll = lineLayout(line);
    const int k = pieceAt(ll, column);
    QTextLayout *layout = pieceLayout(line, ll, k);
    const QTextLine tl = layout->lineForTextPosition(localPos(line, ll, k, column, false));
    return ls + ll.pieces[k].start + (tl.isValid() ? tl.textStart() : 0);
}

qsizetype MemoView::rowEnd(qsizetype pos) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype length = m_store.lineLength(line);
    if (!m_wrap)
        return ls + length;
    const qsizetype column = pos - ls;
    LineLayout &ll = lineLayout(line);
    const int k = pieceAt(ll, column);
    QTextLayout *layout = pieceLayout(line, ll, k);
    const QTextLine tl = layout->lineForTextPosition(localPos(line, ll, k, column, false));
    const bool lastRow = !tl.isValid() || tl.lineNumber() == layout->lineCount() - 1;
    if (lastRow && k + 1 == int(ll.pieces.size()))
        return ls + length;
    // A wrapped row ends before the unit that starts the next row.
    const Piece &piece = ll.pieces[k];
    const int end = lastRow ? int(piece.length) : tl.textStart() + tl.textLength();
    return ls + piece.start + layout->previousCursorPosition(end);
}

qsizetype MemoView::verticalMove(qsizetype pos, qsizetype rows)
{
    const Row from = rowOf(pos);
    if (m_desiredX < 0)
        m_desiredX =
            caretPoint(pos, pos == m_pos).x() - (m_margin - horizontalScrollBar()->value());
    const Row to = advance(from, rows);
    // On the first or the last row the caret goes to the start or the end.
    if (!before(from, to) && !before(to, from))
        return rows > 0 ? m_store.length() : 0;
    return m_store.lineStart(to.line) + columnAt(to, m_desiredX);
}

void MemoView::moveCaret(qsizetype pos, bool select, bool keepX)
{
    const qreal x = m_desiredX;
    setCaret(select ? m_anchor : pos, pos);
    m_desiredX = keepX ? x : -1;
    ensureCaretVisible();
    if (select)
        updateSelectionClipboard();
}

void MemoView::wordAt(qsizetype pos, qsizetype *start, qsizetype *end) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype le = ls + m_store.lineLength(line);
    const qsizetype ws = std::max(ls, pos - WordWindow);
    const qsizetype we = std::min(le, pos + WordWindow);
    const QString text = m_store.mid(ws, we - ws);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    const int at = int(pos - ws);
    if (at >= text.size()) {
        finder.setPosition(at);
        const qsizetype b = finder.toPreviousBoundary();
        *start = ws + std::max<qsizetype>(0, b);
        *end = we;
        return;
    }
    finder.setPosition(at);
    const qsizetype a = finder.isAtBoundary() ? at : finder.toPreviousBoundary();
    finder.setPosition(at);
    const qsizetype b = finder.toNextBoundary();
    *start = ws + std::max<qsizetype>(0, a);
    *end = b < 0 ? we : ws + b;
}

// ---- Events -----------------------------------------------------------------

bool MemoView::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        // Tab is a character here, not a focus move.
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
        break;
    }
    case QEvent::ShortcutOverride: {
        auto *key = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers mods = key->modifiers() & ~Qt::KeypadModifier;
        if (!(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
            key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
            key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Undo) ||
            key->matches(QKeySequence::Redo) || key->matches(QKeySequence::SelectAll)) {
            event->accept();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QAbstractScrollArea::event(event);
}

void MemoView::keyPressEvent(QKeyEvent *e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    const bool alt = mods & (Qt::AltModifier | Qt::MetaModifier);
    const int key = e->key();
    const auto is = [&](Qt::KeyboardModifiers m, int k) { return mods == m && key == k; };

    if (e->matches(QKeySequence::Undo)) {
        undo();
    } else if (e->matches(QKeySequence::Redo) ||
               is(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z) ||
               is(Qt::ControlModifier, Qt::Key_Y)) {
        redo();
    } else if (e->matches(QKeySequence::Copy) || is(Qt::ControlModifier, Qt::Key_Insert)) {
        copy();
    } else if (e->matches(QKeySequence::Cut) || is(Qt::ShiftModifier, Qt::Key_Delete)) {
        cut();
    } else if (e->matches(QKeySequence::Paste) || is(Qt::ShiftModifier, Qt::Key_Insert)) {
        paste();
    } else if (e->matches(QKeySequence::SelectAll)) {
        selectAll();
    } else if (!alt && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        if (hasSelection() && !shift && !ctrl)
            moveCaret(key == Qt::Key_Left ? selectionStart() : selectionEnd(), false);
        else
            moveCaret(key == Qt::Key_Left ? previousCursor(m_pos, ctrl) : nextCursor(m_pos, ctrl),
                      shift);
    } else if (!alt && (key == Qt::Key_Up || key == Qt::Key_Down)) {
        moveCaret(verticalMove(m_pos, key == Qt::Key_Up ? -1 : 1), shift, true);
    } else if (!alt && (key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
        const int rows = (key == Qt::Key_PageUp ? -1 : 1) * visibleRows();
        const qsizetype target = verticalMove(m_pos, rows);
        setTop(advance(m_top, rows));
        moveCaret(target, shift, true);
    } else if (!alt && key == Qt::Key_Home) {
        moveCaret(ctrl ? 0 : rowStart(m_pos), shift);
    } else if (!alt && key == Qt::Key_End) {
        moveCaret(ctrl ? m_store.length() : rowEnd(m_pos), shift);
    } else if (key == Qt::Key_Backspace && !alt) {
        if (hasSelection()) {
            insertText({});
        } else if (ctrl) {
            const qsizetype from = previousCursor(m_pos, true);
            m_store.breakUndoMerge();
            replace(from, m_pos - from, {});
            m_store.breakUndoMerge();
        } else if (m_pos > 0) {
            // One code point: a combining mark goes without its base.
            qsizetype n = 1;
            if (m_pos >= 2 && QChar::isLowSurrogate(m_store.at(m_pos - 1)) &&
                QChar::isHighSurrogate(m_store.at(m_pos - 2)))
                n = 2;
            replace(m_pos - n, n, {});
        }
    } else if (key == Qt::Key_Delete && !alt) {
        if (hasSelection()) {
            insertText({});
        } else if (ctrl) {
            const qsizetype to = nextCursor(m_pos, true);
            m_store.breakUndoMerge();
            replace(m_pos, to - m_pos, {});
            m_store.breakUndoMerge();
        } else if (m_pos < m_store.length()) {
            replace(m_pos, nextCursor(m_pos, false) - m_pos, {});
        }
    } else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !ctrl && !alt) {
        insertText(u"\n");
    } else if (key == Qt::Key_Tab && !ctrl && !alt) {
        insertText(u"\t");
    } else if ((!ctrl || (mods & Qt::AltModifier)) && acceptableInput(e->text())) {
        if (m_readOnly) {
            e->ignore();
            return;
        }
        insertText(e->text());
    } else {
        e->ignore();
        return;
    }
    e->accept();
}

void MemoView::mousePressEvent(QMouseEvent *e)
{
    const QPoint point = e->position().toPoint();
    m_lastMouse = point;
    if (e->button() == Qt::MiddleButton) {
        QClipboard *clipboard = QGuiApplication::clipboard();
        if (!m_readOnly && clipboard->supportsSelection()) {
            const QString text = clipboard->text(QClipboard::Selection);
            setCaret(positionAt(point), positionAt(point));
            if (!text.isEmpty())
                insertText(text);
        }
        e->accept();
        return;
    }
    if (e->button() != Qt::LeftButton) {
        e->ignore();
        return;
    }
    const qsizetype pos = positionAt(point);
    if (m_tripleClick.isActive() &&
        (point - m_tripleClickPoint).manhattanLength() < QApplication::startDragDistance()) {
        m_tripleClick.stop();
        const qsizetype line = m_store.lineAt(pos);
        m_clickStart = m_store.lineStart(line);
        m_clickEnd = m_clickStart + m_store.lineLength(line);
        m_clickUnit = 2;
        setSelection(m_clickStart, m_clickEnd);
        m_selecting = true;
        return;
    }
    m_pressPoint = point;
    if (e->modifiers() & Qt::ShiftModifier) {
        setSelection(m_anchor, pos);
    } else if (hasSelection() && pos >= selectionStart() && pos < selectionEnd()) {
        m_maybeDrag = true;
        return;
    } else {
        setSelection(pos, pos);
    }
    m_clickUnit = 0;
    m_selecting = true;
}

void MemoView::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint point = e->position().toPoint();
    m_lastMouse = point;
    if (m_maybeDrag && (e->buttons() & Qt::LeftButton)) {
        if ((point - m_pressPoint).manhattanLength() < QApplication::startDragDistance())
            return;
        m_maybeDrag = false;
        auto *drag = new QDrag(this);
        auto *data = new QMimeData;
        data->setText(selectedText());
        drag->setMimeData(data);
        m_dragging = true;
        const Qt::DropAction action = drag->exec(
            m_readOnly ? Qt::CopyAction : Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        // A move onto another widget takes the text away from here; a move within
        // this view was done by its drop.
        if (m_dragging && action == Qt::MoveAction && drag->target() != viewport() &&
            drag->target() != this)
            insertText({});
        m_dragging = false;
        return;
    }
    if (!m_selecting || !(e->buttons() & Qt::LeftButton))
        return;
    const qsizetype pos = positionAt(point);
    if (m_clickUnit == 0) {
        setCaret(m_anchor, pos);
    } else {
        qsizetype start = pos, end = pos;
        if (m_clickUnit == 1) {
            wordAt(pos, &start, &end);
        } else {
            const qsizetype line = m_store.lineAt(pos);
            start = m_store.lineStart(line);
            end = start + m_store.lineLength(line);
        }
        if (start < m_clickStart)
            setCaret(m_clickEnd, start);
        else
            setCaret(m_clickStart, std::max(end, m_clickEnd));
    }
    scrollToPosition(m_pos);
    const QRect area = viewport()->rect();
    if (!area.contains(point)) {
        if (!m_autoScroll.isActive())
            m_autoScroll.start(50, this);
    } else {
        m_autoScroll.stop();
    }
}

void MemoView::mouseReleaseEvent(QMouseEvent *e)
{
    m_autoScroll.stop();
    if (m_maybeDrag) {
        m_maybeDrag = false;
        const qsizetype pos = positionAt(e->position().toPoint());
        setSelection(pos, pos);
    }
    if (m_selecting) {
        m_selecting = false;
        updateSelectionClipboard();
    }
}

void MemoView::mouseDoubleClickEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton) {
        e->ignore();
        return;
    }
    const QPoint point = e->position().toPoint();
    qsizetype start = 0, end = 0;
    wordAt(positionAt(point), &start, &end);
    m_clickStart = start;
    m_clickEnd = end;
    m_clickUnit = 1;
    m_selecting = true;
    m_maybeDrag = false;
    setSelection(start, end);
    m_tripleClickPoint = point;
    m_tripleClick.start(QApplication::doubleClickInterval(), this);
}

void MemoView::timerEvent(QTimerEvent *e)
{
    if (e->timerId() == m_blink.timerId()) {
        m_caretShown = !m_caretShown;
        viewport()->update(caretRect().adjusted(-2, -1, 2, 1));
    } else if (e->timerId() == m_autoScroll.timerId()) {
        const QRect area = viewport()->rect();
        const QPoint p = m_lastMouse;
        if (p.y() < area.top())
            setTop(advance(m_top, -1));
        else if (p.y() > area.bottom())
            setTop(advance(m_top, 1));
        const QPoint inside(std::clamp(p.x(), area.left() - 50, area.right() + 50),
                            std::clamp(p.y(), area.top(), area.bottom()));
        const qsizetype pos = positionAt(inside);
        if (m_clickUnit == 0)
            setCaret(m_anchor, pos);
        scrollToPosition(m_pos);
    } else if (e->timerId() == m_tripleClick.timerId()) {
        m_tripleClick.stop();
    } else {
        QAbstractScrollArea::timerEvent(e);
    }
}

void MemoView::restartBlink()
{
    m_caretShown = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash >= 2)
        m_blink.start(flash / 2, this);
    else
        m_blink.stop();
}

void MemoView::focusInEvent(QFocusEvent *e)
{
    restartBlink();
    viewport()->update();
    QAbstractScrollArea::focusInEvent(e);
}

void MemoView::focusOutEvent(QFocusEvent *e)
{
    m_blink.stop();
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(e);
}

void MemoView::resizeEvent(QResizeEvent *e)
{
    QAbstractScrollArea::resizeEvent(e);
    if (m_wrap && textWidth() != m_layoutWidth) {
        forgetLayouts();
        m_top.sub = 0;
    }
    m_layoutWidth = textWidth();
    updateScrollBars();
}

void MemoView::changeEvent(QEvent *e)
{
    if (!e || e->type() == QEvent::FontChange) {
        const QFontMetricsF fm(font());
        m_rowHeight = std::max(1, int(std::ceil(fm.lineSpacing())));
        m_ascent = int(std::ceil(fm.ascent()));
        m_advance = std::max(1.0, fm.averageCharWidth());
        m_spaceWidth = fm.horizontalAdvance(u' ');
        m_measuredUnits = m_measuredWidth = 0;
        m_widest = 0;
        forgetLayouts();
        m_top.sub = 0;
        updateScrollBars();
        viewport()->update();
    } else if (e->type() == QEvent::PaletteChange || e->type() == QEvent::EnabledChange) {
        viewport()->update();
    }
    if (e)
        QAbstractScrollArea::changeEvent(e);
}

// ---- Input method -----------------------------------------------------------

void MemoView::inputMethodEvent(QInputMethodEvent *e)
{
    if (m_readOnly) {
        e->ignore();
        return;
    }
    if (!e->commitString().isEmpty() || e->replacementLength() > 0) {
        qsizetype start = selectionStart();
        qsizetype length = selectionEnd() - start;
        if (!hasSelection() && (e->replacementStart() != 0 || e->replacementLength() > 0)) {
            start = std::clamp<qsizetype>(m_pos + e->replacementStart(), 0, m_store.length());
            length = e->replacementLength();
        }
        m_store.breakUndoMerge();
        replace(start, length, e->commitString());
        m_store.breakUndoMerge();
    }
    const qsizetype oldLine = m_preeditLine, oldColumn = m_preeditColumn;
    m_preedit = e->preeditString();
    m_preeditCursor = int(m_preedit.size());
    m_preeditFormats.clear();
    for (const QInputMethodEvent::Attribute &a : e->attributes()) {
        if (a.type == QInputMethodEvent::Cursor) {
            m_preeditCursor = a.start;
        } else if (a.type == QInputMethodEvent::TextFormat) {
            const QTextCharFormat format = a.value.value<QTextFormat>().toCharFormat();
            if (format.isValid() && a.length > 0)
                m_preeditFormats.append({a.start, a.length, format});
        } else if (a.type == QInputMethodEvent::Selection && m_preedit.isEmpty()) {
            setSelection(a.start, a.start + a.length);
        }
    }
    if (m_preeditFormats.isEmpty() && !m_preedit.isEmpty()) {
        QTextCharFormat underline;
        underline.setFontUnderline(true);
        m_preeditFormats.append({0, int(m_preedit.size()), underline});
    }
    // The piece that held the preedit and the one that holds it now are laid
    // out again.
    if (oldLine >= 0)
        dropPieceAt(oldLine, oldColumn);
    if (m_preedit.isEmpty()) {
        m_preeditLine = -1;
    } else {
        m_preeditLine = m_store.lineAt(m_pos);
        m_preeditColumn = m_pos - m_store.lineStart(m_preeditLine);
        dropPieceAt(m_preeditLine, m_preeditColumn);
    }
    ensureCaretVisible();
    viewport()->update();
    e->accept();
}

QVariant MemoView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const qsizetype line = m_store.lineAt(m_pos);
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype le = ls + m_store.lineLength(line);
    const qsizetype ws = std::max(ls, m_pos - 1024);
    const qsizetype we = std::min(le, m_pos + 1024);
    switch (query) {
    case Qt::ImEnabled:
        return !m_readOnly;
    case Qt::ImCursorRectangle:
        return caretRect().translated(viewport()->pos());
    case Qt::ImAnchorRectangle:
        return characterRect(m_anchor).translated(viewport()->pos());
    case Qt::ImFont:
        return font();
    case Qt::ImCursorPosition:
        return int(m_pos - ws);
    case Qt::ImAnchorPosition:
        return int(std::clamp(m_anchor, ws, we) - ws);
    case Qt::ImSurroundingText:
        return m_store.mid(ws, we - ws);
    case Qt::ImCurrentSelection:
        return selectedText();
    case Qt::ImTextBeforeCursor:
        return m_store.mid(ws, m_pos - ws);
    case Qt::ImTextAfterCursor:
        return m_store.mid(m_pos, we - m_pos);
    case Qt::ImAbsolutePosition:
        return m_pos;
    case Qt::ImHints:
        return int(Qt::ImhMultiLine);
    case Qt::ImReadOnly:
        return m_readOnly;
    case Qt::ImMaximumTextLength:
        return QVariant();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

// ---- Drag and drop ----------------------------------------------------------

void MemoView::dragEnterEvent(QDragEnterEvent *e)
{
    if (!m_readOnly && e->mimeData() && e->mimeData()->hasText())
        e->acceptProposedAction();
    else
        e->ignore();
}

void MemoView::dragMoveEvent(QDragMoveEvent *e)
{
    if (m_readOnly || !e->mimeData() || !e->mimeData()->hasText()) {
        e->ignore();
        return;
    }
    const qsizetype pos = positionAt(e->position().toPoint());
    if (pos != m_dropPos) {
        m_dropPos = pos;
        viewport()->update();
    }
    if (e->source() == this)
        e->setDropAction(e->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
}

void MemoView::dragLeaveEvent(QDragLeaveEvent *)
{
    m_dropPos = -1;
    viewport()->update();
}

void MemoView::dropEvent(QDropEvent *e)
{
    m_dropPos = -1;
    viewport()->update();
    if (m_readOnly || !e->mimeData() || !e->mimeData()->hasText()) {
        e->ignore();
        return;
    }
    qsizetype pos = positionAt(e->position().toPoint());
    const QString text = e->mimeData()->text();
    const bool inside = e->source() == this;
    if (inside && pos >= selectionStart() && pos <= selectionEnd()) {
        setSelection(pos, pos);
        e->setDropAction(Qt::IgnoreAction);
        e->accept();
        m_dragging = false;
        return;
    }
    {
        m_store.breakUndoMerge();
        const UndoGroup group(m_store);
        if (inside && e->dropAction() == Qt::MoveAction) {
            const qsizetype s = selectionStart(), t = selectionEnd();
            replace(s, t - s, {});
            if (pos > s)
                pos -= t - s;
            m_dragging = false; // the move is done here
        }
        replace(pos, 0, text);
    }
    m_store.breakUndoMerge();
    setSelection(pos, pos + text.size());
    e->acceptProposedAction();
    if (inside)
        e->setDropAction(Qt::MoveAction);
}
