#include "editor/memo_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFontMetricsF>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyleHints>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

namespace {

// The cache holds a few screens of line layouts; beyond this the least recently
// used half goes.
constexpr std::size_t LayoutCacheSize = 600;
// Words are looked for this far around a position.
constexpr qsizetype WordWindow = 2048;
// A line is laid out and shown up to this many units: QTextLayout needs the
// whole text it lays out, and a file without line breaks must still open. The
// caret moves on by code points beyond it.
constexpr qsizetype MaxLaidOut = qsizetype(1) << 16;
constexpr qreal NoWrapWidth = qreal(INT_MAX / 256);
constexpr qsizetype AccessibleEventLimit = qsizetype(1) << 20;

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

// ---- Accessibility --------------------------------------------------------

class MemoViewAccessible : public QAccessibleWidget,
                           public QAccessibleTextInterface,
                           public QAccessibleEditableTextInterface
{
public:
    explicit MemoViewAccessible(MemoView *view) : QAccessibleWidget(view, QAccessible::EditableText)
    {
    }

    MemoView *view() const { return static_cast<MemoView *>(object()); }

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        if (type == QAccessible::EditableTextInterface)
            return static_cast<QAccessibleEditableTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QAccessible::State state() const override
    {
        QAccessible::State s = QAccessibleWidget::state();
        s.multiLine = true;
        s.editable = !view()->isReadOnly();
        s.readOnly = view()->isReadOnly();
        s.selectableText = true;
        s.focusable = true;
        s.focused = view()->hasFocus();
        return s;
    }

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Value)
            return view()->store().text();
        return QAccessibleWidget::text(t);
    }

    // Selection
    void selection(int index, int *start, int *end) const override
    {
        *start = *end = 0;
        if (index == 0 && view()->hasSelection()) {
            *start = int(view()->selectionStart());
            *end = int(view()->selectionEnd());
        }
    }
    int selectionCount() const override { return view()->hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override
    {
        if (index == 0)
            view()->setCursorPosition(view()->cursorPosition());
    }
    void setSelection(int index, int start, int end) override
    {
        if (index == 0)
            view()->setSelection(start, end);
    }

    int cursorPosition() const override { return int(view()->cursorPosition()); }
    void setCursorPosition(int position) override { view()->setCursorPosition(position); }

    QString text(int start, int end) const override
    {
        return end > start ? view()->store().mid(start, end - start) : QString();
    }
    int characterCount() const override { return int(view()->store().length()); }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start,
                         int *end) const override
    {
        *start = *end = -1;
        const TextStore &s = view()->store();
        if (offset < 0 || offset > s.length())
            return QString();
        qsizetype from = offset, to = offset;
        bounds(offset, type, &from, &to);
        *start = int(from);
        *end = int(to);
        return s.mid(from, to - from);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start,
                             int *end) const override
    {
        *start = *end = -1;
        if (offset <= 0 || offset > view()->store().length())
            return QString();
        qsizetype from = offset, to = offset;
        bounds(offset, type, &from, &to);
        if (from <= 0 && type != QAccessible::NoBoundary)
            return QString();
        return textAtOffset(int(from == offset ? offset - 1 : from - 1), type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start,
                            int *end) const override
    {
        *start = *end = -1;
        const qsizetype length = view()->store().length();
        if (offset < 0 || offset >= length)
            return QString();
        qsizetype from = offset, to = offset;
        bounds(offset, type, &from, &to);
        if (to >= length)
            return QString();
        return textAtOffset(int(to), type, start, end);
    }

    QRect characterRect(int offset) const override
    {
        const QRect r = view()->characterRect(offset);
        return QRect(view()->viewport()->mapToGlobal(r.topLeft()), r.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QPoint local = view()->viewport()->mapFromGlobal(point);
        if (!view()->viewport()->rect().contains(local))
            return -1;
        return int(view()->positionAt(local));
    }
    void scrollToSubstring(int start, int end) override
    {
        view()->scrollToPosition(end);
        view()->scrollToPosition(start);
    }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = 0;
        *end = characterCount();
        if (offset < 0 || offset > *end) {
            *start = *end = -1;
            return QString();
        }
        const QFont f = view()->font();
        return QStringLiteral("font-family:\"%1\";font-size:%2pt;")
            .arg(f.family())
            .arg(f.pointSizeF() > 0 ? f.pointSizeF() : QFontInfo(f).pointSizeF());
    }

    // Editable text
    void deleteText(int start, int end) override { view()->replace(start, end - start, {}); }
    void insertText(int offset, const QString &text) override { view()->replace(offset, 0, text); }
    void replaceText(int start, int end, const QString &text) override
    {
        view()->replace(start, end - start, text);
    }

private:
    // The span of the unit of `type` holding `offset`, read from the line only.
    void bounds(qsizetype offset, QAccessible::TextBoundaryType type, qsizetype *from,
                qsizetype *to) const
    {
        const TextStore &s = view()->store();
        const qsizetype length = s.length();
        switch (type) {
        case QAccessible::NoBoundary:
            *from = 0;
            *to = length;
            return;
        case QAccessible::CharBoundary: {
            *from = offset;
            *to = std::min(length, offset + 1);
            if (offset < length && QChar::isHighSurrogate(s.at(offset)) &&
                QChar::isLowSurrogate(s.at(offset + 1)))
                *to = offset + 2;
            return;
        }
        case QAccessible::WordBoundary: {
            const qsizetype line = s.lineAt(offset);
            const qsizetype ls = s.lineStart(line);
            const qsizetype ll = s.lineLength(line);
            if (offset >= ls + ll) { // the break itself
                *from = offset;
                *to = std::min(length, offset + 1);
                return;
            }
            const qsizetype ws = std::max(ls, offset - WordWindow);
            const qsizetype we = std::min(ls + ll, offset + WordWindow);
            const QString text = s.mid(ws, we - ws);
            QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
            finder.setPosition(int(offset - ws));
            qsizetype a = finder.isAtBoundary() ? offset - ws : finder.toPreviousBoundary();
            finder.setPosition(int(offset - ws));
            qsizetype b = finder.toNextBoundary();
            *from = ws + std::max<qsizetype>(0, a);
            *to = b < 0 ? we : ws + b;
            return;
        }
        default: { // line, sentence, paragraph: the line with its break
            const qsizetype line = s.lineAt(offset);
            *from = s.lineStart(line);
            *to = std::min(length, *from + s.lineLength(line) + 1);
            return;
        }
        }
    }
};

QAccessibleInterface *memoViewAccessibleFactory(const QString &className, QObject *object)
{
    if (className == QLatin1String("MemoView") && object && object->isWidgetType())
        return new MemoViewAccessible(static_cast<MemoView *>(object));
    return nullptr;
}

} // namespace

// ---- Construction -----------------------------------------------------------

MemoView::MemoView(Document &document, QWidget *parent)
    : QAbstractScrollArea(parent), m_document(document), m_store(document.store())
{
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(memoViewAccessibleFactory);
        return true;
    }();
    Q_UNUSED(factoryInstalled);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    viewport()->setBackgroundRole(QPalette::Base);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(1);
    connect(&m_store, &TextStore::changed, this, &MemoView::onStoreChanged);
    // The document may hold text already.
    m_lineCount = m_store.lineCount();
    changeEvent(nullptr); // font metrics
}

MemoView::~MemoView() = default;

// ---- Layouts ----------------------------------------------------------------

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
    m_layouts.clear();
}

QTextLayout *MemoView::layoutFor(qsizetype line) const
{
    auto it = m_layouts.find(line);
    if (it != m_layouts.end()) {
        it->second.used = ++m_layoutClock;
        return it->second.layout.get();
    }
    if (m_layouts.size() >= LayoutCacheSize) {
        std::vector<quint64> ages;
        ages.reserve(m_layouts.size());
        for (const auto &e : m_layouts)
            ages.push_back(e.second.used);
        std::nth_element(ages.begin(), ages.begin() + ages.size() / 2, ages.end());
        const quint64 median = ages[ages.size() / 2];
        for (auto i = m_layouts.begin(); i != m_layouts.end();)
            i = i->second.used <= median ? m_layouts.erase(i) : std::next(i);
    }
    QString text =
        m_store.mid(m_store.lineStart(line), std::min(m_store.lineLength(line), MaxLaidOut));
    for (QChar &c : text)
        c = displayUnit(c);
    auto layout = std::make_unique<QTextLayout>(text, font(), viewport());
    QTextOption option;
    option.setWrapMode(m_wrap ? QTextOption::WrapAnywhere : QTextOption::NoWrap);
    option.setTabStopDistance(80);
    option.setTextDirection(Qt::LeftToRight);
    option.setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    if (line == m_preeditLine && !m_preedit.isEmpty()) {
        layout->setPreeditArea(m_preeditColumn, m_preedit);
        QList<QTextLayout::FormatRange> formats = m_preeditFormats;
        for (auto &f : formats)
            f.start += m_preeditColumn;
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
    if (!m_wrap && widest > m_widest) {
        m_widest = widest;
        m_widthGrew = true;
    }
    if (!text.isEmpty() && m_measuredUnits < 1e6) {
        m_measuredUnits += text.size();
        m_measuredWidth +=
            m_wrap ? qreal(row - 1) * width + layout->lineAt(row - 1).naturalTextWidth() : widest;
        m_advance = std::max(1.0, m_measuredWidth / m_measuredUnits);
    }
    QTextLayout *result = layout.get();
    m_layouts[line] = CachedLayout{std::move(layout), ++m_layoutClock};
    return result;
}

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

int MemoView::rowsOf(qsizetype line) const
{
    return m_wrap ? std::max(1, layoutFor(line)->lineCount()) : 1;
}

MemoView::Row MemoView::advance(Row row, qsizetype rows) const
{
    if (!m_wrap)
        return {std::clamp<qsizetype>(row.line + rows, 0, m_lineCount - 1), 0};
    while (rows > 0) {
        const int count = rowsOf(row.line);
        const qsizetype left = count - 1 - row.sub;
        if (rows <= left) {
            row.sub += int(rows);
            return row;
        }
        if (row.line + 1 >= m_lineCount) {
            row.sub = count - 1;
            return row;
        }
        rows -= left + 1;
        ++row.line;
        row.sub = 0;
    }
    while (rows < 0) {
        if (-rows <= row.sub) {
            row.sub += int(rows);
            return row;
        }
        if (row.line == 0) {
            row.sub = 0;
            return row;
        }
        rows += row.sub + 1;
        --row.line;
        row.sub = rowsOf(row.line) - 1;
    }
    return row;
}

MemoView::Row MemoView::lastTop() const
{
    const qsizetype last = m_lineCount - 1;
    return advance(Row{last, rowsOf(last) - 1}, -(visibleRows() - 1));
}

// ---- Vertical estimate ------------------------------------------------------
// Without wrapping a row is a line. With wrapping, rows above the top line are
// estimated from the units before it and the average advance measured so far;
// the lines shown are laid out and counted exactly.

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

MemoView::Row MemoView::rowAtEstimate(double value) const
{
    if (!m_wrap)
        return {std::clamp<qsizetype>(qsizetype(value), 0, m_lineCount - 1), 0};
    qsizetype lo = 0, hi = m_lineCount - 1;
    while (lo < hi) {
        const qsizetype mid = lo + (hi - lo + 1) / 2;
        if (estimatedRowsBefore(mid) <= value)
            lo = mid;
        else
            hi = mid - 1;
    }
    const int sub = int(std::clamp(value - estimatedRowsBefore(lo), 0.0, double(rowsOf(lo) - 1)));
    return {lo, sub};
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
    int value = int(std::min(estimatedRowsBefore(m_top.line) + m_top.sub, double(INT_MAX / 2)));
    if (m_wrap && value >= bar->maximum() - 2 * visibleRows()) {
        const Row end = lastTop();
        if (m_top.line == end.line && m_top.sub == end.sub)
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
    top.sub = std::clamp(top.sub, 0, rowsOf(top.line) - 1);
    const Row end = lastTop();
    if (top.line > end.line || (top.line == end.line && top.sub > end.sub))
        top = end;
    const bool moved = top.line != m_top.line || top.sub != m_top.sub;
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

double MemoView::rowOffset(Row row) const
{
    if (!m_wrap)
        return double(row.line - m_top.line);
    const qsizetype near = 2 * visibleRows() + 2;
    if (row.line >= m_top.line) {
        if (row.line - m_top.line > near)
            return estimatedRowsBefore(row.line) - estimatedRowsBefore(m_top.line) + row.sub -
                   m_top.sub;
        double rows = row.sub - m_top.sub;
        for (qsizetype l = m_top.line; l < row.line; ++l)
            rows += rowsOf(l);
        return rows;
    }
    if (m_top.line - row.line > near)
        return estimatedRowsBefore(row.line) - estimatedRowsBefore(m_top.line) + row.sub -
               m_top.sub;
    double rows = row.sub - m_top.sub;
    for (qsizetype l = row.line; l < m_top.line; ++l)
        rows -= rowsOf(l);
    return rows;
}

int MemoView::preeditShift(qsizetype line, qsizetype column) const
{
    return line == m_preeditLine && !m_preedit.isEmpty() && column > m_preeditColumn
               ? int(m_preedit.size())
               : 0;
}

MemoView::Row MemoView::rowOf(qsizetype pos) const
{
    const qsizetype line = m_store.lineAt(pos);
    if (!m_wrap)
        return {line, 0};
    const qsizetype column = pos - m_store.lineStart(line);
    QTextLayout *layout = layoutFor(line);
    const int at = int(column) + preeditShift(line, column) +
                   (pos == m_pos && line == m_preeditLine ? m_preeditCursor : 0);
    const QTextLine tl = layout->lineForTextPosition(at);
    return {line, tl.isValid() ? tl.lineNumber() : layout->lineCount() - 1};
}

QPointF MemoView::lineOrigin(qsizetype line) const
{
    return QPointF(m_margin - horizontalScrollBar()->value(),
                   m_margin + rowOffset(Row{line, 0}) * m_rowHeight);
}

QPointF MemoView::cursorPoint(qsizetype pos) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype column = pos - m_store.lineStart(line);
    QTextLayout *layout = layoutFor(line);
    int at = int(column) + preeditShift(line, column);
    if (pos == m_pos && line == m_preeditLine && !m_preedit.isEmpty())
        at += m_preeditCursor;
    QTextLine tl = layout->lineForTextPosition(at);
    if (!tl.isValid())
        tl = layout->lineAt(layout->lineCount() - 1);
    return QPointF(tl.cursorToX(at), tl.lineNumber() * m_rowHeight);
}

QRect MemoView::characterRect(qsizetype pos) const
{
    pos = std::clamp<qsizetype>(pos, 0, m_store.length());
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype column = pos - ls;
    QTextLayout *layout = layoutFor(line);
    const QPointF origin = lineOrigin(line);
    const int at = int(column) + preeditShift(line, column);
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
        x2 = x1 + QFontMetricsF(font()).horizontalAdvance(u' ');
    }
    if (x2 < x1)
        std::swap(x1, x2);
    return QRectF(origin.x() + x1, origin.y() + tl.lineNumber() * m_rowHeight,
                  std::max<qreal>(1, x2 - x1), m_rowHeight)
        .toAlignedRect();
}

QRect MemoView::caretRect() const
{
    const qsizetype line = m_store.lineAt(m_pos);
    const QPointF origin = lineOrigin(line);
    const QPointF at = cursorPoint(m_pos);
    return QRect(int(std::floor(origin.x() + at.x())), int(origin.y() + at.y()), 2, m_rowHeight);
}

qsizetype MemoView::positionAt(const QPoint &point) const
{
    const qsizetype span = 3 * qsizetype(visibleRows()) + 3;
    const qsizetype rows = std::clamp<qsizetype>(
        qsizetype(std::floor(double(point.y() - m_margin) / m_rowHeight)), -span, span);
    const Row row = advance(m_top, rows);
    QTextLayout *layout = layoutFor(row.line);
    const QTextLine tl = layout->lineAt(std::min(row.sub, layout->lineCount() - 1));
    const qreal x = point.x() - (m_margin - horizontalScrollBar()->value());
    int column = tl.xToCursor(x, QTextLine::CursorBetweenCharacters);
    if (row.line == m_preeditLine && !m_preedit.isEmpty() && column > m_preeditColumn)
        column = std::max<int>(m_preeditColumn, column - int(m_preedit.size()));
    // A wrapped row ends before the first unit of the next row.
    if (m_wrap && row.sub < layout->lineCount() - 1 && column >= tl.textStart() + tl.textLength())
        column = layout->previousCursorPosition(tl.textStart() + tl.textLength());
    const qsizetype ls = m_store.lineStart(row.line);
    return ls + std::clamp<qsizetype>(column, 0, m_store.lineLength(row.line));
}

// ---- Store changes ----------------------------------------------------------

void MemoView::onStoreChanged(qsizetype pos, qsizetype removed, qsizetype added)
{
    const qsizetype oldCount = m_lineCount;
    m_lineCount = m_store.lineCount();
    const qsizetype lineDelta = m_lineCount - oldCount;
    const qsizetype firstLine = m_store.lineAt(pos);
    const bool whole = pos == 0 && added == m_store.length();
    bool inLine = false; // the edit stayed inside one line
    if (whole) {
        invalidateLayouts();
        m_widest = 0;
        m_top = Row{};
    } else {
        // Lines before the edit keep their layouts, lines after it move.
        qsizetype addedBreaks = -1;
        if (added <= 4096) {
            addedBreaks = 0;
            m_store.visitPieces(pos, added, [&addedBreaks](QStringView piece) {
                addedBreaks += piece.count(u'\n');
                return true;
            });
        }
        inLine = lineDelta == 0 && addedBreaks == 0;
        if (inLine) {
            m_layouts.erase(firstLine);
        } else {
            std::unordered_map<qsizetype, CachedLayout> kept;
            for (auto &e : m_layouts) {
                if (e.first < firstLine) {
                    kept.emplace(e.first, std::move(e.second));
                } else if (addedBreaks >= 0 && e.first > firstLine + addedBreaks - lineDelta) {
                    kept.emplace(e.first + lineDelta, std::move(e.second));
                }
            }
            m_layouts.swap(kept);
        }
        if (lineDelta != 0 && firstLine < m_top.line) {
            m_top.line = std::max(firstLine, m_top.line + lineDelta);
            m_top.sub = 0;
        }
        m_top.line = std::min(m_top.line, m_lineCount - 1);
        if (m_wrap && m_top.line == firstLine)
            m_top.sub = 0;
    }
    if (m_preeditLine >= 0)
        m_preeditLine = m_store.lineAt(m_pos);
    // The caret and the anchor follow edits that are not ours.
    if (!m_editing) {
        const auto follow = [&](qsizetype p) {
            if (p >= pos + removed)
                return p + added - removed;
            return p > pos ? pos : p;
        };
        m_pos = follow(m_pos);
        m_anchor = follow(m_anchor);
    }
    updateScrollBars();
    // An edit inside one line repaints that line; any other, everything.
    if (inLine)
        updateLine(firstLine);
    else
        viewport()->update();

    if (QAccessible::isActive()) {
        if (removed > 0 && removed <= AccessibleEventLimit) {
            const QString gone = m_pendingRemovedValid && m_pendingRemoved.size() == removed
                                     ? m_pendingRemoved
                                     : QString(removed, QChar(0xFFFC));
            QAccessibleTextRemoveEvent event(this, int(pos), gone);
            QAccessible::updateAccessibility(&event);
        }
        if (added > 0 && added <= AccessibleEventLimit) {
            QAccessibleTextInsertEvent event(this, int(pos), m_store.mid(pos, added));
            QAccessible::updateAccessibility(&event);
        }
    }
    m_pendingRemovedValid = false;
}

// ---- Caret, selection and edits -------------------------------------------

QString MemoView::selectedText() const
{
    return m_store.mid(selectionStart(), selectionEnd() - selectionStart());
}

void MemoView::notifyCaretMoved(qsizetype oldAnchor, qsizetype oldPos)
{
    if (!QAccessible::isActive())
        return;
    if (oldPos != m_pos) {
        QAccessibleTextCursorEvent event(this, int(m_pos));
        QAccessible::updateAccessibility(&event);
    }
    if (oldAnchor != m_anchor || (oldPos != m_pos && hasSelection())) {
        QAccessibleTextSelectionEvent event(this, int(selectionStart()), int(selectionEnd()));
        event.setCursorPosition(int(m_pos));
        QAccessible::updateAccessibility(&event);
    }
}

void MemoView::setCaret(qsizetype anchor, qsizetype pos)
{
    const qsizetype length = m_store.length();
    anchor = std::clamp<qsizetype>(anchor, 0, length);
    pos = std::clamp<qsizetype>(pos, 0, length);
    const qsizetype oldAnchor = m_anchor, oldPos = m_pos;
    if (pos != m_pos && !m_editing)
        m_store.breakUndoMerge();
    m_anchor = anchor;
    m_pos = pos;
    restartBlink();
    if (oldAnchor != oldPos || anchor != pos) { // a selection is or was shown
        viewport()->update();
    } else {
        updateLine(m_store.lineAt(oldPos));
        updateLine(m_store.lineAt(pos));
    }
    notifyCaretMoved(oldAnchor, oldPos);
    if (hasFocus() && (oldPos != m_pos || oldAnchor != m_anchor))
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle | Qt::ImCursorPosition |
                                               Qt::ImAnchorPosition | Qt::ImSurroundingText |
                                               Qt::ImCurrentSelection);
}

void MemoView::setSelection(qsizetype anchor, qsizetype pos)
{
    setCaret(anchor, pos);
    ensureCaretVisible();
}

void MemoView::selectAll()
{
    setCaret(0, m_store.length());
    updateSelectionClipboard();
}

void MemoView::replace(qsizetype pos, qsizetype removed, QStringView text)
{
    if (m_readOnly)
        return;
    const qsizetype length = m_store.length();
    pos = std::clamp<qsizetype>(pos, 0, length);
    removed = std::clamp<qsizetype>(removed, 0, length - pos);
    if (QAccessible::isActive() && removed > 0 && removed <= AccessibleEventLimit) {
        m_pendingRemoved = m_store.mid(pos, removed);
        m_pendingRemovedValid = true;
    }
    m_editing = true;
    m_store.replace(pos, removed, text);
    setCaret(pos + text.size(), pos + text.size());
    m_editing = false;
    m_desiredX = -1;
    // The row now; the column when the line is painted, laid out once.
    m_scrollColumnPending = true;
    scrollToPosition(m_pos, false);
    updateLine(m_store.lineAt(m_pos));
}

void MemoView::insertText(QStringView text)
{
    replace(selectionStart(), selectionEnd() - selectionStart(), text);
}

void MemoView::undo()
{
    if (m_readOnly)
        return;
    m_editing = true;
    const qsizetype caret = m_store.undo();
    if (caret >= 0)
        setCaret(caret, caret);
    m_editing = false;
    m_store.breakUndoMerge();
    ensureCaretVisible();
}

void MemoView::redo()
{
    if (m_readOnly)
        return;
    m_editing = true;
    const qsizetype caret = m_store.redo();
    if (caret >= 0)
        setCaret(caret, caret);
    m_editing = false;
    m_store.breakUndoMerge();
    ensureCaretVisible();
}

void MemoView::copy() const
{
    if (hasSelection())
        QGuiApplication::clipboard()->setText(selectedText());
}

void MemoView::cut()
{
    if (m_readOnly || !hasSelection())
        return;
    copy();
    insertText({});
}

void MemoView::paste()
{
    if (m_readOnly)
        return;
    insertFromMimeData(QGuiApplication::clipboard()->mimeData());
}

void MemoView::insertFromMimeData(const QMimeData *data)
{
    // All of the clipboard's text, every code unit as it is.
    if (!data || !data->hasText() || m_readOnly)
        return;
    m_store.breakUndoMerge();
    insertText(data->text());
    m_store.breakUndoMerge();
}

void MemoView::updateSelectionClipboard() const
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (hasSelection() && clipboard->supportsSelection())
        clipboard->setText(selectedText(), QClipboard::Selection);
}

void MemoView::setReadOnly(bool on)
{
    m_readOnly = on;
    setAttribute(Qt::WA_InputMethodEnabled, !on);
    if (QAccessible::isActive()) {
        QAccessible::State changed;
        changed.readOnly = true;
        changed.editable = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
}

void MemoView::setWordWrap(bool on)
{
    if (on == m_wrap)
        return;
    m_wrap = on;
    invalidateLayouts();
    m_top.sub = 0;
    if (on)
        horizontalScrollBar()->setValue(0);
    updateScrollBars();
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
        const qsizetype line = m_store.lineAt(pos);
        QTextLayout *layout = layoutFor(line);
        const qsizetype column = pos - m_store.lineStart(line);
        const QTextLine tl = layout->lineAt(0);
        const int x = int(tl.cursorToX(int(column) + preeditShift(line, column) +
                                       (pos == m_pos ? m_preeditCursor : 0)));
        if (m_widthGrew)
            updateHorizontalBar();
        QScrollBar *bar = horizontalScrollBar();
        const int width = viewport()->width() - 2 * m_margin - 2;
        if (x < bar->value())
            bar->setValue(std::max(0, x - width / 4));
        else if (x > bar->value() + width)
            bar->setValue(x - width + width / 4);
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
    if (column >= MaxLaidOut - 1) // past what is laid out: by code points
        return pos + (QChar::isHighSurrogate(m_store.at(pos)) &&
                              QChar::isLowSurrogate(m_store.at(pos + 1))
                          ? 2
                          : 1);
    QTextLayout *layout = layoutFor(line);
    const int next = layout->nextCursorPosition(int(column), word ? QTextLayout::SkipWords
                                                                  : QTextLayout::SkipCharacters);
    return ls + std::min<qsizetype>(next, m_store.lineLength(line));
}

qsizetype MemoView::previousCursor(qsizetype pos, bool word) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype column = pos - ls;
    if (column == 0)
        return std::max<qsizetype>(0, pos - 1);
    if (column > MaxLaidOut)
        return pos - (column >= 2 && QChar::isLowSurrogate(m_store.at(pos - 1)) &&
                              QChar::isHighSurrogate(m_store.at(pos - 2))
                          ? 2
                          : 1);
    QTextLayout *layout = layoutFor(line);
    return ls + layout->previousCursorPosition(int(column), word ? QTextLayout::SkipWords
                                                                 : QTextLayout::SkipCharacters);
}

qsizetype MemoView::rowStart(qsizetype pos) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    if (!m_wrap)
        return ls;
    const QTextLine tl = layoutFor(line)->lineForTextPosition(int(pos - ls));
    return tl.isValid() ? ls + tl.textStart() : ls;
}

qsizetype MemoView::rowEnd(qsizetype pos) const
{
    const qsizetype line = m_store.lineAt(pos);
    const qsizetype ls = m_store.lineStart(line);
    const qsizetype length = m_store.lineLength(line);
    if (!m_wrap)
        return ls + length;
    QTextLayout *layout = layoutFor(line);
    const QTextLine tl = layout->lineForTextPosition(int(pos - ls));
    if (!tl.isValid() || tl.lineNumber() == layout->lineCount() - 1)
        return ls + length;
    return ls + layout->previousCursorPosition(tl.textStart() + tl.textLength());
}

qsizetype MemoView::verticalMove(qsizetype pos, qsizetype rows)
{
    const Row from = rowOf(pos);
    if (m_desiredX < 0)
        m_desiredX = cursorPoint(pos).x();
    const Row to = advance(from, rows);
    // On the first or the last row the caret goes to the start or the end.
    if (to.line == from.line && to.sub == from.sub)
        return rows > 0 ? m_store.length() : 0;
    QTextLayout *layout = layoutFor(to.line);
    const QTextLine tl = layout->lineAt(std::min(to.sub, layout->lineCount() - 1));
    int column = tl.xToCursor(m_desiredX, QTextLine::CursorBetweenCharacters);
    if (m_wrap && to.sub < layout->lineCount() - 1 && column >= tl.textStart() + tl.textLength())
        column = layout->previousCursorPosition(tl.textStart() + tl.textLength());
    const qsizetype ls = m_store.lineStart(to.line);
    return ls + std::clamp<qsizetype>(column, 0, m_store.lineLength(to.line));
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
        invalidateLayouts();
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
        m_measuredUnits = m_measuredWidth = 0;
        m_widest = 0;
        invalidateLayouts();
        m_top.sub = 0;
        updateScrollBars();
        viewport()->update();
    } else if (e->type() == QEvent::PaletteChange || e->type() == QEvent::EnabledChange) {
        viewport()->update();
    }
    if (e)
        QAbstractScrollArea::changeEvent(e);
}

void MemoView::paintEvent(QPaintEvent *e)
{
    if (m_scrollColumnPending)
        scrollToPosition(m_pos, true);
    QPainter p(viewport());
    const QPalette pal = palette();
    p.fillRect(e->rect(), pal.brush(QPalette::Base));
    const QColor textColor =
        pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text);
    p.setPen(textColor);
    const qsizetype s = selectionStart(), t = selectionEnd();
    const qreal x0 = m_margin - horizontalScrollBar()->value();
    qreal y = m_margin - m_top.sub * m_rowHeight;
    const int height = std::min(viewport()->height(), e->rect().bottom() + 1);
    const qsizetype caretLine = m_store.lineAt(m_pos);
    qsizetype first = m_top.line;
    if (!m_wrap) { // the rows above the area to paint are passed over
        const qsizetype above =
            std::max<qsizetype>(0, qsizetype(std::floor((e->rect().top() - y) / m_rowHeight)));
        first = std::min(m_top.line + above, m_lineCount - 1);
        y += qreal(first - m_top.line) * m_rowHeight;
    }
    const qreal breakWidth = QFontMetricsF(font()).horizontalAdvance(u' ');
    QTextCharFormat selected;
    selected.setBackground(pal.brush(QPalette::Highlight));
    selected.setForeground(pal.brush(QPalette::HighlightedText));
    qsizetype ls = m_store.lineStart(first);
    for (qsizetype line = first; line < m_lineCount && y < height; ++line) {
        QTextLayout *layout = layoutFor(line);
        const qsizetype len = m_store.lineLength(line);
        const QPointF origin(x0, y);
        QList<QTextLayout::FormatRange> selections;
        if (t > ls && s <= ls + len && s != t) {
            const qsizetype a = std::max(s, ls) - ls, b = std::min(t, ls + len) - ls;
            if (b > a) {
                QTextLayout::FormatRange range;
                range.start = int(a) + preeditShift(line, a);
                range.length = int(b - a);
                range.format = selected;
                selections.append(range);
            }
            if (t > ls + len && line + 1 < m_lineCount) { // the line break
                const QTextLine last = layout->lineAt(layout->lineCount() - 1);
                p.fillRect(QRectF(origin.x() + last.naturalTextWidth(),
                                  origin.y() + last.lineNumber() * m_rowHeight, breakWidth,
                                  m_rowHeight),
                           pal.brush(QPalette::Highlight));
            }
        }
        layout->draw(&p, origin, selections, QRectF(e->rect()));
        if (line == caretLine && hasFocus() && m_caretShown) {
            const qsizetype column = m_pos - ls;
            int at = int(column) + preeditShift(line, column);
            if (line == m_preeditLine && !m_preedit.isEmpty())
                at += m_preeditCursor;
            p.setPen(textColor);
            layout->drawCursor(&p, origin, at, 2);
        }
        y += (m_wrap ? layout->lineCount() : 1) * m_rowHeight;
        ls += len + 1;
    }
    if (m_dropPos >= 0) {
        const qsizetype line = m_store.lineAt(m_dropPos);
        const QPointF origin = lineOrigin(line);
        const QPointF at = cursorPoint(m_dropPos);
        p.fillRect(QRectF(origin.x() + at.x(), origin.y() + at.y(), 2, m_rowHeight), textColor);
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
    const qsizetype oldLine = m_preeditLine;
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
    if (oldLine >= 0)
        m_layouts.erase(oldLine);
    if (m_preedit.isEmpty()) {
        m_preeditLine = -1;
    } else {
        m_preeditLine = m_store.lineAt(m_pos);
        m_preeditColumn = int(m_pos - m_store.lineStart(m_preeditLine));
        m_layouts.erase(m_preeditLine);
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
