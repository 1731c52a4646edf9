// Accessibility of MemoView: what a screen reader or magnifier reads of Memo1
// (text, caret, selection, the rectangle of every unit as drawn, the unit at a
// point) and the edits it may make, on Qt's public accessibility interfaces.
#include "editor/memo_view_accessible.h"

#include "editor/memo_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QFontInfo>
#include <QTextBoundaryFinder>

#include <algorithm>

namespace {

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
            const qsizetype ws = std::max(ls, offset - MemoView::WordWindow);
            const qsizetype we = std::min(ls + ll, offset + MemoView::WordWindow);
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

void installMemoViewAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(memoViewAccessibleFactory);
        return true;
    }();
    Q_UNUSED(installed);
}
