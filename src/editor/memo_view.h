// The main editor: a view of a Document it is given (and does not own) that lays
// out only what it shows (a long line only in the pieces on screen), and keeps
// every code unit of the document's store. Its parts: memo_view.cpp (store
// changes, caret, selection, edits), memo_view_layout.cpp (pieces, rows, geometry, painting),
// memo_view_input.cpp (keys, mouse, scrolling, input method, drag and drop),
// memo_view_accessible.cpp.
#pragma once

#include "document/document.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPoint>
#include <QTextLayout>

#include <memory>
#include <unordered_map>
#include <vector>

class QMimeData;
class QPainter;

class MemoView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // Shows `document`, which must outlive the view.
    explicit MemoView(Document &document, QWidget *parent = nullptr);
    ~MemoView() override;

    Document &document() { return m_document; }
    const Document &document() const { return m_document; }
    // Words are looked for this far around a position.
    static constexpr qsizetype WordWindow = 2048;

    TextStore &store() { return m_store; }
    const TextStore &store() const { return m_store; }

    // ---- Caret and selection (code units; a line break is one) ---------------
    qsizetype cursorPosition() const { return m_pos; }
    qsizetype anchorPosition() const { return m_anchor; }
    qsizetype selectionStart() const { return std::min(m_pos, m_anchor); }
    qsizetype selectionEnd() const { return std::max(m_pos, m_anchor); }
    bool hasSelection() const { return m_pos != m_anchor; }
    QString selectedText() const;
    // Selects from `anchor` to `pos` (clamped), the caret at `pos`, and scrolls
    // the caret into view. A caret that jumps starts a new undo step.
    void setSelection(qsizetype anchor, qsizetype pos);
    void setCursorPosition(qsizetype pos) { setSelection(pos, pos); }
    void selectAll();

    // ---- Editing ----------------------------------------------------------
    // Replaces `removed` units at `pos` with `text` (one store edit), the caret
    // behind the new text; refused when read-only.
    void replace(qsizetype pos, qsizetype removed, QStringView text);
    // Replaces the selection (inserts at the caret when there is none).
    void insertText(QStringView text);
    void undo();
    void redo();
    void cut();
    // The span the program's own input method is still composing: drawn
    // underlined until a caret move or any change of the text drops it.
    void setComposition(qsizetype pos, qsizetype length);
    qsizetype compositionStart() const { return m_compositionPos; }
    qsizetype compositionLength() const { return m_compositionLength; }
    void copy() const;
    void paste();

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    bool wordWrap() const { return m_wrap; }
    // Lines wrap at the view's width, anywhere, when on; a change is announced
    // through wordWrapChanged.
    void setWordWrap(bool on);

    // Scrolls so that the caret's row and column are seen.
    void ensureCaretVisible();
    // Scrolls to the start of the document.
    void scrollToTop();
    // Scrolls so that the character at `pos` is seen, the caret staying.
    void scrollToPosition(qsizetype pos);

    // ---- Geometry (viewport coordinates) ------------------------------------
    // The rectangle of the character at `pos` on its real row, also off screen.
    QRect characterRect(qsizetype pos) const;
    QRect caretRect() const;
    // The caret position nearest to `point`.
    qsizetype positionAt(const QPoint &point) const;
    int rowHeight() const { return m_rowHeight; }
    // The first line shown and its first row shown.
    qsizetype topLine() const { return m_top.line; }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    // Word wrap was turned on or off (by a command, or for a while by a save).
    void wordWrapChanged(bool on);

protected:
    void scrollToPosition(qsizetype pos, bool column);
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void timerEvent(QTimerEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // A row on screen: with word wrap off a line, with it on one wrapped row of
    // one piece of a line.
    struct Row
    {
        qsizetype line = 0;
        int piece = 0; // piece of a long line (always 0 with word wrap off)
        int sub = 0;   // wrapped row inside the piece
    };
    // A part of a line laid out on its own: a long line is cut at grapheme
    // boundaries into pieces of a few thousand units, each laid out only when
    // shown; a short line is one piece.
    struct Piece
    {
        qsizetype start = 0; // first unit, counted from the line's start
        qsizetype length = 0;
        std::unique_ptr<QTextLayout> layout;
        qreal width = -1; // natural width once laid out (kept when the layout goes)
        int rows = -1;    // wrapped rows once laid out (kept when the layout goes)
        quint64 used = 0;
    };
    struct LineLayout
    {
        std::vector<Piece> pieces;
        // Before each piece, then in all: x with word wrap off, rows with it on;
        // pieces not laid out yet count with `advance`.
        std::vector<double> before;
        std::size_t sumsValid = 0; // entries of `before` still right
        // The advance per unit this line estimates with, kept for its life so
        // that what is shown does not move when other lines are measured.
        double advance = 8;
        bool estimated = false; // `advance` taken from the first piece
        int laidOut = 0;
        quint64 used = 0;
    };

    void onStoreChanged(qsizetype pos, qsizetype removed, qsizetype added);
    void invalidateLayouts();
    // Drops every layout and measure but keeps where lines are cut into pieces
    // (which depends on the text only): for a new width, font or wrap mode.
    void forgetLayouts();
    // Asks for the repaint of the rows of `line` (of everything with word wrap on,
    // where an edit may change the rows of the lines below).
    void updateLine(qsizetype line);

    // ---- Pieces (memo_view_layout.cpp) ----
    LineLayout &lineLayout(qsizetype line) const;
    void estimateLine(qsizetype line, LineLayout &ll) const;
    QTextLayout *pieceLayout(qsizetype line, LineLayout &ll, int k) const;
    void cutPieces(qsizetype lineStart, qsizetype from, qsizetype to,
                   std::vector<Piece> &out) const;
    bool isPieceCut(qsizetype lineStart, qsizetype lineLength, qsizetype column) const;
    // Follows an edit inside one line: the pieces it touched are cut again, the
    // others keep their layouts. Returns the change of the piece count and sets
    // `firstChanged` to the first piece cut again.
    int reshapeLine(qsizetype line, qsizetype column, qsizetype removed, qsizetype added,
                    int *firstChanged);
    void dropPieceAt(qsizetype line, qsizetype column);
    static int pieceAt(const LineLayout &ll, qsizetype column);
    const std::vector<double> &sums(LineLayout &ll) const;
    int pieceCount(qsizetype line) const;
    int rowsOfPiece(qsizetype line, int piece) const;
    // The place of `column` in the layout of its piece (the preedit counted in;
    // `caret`: at the caret, inside the preedit).
    int localPos(qsizetype line, const LineLayout &ll, int k, qsizetype column, bool caret) const;
    // The piece's top-left corner in viewport coordinates.
    QPointF pieceOrigin(qsizetype line, LineLayout &ll, int k) const;
    // Lays out the pieces of `line` seen with word wrap off at the current scroll.
    void settleShown(qsizetype line) const;
    // The line's column nearest to `x` (content coordinates) on `row`.
    qsizetype columnAt(Row row, qreal x) const;
    QPointF caretPoint(qsizetype pos, bool caret) const;
    void paintPiece(QPainter &p, qsizetype line, qsizetype ls, LineLayout &ll, int k,
                    const QPointF &origin, const QRect &exposed) const;

    Row advance(Row row, qsizetype rows) const;
    Row lastTop() const;
    static bool before(const Row &a, const Row &b);
    int visibleRows() const;
    qreal textWidth() const;
    double estimatedRowsBefore(qsizetype line) const;
    double estimatedTotalRows() const;
    double pieceRowsBefore(qsizetype line, int piece) const;
    void updateScrollBars();
    void syncVerticalBar();
    void setTop(Row top);
    // Rows from the top row to `row`: exact on and near the screen, estimated beyond.
    double rowOffset(Row row) const;
    Row rowOf(qsizetype pos) const;

    qsizetype nextCursor(qsizetype pos, bool word) const;
    qsizetype previousCursor(qsizetype pos, bool word) const;
    qsizetype verticalMove(qsizetype pos, qsizetype rows);
    qsizetype rowStart(qsizetype pos) const;
    qsizetype rowEnd(qsizetype pos) const;
    void wordAt(qsizetype pos, qsizetype *start, qsizetype *end) const;
    void moveCaret(qsizetype pos, bool select, bool keepX = false);
    void updateSelectionClipboard() const;
    void insertFromMimeData(const QMimeData *data);
    void restartBlink();
    void notifyCaretMoved(qsizetype oldAnchor, qsizetype oldPos);
    void setCaret(qsizetype anchor, qsizetype pos);
    void updateHorizontalBar();
    Row rowAtEstimate(double value) const;

    Document &m_document;
    TextStore &m_store; // the document's
    qsizetype m_pos = 0;
    qsizetype m_anchor = 0;
    qsizetype m_lineCount = 1;
    bool m_wrap = false;
    bool m_readOnly = false;
    Row m_top;
    int m_lastBarValue = 0;
    bool m_syncingBar = false;
    int m_rowHeight = 16;
    int m_ascent = 12;
    qreal m_spaceWidth = 4; // what a line break takes when selected
    const int m_margin = 4;
    mutable qreal m_widest = 0; // widest line laid out so far
    mutable bool m_widthGrew = false;
    mutable double m_advance = 8;       // measured average advance per code unit
    mutable double m_measuredUnits = 0; // units behind m_advance
    mutable double m_measuredWidth = 0;
    double m_advanceOfRange = 8; // the advance the vertical range was estimated with
    bool m_editing = false;
    qsizetype m_compositionPos = 0;
    qsizetype m_compositionLength = 0;
    bool m_scrollColumnPending = false; // the caret's column is to be scrolled into view // inside
                                        // an edit of ours: the caret follows it
    qreal m_desiredX = -1;              // kept over vertical moves (content x)
    mutable std::unordered_map<qsizetype, LineLayout> m_lines;
    mutable quint64 m_layoutClock = 0;
    qreal m_layoutWidth = -1;

    QString m_preedit;
    int m_preeditCursor = 0;
    qsizetype m_preeditLine = -1;
    qsizetype m_preeditColumn = 0;
    QList<QTextLayout::FormatRange> m_preeditFormats;
    QBasicTimer m_blink;
    bool m_caretShown = true;

    // Mouse
    QBasicTimer m_autoScroll;
    QPoint m_lastMouse;
    QPoint m_pressPoint;
    bool m_selecting = false;
    bool m_maybeDrag = false;
    int m_clickUnit = 0; // 0 characters, 1 words, 2 lines
    qsizetype m_clickStart = 0, m_clickEnd = 0;
    QBasicTimer m_tripleClick;
    QPoint m_tripleClickPoint;
    qsizetype m_dropPos = -1;
    bool m_dragging = false;
    QString m_pendingRemoved; // for the accessibility event of an edit of ours
    bool m_pendingRemovedValid = false;
};
