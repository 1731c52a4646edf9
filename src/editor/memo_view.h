// The main editor: a view of a Document it is given (and does not own) that lays
// out only the lines it shows, one QTextLayout per line, and keeps every code
// unit of the document's store.
#pragma once

#include "document/document.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QPoint>
#include <QTextLayout>

#include <memory>
#include <unordered_map>

class QMimeData;

class MemoView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    // Shows `document`, which must outlive the view.
    explicit MemoView(Document &document, QWidget *parent = nullptr);
    ~MemoView() override;

    Document &document() { return m_document; }
    const Document &document() const { return m_document; }
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
    void copy() const;
    void paste();

    bool isReadOnly() const { return m_readOnly; }
    void setReadOnly(bool on);
    bool wordWrap() const { return m_wrap; }
    // Lines wrap at the view's width, anywhere, when on.
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
    struct Row
    {
        qsizetype line = 0;
        int sub = 0; // wrapped row inside the line
    };
    struct CachedLayout
    {
        std::unique_ptr<QTextLayout> layout;
        quint64 used = 0;
    };

    void onStoreChanged(qsizetype pos, qsizetype removed, qsizetype added);
    void invalidateLayouts();
    // Asks for the repaint of the rows of `line` (of everything with word wrap on,
    // where an edit may change the rows of the lines below).
    void updateLine(qsizetype line);
    QTextLayout *layoutFor(qsizetype line) const;
    int rowsOf(qsizetype line) const;
    Row advance(Row row, qsizetype rows) const;
    Row lastTop() const;
    int visibleRows() const;
    qreal textWidth() const;
    double estimatedRowsBefore(qsizetype line) const;
    double estimatedTotalRows() const;
    void updateScrollBars();
    void syncVerticalBar();
    void setTop(Row top);
    // Rows from the top row to `row`: exact on and near the screen, estimated beyond.
    double rowOffset(Row row) const;
    Row rowOf(qsizetype pos) const;
    QPointF lineOrigin(qsizetype line) const;
    int preeditShift(qsizetype line, qsizetype column) const;

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
    QPointF cursorPoint(qsizetype pos) const;

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
    const int m_margin = 4;
    mutable qreal m_widest = 0; // widest line laid out so far
    mutable bool m_widthGrew = false;
    mutable double m_advance = 8;       // measured average advance per code unit
    mutable double m_measuredUnits = 0; // units behind m_advance
    mutable double m_measuredWidth = 0;
    double m_advanceOfRange = 8; // the advance the vertical range was estimated with
    bool m_editing = false;
    bool m_scrollColumnPending = false; // the caret's column is to be scrolled into view // inside
                                        // an edit of ours: the caret follows it
    qreal m_desiredX = -1;              // kept over vertical moves
    mutable std::unordered_map<qsizetype, CachedLayout> m_layouts;
    mutable quint64 m_layoutClock = 0;
    qreal m_layoutWidth = -1;

    QString m_preedit;
    int m_preeditCursor = 0;
    qsizetype m_preeditLine = -1;
    int m_preeditColumn = 0;
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
