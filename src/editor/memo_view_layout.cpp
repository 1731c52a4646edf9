// Layout and painting of MemoView. A line is laid out in pieces with
// QTextLayout, only the pieces shown: a short line is one piece, a long one is
// cut at grapheme boundaries into pieces of a few thousand units. Pieces not
// laid out yet count with an estimated width (or row count), refined when they
// come into view; rows, positions and rectangles are all read from the same
// pieces, so drawing, clicks, the caret and accessibility agree on screen.
// With word wrap on each piece wraps on its own, so the last row of a piece of
// a long line may be shorter than the width; the next piece starts a new row.
#include "editor/memo_view.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

// The cache holds a few screens of line layouts; beyond this the least recently
// used half goes.
constexpr std::size_t LayoutCacheSize = 600;
// A long line is cut into pieces of about this many units (QTextLayout lays out
// one in about a millisecond); a line up to twice as long is one piece.
constexpr qsizetype PieceUnits = 2048;
constexpr qsizetype MaxPieceUnits = 2 * PieceUnits;
// Laid-out pieces a line keeps; beyond this the least recently used half goes
// (their measured widths and rows stay).
constexpr int PieceLayoutsKept = 64;
// How far back from a wanted cut a grapheme boundary is looked for, and how far
// after it the text is read to know whether the cut is one.
constexpr qsizetype CutWindow = 64;
constexpr qsizetype CutLookAhead = 8;
constexpr qreal NoWrapWidth = qreal(INT_MAX / 256);

// Units that a text layout would take as breaks or show as nothing are shown
// as visible symbols in their place, one for one, so positions stay the same.
QChar displayUnit(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x20 && u != u'\t')
        return QChar(char16_t(0x2400 + u)); // control pictures
    switch (u) {
    case 0x7F:
        return QChar(char16_t(0x2421));
    case 0x2028:
        return QChar(char16_t(0x21B5));
    case 0x2029:
        return QChar(char16_t(0x00B6));
    case 0xFDD0:
    case 0xFDD1:
    case 0xFFFC:
        return QChar(char16_t(0xFFFD));
    default:
        return c;
    }
}

} // namespace

// ---- Pieces -----------------------------------------------------------------

qreal MemoView::textWidth() const
{
    return std::max<qreal>(m_rowHeight, viewport()->width() - 2 * m_margin - 2);
}

int MemoView::visibleRows() const
{
    return std::max(1, (viewport()->height() - m_margin) / m_rowHeight);
}

void MemoView::invalidateLayouts()
{
    m_lines.clear();
}

void MemoView::forgetLayouts()
{
    for (auto &[line, ll] : m_lines) {
        for (Piece &piece : ll.pieces) {
            piece.layout.reset();
            piece.width = -1;
            piece.rows = -1;
        }
        ll.laidOut = 0;
        ll.sumsValid = 0;
        ll.estimated = false;
        ll.advance = m_advance;
    }
}

void MemoView::cutPieces(qsizetype ls, qsizetype from, qsizetype to, std::vector<Piece> &out) const
{
    qsizetype start = from;
    while (to - start > MaxPieceUnits) {
        const qsizetype want = start + PieceUnits;
        const qsizetype windowStart = want - CutWindow;
        const QString text = m_store.mid(ls + windowStart, CutWindow + CutLookAhead);
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
        finder.setPosition(int(CutWindow));
        qsizetype cut = want;
        if (!finder.isAtBoundary()) {
            const qsizetype boundary = finder.toPreviousBoundary();
            if (boundary > 0) // the window's own start is no boundary of the text
                cut = windowStart + boundary;
            else if (QChar::isLowSurrogate(m_store.at(ls + want)))
                cut = want - 1; // no boundary near: at least never inside a pair
        }
        Piece piece;
        piece.start = start;
        piece.length = cut - start;
        out.push_back(std::move(piece));
        start = cut;
    }
    Piece piece;
    piece.start = start;
    piece.length = to - start;
    out.push_back(std::move(piece));
}

bool MemoView::isPieceCut(qsizetype ls, qsizetype length, qsizetype column) const
{
    if (column <= 0 || column >= length)
        return true;
    const qsizetype from = std::max<qsizetype>(0, column - CutWindow);
    const qsizetype to = std::min(length, column + CutLookAhead);
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, m_store.mid(ls + from, to - from));
    finder.setPosition(int(column - from));
    return finder.isAtBoundary();
}

MemoView::LineLayout &MemoView::lineLayout(qsizetype line) const
{
    auto it = m_lines.find(line);
    if (it != m_lines.end()) {
        it->second.used = ++m_layoutClock;
        if (!it->second.estimated)
            estimateLine(line, it->second);
        return it->second;
    }
    if (m_lines.size() >= LayoutCacheSize) {
        std::vector<quint64> ages;
        ages.reserve(m_lines.size());
        for (const auto &e : m_lines)
            ages.push_back(e.second.used);
        std::nth_element(ages.begin(), ages.begin() + ages.size() / 2, ages.end());
        const quint64 median = ages[ages.size() / 2];
        for (auto i = m_lines.begin(); i != m_lines.end();)
            i = i->second.used <= median ? m_lines.erase(i) : std::next(i);
    }
    LineLayout fresh;
    fresh.advance = m_advance;
    fresh.used = ++m_layoutClock;
    cutPieces(m_store.lineStart(line), 0, m_store.lineLength(line), fresh.pieces);
    LineLayout &ll = m_lines.emplace(line, std::move(fresh)).first->second;
    estimateLine(line, ll);
    return ll;
}

void MemoView::estimateLine(qsizetype line, LineLayout &ll) const
{
    ll.estimated = true;
    if (ll.pieces.size() < 2)
        return;
    // A long line estimates the pieces not yet seen from its first one.
    const QTextLayout *layout = pieceLayout(line, ll, 0);
    const int rows = layout->lineCount();
    const double width = m_wrap && rows > 0 ? double(rows - 1) * textWidth() +
                                                  layout->lineAt(rows - 1).naturalTextWidth()
                                            : ll.pieces.front().width;
    if (width > 0) {
        ll.advance = std::max(1.0, width / double(ll.pieces.front().length));
        ll.sumsValid = 0;
    }
}

int MemoView::reshapeLine(qsizetype line, qsizetype column, qsizetype removed, qsizetype added,
                          int *firstChanged)
{
    *firstChanged = 0;
    const auto it = m_lines.find(line);
    if (it == m_lines.end())
        return 0;
    LineLayout &ll = it->second;
    std::vector<Piece> &pieces = ll.pieces;
    const int count = int(pieces.size());
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype length = m_store.lineLength(line);
    const qsizetype delta = added - removed;
    // An edit at a piece's start belongs to the piece before it: typing at the
    // end of a piece makes it longer.
    const auto holding = [&](qsizetype column) {
        int k = pieceAt(ll, column);
        if (k > 0 && pieces[k].start == column)
            --k;
        return k;
    };
    const int first = holding(column);
    const int last = std::max(first, holding(column + removed));
    qsizetype to = pieces[last].start + pieces[last].length + delta;
    int next = last + 1;
    // A following piece whose start is no longer a grapheme boundary joins in.
    while (next < count && !isPieceCut(ls, length, pieces[next].start + delta)) {
        to += pieces[next].length;
        ++next;
    }
    std::vector<Piece> fresh;
    cutPieces(ls, pieces[first].start, to, fresh);
    for (int k = next; k < count; ++k)
        pieces[k].start += delta;
    for (int k = first; k < next; ++k) {
        if (pieces[k].layout)
            --ll.laidOut;
    }
    const int change = int(fresh.size()) - (next - first);
    pieces.erase(pieces.begin() + first, pieces.begin() + next);
    pieces.insert(pieces.begin() + first, std::make_move_iterator(fresh.begin()),
                  std::make_move_iterator(fresh.end()));
    ll.sumsValid = std::min(ll.sumsValid, std::size_t(first) + 1);
    *firstChanged = first;
    return change;
}

void MemoView::dropPieceAt(qsizetype line, qsizetype column)
{
    const auto it = m_lines.find(line);
    if (it == m_lines.end())
        return;
    Piece &piece = it->second.pieces[pieceAt(it->second, column)];
    if (piece.layout) {
        piece.layout.reset();
        --it->second.laidOut;
    }
}

int MemoView::pieceAt(const LineLayout &ll, qsizetype column)
{
    const auto it = std::upper_bound(ll.pieces.begin(), ll.pieces.end(), column,
                                     [](qsizetype c, const Piece &p) { return c < p.start; });
    return std::max(0, int(it - ll.pieces.begin()) - 1);
}

const std::vector<double> &MemoView::sums(LineLayout &ll) const
{
    const std::size_t count = ll.pieces.size();
    if (ll.sumsValid < count + 1) {
        // Only what follows the first piece that changed is counted again:
        // typing at the end of a long line does not count all its pieces.
        ll.before.resize(count + 1);
        std::size_t k = ll.sumsValid == 0 ? 0 : ll.sumsValid - 1;
        if (k == 0)
            ll.before[0] = 0;
        const double rowWidth = textWidth();
        for (; k < count; ++k) {
            const Piece &p = ll.pieces[k];
            double amount;
            if (m_wrap)
                amount = p.rows >= 0
                             ? p.rows
                             : std::max(1.0, std::ceil(double(p.length) * ll.advance / rowWidth));
            else
                amount = p.width >= 0 ? p.width : double(p.length) * ll.advance;
            ll.before[k + 1] = ll.before[k] + amount;
        }
        ll.sumsValid = count + 1;
        if (!m_wrap && ll.before[count] > m_widest) {
            m_widest = ll.before[count];
            m_widthGrew = true;
        }
    }
    return ll.before;
}

int MemoView::pieceCount(qsizetype line) const
{
    return int(lineLayout(line).pieces.size());
}

int MemoView::rowsOfPiece(qsizetype line, int piece) const
{
    if (!m_wrap)
        return 1;
    LineLayout &ll = lineLayout(line);
    return std::max(1, pieceLayout(line, ll, piece)->lineCount());
}

QTextLayout *MemoView::pieceLayout(qsizetype line, LineLayout &ll, int k) const
{
    Piece &piece = ll.pieces[k];
    piece.used = ++m_layoutClock;
    if (piece.layout)
        return piece.layout.get();
    if (ll.laidOut >= PieceLayoutsKept) {
        std::vector<quint64> ages;
        for (const Piece &p : ll.pieces) {
            if (p.layout)
                ages.push_back(p.used);
        }
        std::nth_element(ages.begin(), ages.begin() + ages.size() / 2, ages.end());
        const quint64 median = ages[ages.size() / 2];
        for (Piece &p : ll.pieces) {
            if (p.layout && p.used <= median) {
                p.layout.reset();
                --ll.laidOut;
            }
        }
    }
    QString text = m_store.mid(m_store.lineStart(line) + piece.start, piece.length);
    for (QChar &c : text)
        c = displayUnit(c);
    auto layout = std::make_unique<QTextLayout>(text, font(), viewport());
    QTextOption option;
    option.setWrapMode(m_wrap ? QTextOption::WrapAnywhere : QTextOption::NoWrap);
    option.setTabStopDistance(80);
    // Each piece is ordered on its own: a right-to-left run crossing a cut
    // between pieces is ordered within each piece.
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    if (line == m_preeditLine && !m_preedit.isEmpty() && pieceAt(ll, m_preeditColumn) == k) {
        const int at = int(m_preeditColumn - piece.start);
        layout->setPreeditArea(at, m_preedit);
        QList<QTextLayout::FormatRange> formats = m_preeditFormats;
        for (auto &f : formats)
            f.start += at;
        layout->setFormats(formats);
    }
    const qreal width = m_wrap ? textWidth() : NoWrapWidth;
    layout->beginLayout();
    int row = 0;
    qreal widest = 0;
    for (QTextLine tl = layout->createLine(); tl.isValid(); tl = layout->createLine(), ++row) {
        tl.setLineWidth(width);
        tl.setPosition(QPointF(0, row * m_rowHeight + (m_ascent - tl.ascent())));
        widest = std::max(widest, tl.naturalTextWidth());
    }
    layout->endLayout();
    if (!text.isEmpty() && m_measuredUnits < 1e6) {
        m_measuredUnits += text.size();
        m_measuredWidth +=
            m_wrap ? qreal(row - 1) * width + layout->lineAt(row - 1).naturalTextWidth() : widest;
        m_advance = std::max(1.0, m_measuredWidth / m_measuredUnits);
    }
    row = std::max(1, row);
    if (widest != piece.width || row != piece.rows)
        ll.sumsValid = std::min(ll.sumsValid, std::size_t(k) + 1);
    piece.width = widest;
    piece.rows = row;
    piece.layout = std::move(layout);
    ++ll.laidOut;
    if (!m_wrap && ll.pieces.size() == 1 && widest > m_widest) {
        m_widest = widest;
        m_widthGrew = true;
    }
    return piece.layout.get();
}

int MemoView::localPos(qsizetype line, const LineLayout &ll, int k, qsizetype column,
                       bool caret) const
{
    const qsizetype start = ll.pieces[k].start;
    int at = int(column - start);
    if (line == m_preeditLine && !m_preedit.isEmpty() && pieceAt(ll, m_preeditColumn) == k) {
        const qsizetype preedit = m_preeditColumn - start;
        if (at > preedit)
            at += int(m_preedit.size());
        else if (caret && at == preedit)
            at += m_preeditCursor;
    }
    return at;
}

QPointF MemoView::pieceOrigin(qsizetype line, LineLayout &ll, int k) const
{
    const double x = m_wrap || ll.pieces.size() == 1 ? 0.0 : sums(ll)[k];
    return QPointF(m_margin - horizontalScrollBar()->value() + x,
                   m_margin + rowOffset(Row{line, m_wrap ? k : 0, 0}) * m_rowHeight);
}

void MemoView::settleShown(qsizetype line) const
{
    if (m_wrap)
        return;
    LineLayout &ll = lineLayout(line);
    const int count = int(ll.pieces.size());
    const double left = horizontalScrollBar()->value() - m_margin;
    const double right = left + viewport()->width();
    int k = std::max(
        0,
        int(std::upper_bound(sums(ll).begin(), sums(ll).end() - 1, left) - sums(ll).begin()) - 1);
    for (; k < count; ++k) {
        pieceLayout(line, ll, k);
        if (sums(ll)[k + 1] >= right)
            break;
    }
}

// ---- Rows -------------------------------------------------------------------

void MemoView::updateLine(qsizetype line)
{
    if (m_wrap) {
        viewport()->update();
        return;
    }
    const qsizetype row = line - m_top.line;
    if (row < -1 || row > visibleRows() + 1)
        return;
    const int y = m_margin + int(row) * m_rowHeight;
    viewport()->update(QRect(0, y - 1, viewport()->width(), m_rowHeight + 2));
}

bool MemoView::before(const Row &a, const Row &b)
{
    if (a.line != b.line)
        return a.line < b.line;
    if (a.piece != b.piece)
        return a.piece < b.piece;
    return a.sub < b.sub;
}

MemoView::Row MemoView::advance(Row row, qsizetype rows) const
{
    if (!m_wrap)
        return {std::clamp<qsizetype>(row.line + rows, 0, m_lineCount - 1), 0, 0};
    while (rows > 0) {
        const int count = rowsOfPiece(row.line, row.piece);
        const qsizetype left = count - 1 - row.sub;
        if (rows <= left) {
            row.sub += int(rows);
            return row;
        }
        if (row.piece + 1 < pieceCount(row.line)) {
            ++row.piece;
        } else if (row.line + 1 < m_lineCount) {
            ++row.line;
            row.piece = 0;
        } else {
            row.sub = count - 1;
            return row;
        }
        rows -= left + 1;
        row.sub = 0;
    }
    while (rows < 0) {
        if (-rows <= row.sub) {
            row.sub += int(rows);
            return row;
        }
        if (row.line == 0 && row.piece == 0) {
            row.sub = 0;
            return row;
        }
        rows += row.sub + 1;
        if (row.piece > 0) {
            --row.piece;
        } else {
            --row.line;
            row.piece = pieceCount(row.line) - 1;
        }
        row.sub = rowsOfPiece(row.line, row.piece) - 1;
    }
    return row;
}

MemoView::Row MemoView::lastTop() const
{
    const qsizetype last = m_lineCount - 1;
    if (!m_wrap)
        return advance(Row{last, 0, 0}, -(visibleRows() - 1));
    const int piece = pieceCount(last) - 1;
    return advance(Row{last, piece, rowsOfPiece(last, piece) - 1}, -(visibleRows() - 1));
}

double MemoView::rowOffset(Row row) const
{
    if (!m_wrap)
        return double(row.line - m_top.line);
    // Counted piece by piece near the top row, estimated beyond.
    const double near = 2.0 * visibleRows() + 2;
    const auto estimate = [&] {
        return estimatedRowsBefore(row.line) + pieceRowsBefore(row.line, row.piece) + row.sub -
               (estimatedRowsBefore(m_top.line) + pieceRowsBefore(m_top.line, m_top.piece) +
                m_top.sub);
    };
    const bool down = !before(row, m_top);
    const Row from = down ? m_top : row;
    const Row to = down ? row : m_top;
    double rows = to.sub - from.sub;
    Row at{from.line, from.piece, 0};
    while (at.line != to.line || at.piece != to.piece) {
        rows += rowsOfPiece(at.line, at.piece);
        if (rows > near)
            return estimate();
        if (at.piece + 1 < pieceCount(at.line)) {
            ++at.piece;
        } else {
            ++at.line;
            at.piece = 0;
        }
    }
    return down ? rows : -rows;
}

MemoView::Row MemoView::rowOf(qsizetype pos) const
{
    const qsizetype line = m_store.lineAt(pos);
    if (!m_wrap)
        return {line, 0, 0};
    const qsizetype column = pos - m_store.lineStart(line);
    LineLayout &ll = lineLayout(line);
    const int k = pieceAt(ll, column);
    QTextLayout *layout = pieceLayout(line, ll, k);
    const QTextLine tl = layout->lineForTextPosition(localPos(line, ll, k, column, pos == m_pos));
    return {line, k, tl.isValid() ? tl.lineNumber() : layout->lineCount() - 1};
}

// ---- Geometry ---------------------------------------------------------------

qsizetype MemoView::columnAt(Row row, qreal x) const
{
    LineLayout &ll = lineLayout(row.line);
    const int count = int(ll.pieces.size());
    int k = row.piece;
    qreal localX = x;
    if (!m_wrap) {
        k = std::clamp(
            int(std::upper_bound(sums(ll).begin(), sums(ll).end() - 1, x) - sums(ll).begin()) - 1,
            0, count - 1);
        // Laying a piece out moves the ones after it: go on while x lies beyond.
        for (pieceLayout(row.line, ll, k); k + 1 < count && x >= sums(ll)[k + 1];)
            pieceLayout(row.line, ll, ++k);
        localX = x - sums(ll)[k];
    }
    QTextLayout *layout = pieceLayout(row.line, ll, k);
    const Piece &piece = ll.pieces[k];
    const int sub = std::min(row.sub, layout->lineCount() - 1);
    const QTextLine tl = layout->lineAt(sub);
    int column = tl.xToCursor(localX, QTextLine::CursorBetweenCharacters);
    if (row.line == m_preeditLine && !m_preedit.isEmpty() && pieceAt(ll, m_preeditColumn) == k) {
        const int preedit = int(m_preeditColumn - piece.start);
        if (column > preedit)
            column = std::max(preedit, column - int(m_preedit.size()));
    }
    // A wrapped row ends before the first unit of the next row.
    const int rowEnd = tl.textStart() + tl.textLength();
    if (m_wrap && (sub < layout->lineCount() - 1 || k + 1 < count) && column >= rowEnd &&
        rowEnd > tl.textStart())
        column = layout->previousCursorPosition(rowEnd);
    return piece.start + std::clamp<qsizetype>(column, 0, piece.length);
}

QPointF MemoView::caretPoint(qsizetype pos, bool caret) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype column = pos - m_store.lineStart(line);
    LineLayout &ll = lineLayout(line);
    const int k = pieceAt(ll, column);
    QTextLayout *layout = pieceLayout(line, ll, k);
    const int at = localPos(line, ll, k, column, caret);
    QTextLine tl = layout->lineForTextPosition(at);
    if (!tl.isValid())
        tl = layout->lineAt(layout->lineCount() - 1);
    return pieceOrigin(line, ll, k) + QPointF(tl.cursorToX(at), tl.lineNumber() * m_rowHeight);
}

QRect MemoView::characterRect(qsizetype pos) const
{
    pos = std::clamp<qsizetype>(pos, 0, m_store.length());
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype column = pos - m_store.lineStart(line);
    LineLayout &ll = lineLayout(line);
    const int k = pieceAt(ll, column);
    QTextLayout *layout = pieceLayout(line, ll, k);
    const int at = localPos(line, ll, k, column, false);
    QTextLine tl = layout->lineForTextPosition(at);
    if (!tl.isValid())
        tl = layout->lineAt(layout->lineCount() - 1);
    qreal x1 = tl.cursorToX(at);
    qreal x2;
    if (column < m_store.lineLength(line)) {
        const int next = layout->nextCursorPosition(at);
        x2 = next <= tl.textStart() + tl.textLength() ? tl.cursorToX(next)
                                                      : tl.naturalTextWidth() + tl.x();
    } else {
        x2 = x1 + m_spaceWidth;
    }
    if (x2 < x1)
        std::swap(x1, x2);
    const QPointF origin = pieceOrigin(line, ll, k);
    return QRectF(origin.x() + x1, origin.y() + tl.lineNumber() * m_rowHeight,
                  std::max<qreal>(1, x2 - x1), m_rowHeight)
        .toAlignedRect();
}

QRect MemoView::caretRect() const
{
    const QPointF at = caretPoint(m_pos, true);
    return QRect(int(std::floor(at.x())), int(at.y()), 2, m_rowHeight);
}

qsizetype MemoView::positionAt(const QPoint &point) const
{
    const qsizetype span = 3 * qsizetype(visibleRows()) + 3;
    const qsizetype rows = std::clamp<qsizetype>(
        qsizetype(std::floor(double(point.y() - m_margin) / m_rowHeight)), -span, span);
    const Row row = advance(m_top, rows);
    const qreal x = point.x() - (m_margin - horizontalScrollBar()->value());
    return m_store.lineStart(row.line) + columnAt(row, x);
}

// ---- Painting ---------------------------------------------------------------

void MemoView::paintPiece(QPainter &p, qsizetype line, qsizetype ls, LineLayout &ll, int k,
                          const QPointF &origin, const QRect &exposed) const
{
    const Piece &piece = ll.pieces[k];
    QTextLayout *layout = piece.layout.get();
    const QPalette pal = palette();
    const qsizetype s = selectionStart(), t = selectionEnd();
    const qsizetype from = ls + piece.start, to = from + piece.length;
    QList<QTextLayout::FormatRange> selections;
    if (s != t && t > from && s <= to) {
        const qsizetype a = std::max(s, from) - from, b = std::min(t, to) - from;
        if (b > a) {
            QTextLayout::FormatRange range;
            range.start = localPos(line, ll, k, piece.start + a, false);
            range.length = int(b - a);
            range.format.setBackground(pal.brush(QPalette::Highlight));
            range.format.setForeground(pal.brush(QPalette::HighlightedText));
            selections.append(range);
        }
        const bool lastPiece = k + 1 == int(ll.pieces.size());
        if (lastPiece && t > to && line + 1 < m_lineCount) { // the line break
            const QTextLine last = layout->lineAt(layout->lineCount() - 1);
            p.fillRect(QRectF(origin.x() + last.naturalTextWidth(),
                              origin.y() + last.lineNumber() * m_rowHeight, m_spaceWidth,
                              m_rowHeight),
                       pal.brush(QPalette::Highlight));
        }
    }
    layout->draw(&p, origin, selections, QRectF(exposed));
    const qsizetype c = m_compositionPos;
    if (m_compositionLength > 0 && c >= from && c + m_compositionLength <= to) {
        // The open syllable, underlined as input methods show what they compose.
        const int a = localPos(line, ll, k, c - ls, false);
        const int b = a + int(m_compositionLength);
        const QFontMetricsF metrics(font());
        p.save();
        p.setPen(QPen(pal.color(QPalette::Text), std::max(1.0, metrics.lineWidth())));
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine tl = layout->lineAt(i);
            const int s = std::max(a, tl.textStart());
            const int e = std::min(b, tl.textStart() + tl.textLength());
            if (s >= e)
                continue;
            const qreal x1 = tl.cursorToX(s), x2 = tl.cursorToX(e);
            const qreal y = origin.y() + tl.y() + tl.ascent() + metrics.underlinePos();
            p.drawLine(QPointF(origin.x() + std::min(x1, x2), y),
                       QPointF(origin.x() + std::max(x1, x2), y));
        }
        p.restore();
    }
    if (m_pos >= from && m_pos <= to && pieceAt(ll, m_pos - ls) == k && hasFocus() &&
        m_caretShown) {
        p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
        layout->drawCursor(&p, origin, localPos(line, ll, k, m_pos - ls, true), 2);
    }
}

void MemoView::paintEvent(QPaintEvent *e)
{
    if (m_scrollColumnPending)
        scrollToPosition(m_pos, true);
    QPainter p(viewport());
    const QPalette pal = palette();
    const QRect exposed = e->rect();
    p.fillRect(exposed, pal.brush(QPalette::Base));
    const QColor textColor =
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    p.setPen(textColor);
    const qreal x0 = m_margin - horizontalScrollBar()->value();
    const int height = std::min(viewport()->height(), exposed.bottom() + 1);
    if (!m_wrap) {
        // The rows above the area to paint are passed over, and of a long line
        // only the pieces across the area are laid out.
        qreal y = m_margin;
        const qsizetype above =
            std::max<qsizetype>(0, qsizetype(std::floor((exposed.top() - y) / m_rowHeight)));
        qsizetype line = std::min(m_top.line + above, m_lineCount - 1);
        y += qreal(line - m_top.line) * m_rowHeight;
        const double left = exposed.left() - x0, right = exposed.right() + 1 - x0;
        qsizetype ls = m_store.lineStart(line);
        for (; line < m_lineCount && y < height; ++line, y += m_rowHeight) {
            LineLayout &ll = lineLayout(line);
            const int count = int(ll.pieces.size());
            int k = 0;
            if (count > 1)
                k = std::max(0, int(std::upper_bound(sums(ll).begin(), sums(ll).end() - 1, left) -
                                    sums(ll).begin()) -
                                    1);
            for (; k < count; ++k) {
                pieceLayout(line, ll, k);
                const double x = count == 1 ? 0.0 : sums(ll)[k];
                if (x > right)
                    break;
                paintPiece(p, line, ls, ll, k, QPointF(x0 + x, y), exposed);
            }
            ls += m_store.lineLength(line) + 1;
        }
    } else {
        Row row = m_top;
        qreal y = m_margin - m_top.sub * m_rowHeight;
        qsizetype ls = m_store.lineStart(row.line);
        while (y < height) {
            LineLayout &ll = lineLayout(row.line);
            QTextLayout *layout = pieceLayout(row.line, ll, row.piece);
            paintPiece(p, row.line, ls, ll, row.piece, QPointF(x0, y), exposed);
            y += std::max(1, layout->lineCount()) * m_rowHeight;
            if (row.piece + 1 < int(ll.pieces.size())) {
                ++row.piece;
            } else if (row.line + 1 < m_lineCount) {
                ls += m_store.lineLength(row.line) + 1;
                ++row.line;
                row.piece = 0;
            } else {
                break;
            }
        }
    }
    if (m_dropPos >= 0) {
        const QPointF at = caretPoint(m_dropPos, false);
        p.fillRect(QRectF(at.x(), at.y(), 2, m_rowHeight), textColor);
    }
    // The estimate of the rows refines as more lines are measured.
    if (m_wrap && std::abs(m_advance - m_advanceOfRange) > 0.05 * m_advanceOfRange) {
        m_advanceOfRange = m_advance;
        QMetaObject::invokeMethod(
            this, [this] { updateScrollBars(); }, Qt::QueuedConnection);
    } else if (m_widthGrew) {
        QMetaObject::invokeMethod(
            this, [this] { updateHorizontalBar(); }, Qt::QueuedConnection);
    }
    m_widthGrew = false;
}
