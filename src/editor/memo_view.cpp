// MemoView's core: construction, following the store's changes, the caret and
// the selection, edits, undo and the clipboard. Layout and painting, input and
// scrolling, and accessibility live in the other memo_view_*.cpp files.
#include "editor/memo_view.h"

#include "editor/memo_view_accessible.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QInputMethod>
#include <QMimeData>
#include <QScrollBar>

#include <algorithm>

namespace {

// Edits larger than this send no accessible text event.
constexpr qsizetype AccessibleEventLimit = qsizetype(1) << 20;

} // namespace

// ---- Construction -----------------------------------------------------------

MemoView::MemoView(Document &document, QWidget *parent)
    : QAbstractScrollArea(parent), m_document(document), m_store(document.store())
{
    installMemoViewAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAutoFillBackground(false);
    // The view paints every pixel it is asked for: nothing behind it is painted.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setBackgroundRole(QPalette::Base);
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(1);
    connect(&m_store, &TextStore::changed, this, &MemoView::onStoreChanged);
    // The document may hold text already.
    m_lineCount = m_store.lineCount();
    changeEvent(nullptr); // font metrics
}

MemoView::~MemoView() = default;

// ---- Store changes ----------------------------------------------------------

void MemoView::onStoreChanged(qsizetype pos, qsizetype removed, qsizetype added)
{
    m_compositionLength = 0; // the composer sets it again after its own edit
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
            // The pieces the edit touched are cut again; the top row keeps its
            // piece when that piece stays.
            int firstChanged = 0;
            const int pieceDelta = reshapeLine(firstLine, pos - m_store.lineStart(firstLine),
                                               removed, added, &firstChanged);
            if (m_top.line == firstLine && m_top.piece > firstChanged)
                m_top.piece = std::max(firstChanged, m_top.piece + pieceDelta);
        } else {
            std::unordered_map<qsizetype, LineLayout> kept;
            for (auto &e : m_lines) {
                if (e.first < firstLine) {
                    kept.emplace(e.first, std::move(e.second));
                } else if (addedBreaks >= 0 && e.first > firstLine + addedBreaks - lineDelta) {
                    kept.emplace(e.first + lineDelta, std::move(e.second));
                }
            }
            m_lines.swap(kept);
        }
        if (lineDelta != 0 && firstLine < m_top.line) {
            m_top.line = std::max(firstLine, m_top.line + lineDelta);
            m_top.piece = m_top.sub = 0;
        }
        m_top.line = std::min(m_top.line, m_lineCount - 1);
        if (m_wrap && m_top.line == firstLine && !inLine)
            m_top.piece = m_top.sub = 0;
    }
    if (m_preeditLine >= 0) {
        m_preeditLine = m_store.lineAt(m_pos);
        m_preeditColumn = m_pos - m_store.lineStart(m_preeditLine);
    }
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
    if (m_compositionLength > 0 && (pos != m_pos || anchor != m_anchor)) {
        m_compositionLength = 0;
        updateLine(m_store.lineAt(m_compositionPos));
    }
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

void MemoView::setComposition(qsizetype pos, qsizetype length)
{
    if (m_compositionLength > 0)
        updateLine(m_store.lineAt(m_compositionPos));
    if (length <= 0)
        m_store.breakUndoMerge(); // the word ends here
    m_compositionPos = std::clamp<qsizetype>(pos, 0, m_store.length());
    m_compositionLength = std::clamp<qsizetype>(length, 0, m_store.length() - m_compositionPos);
    if (m_compositionLength > 0)
        updateLine(m_store.lineAt(m_compositionPos));
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
    forgetLayouts();
    m_top.piece = m_top.sub = 0;
    if (on)
        horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
    emit wordWrapChanged(on);
}
