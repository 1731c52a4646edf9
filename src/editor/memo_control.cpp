#include "editor/memo_control.h"

#include "editor/memo_view.h"

#include <algorithm>

MemoControl::MemoControl(MemoView *view) : m_view(view)
{
    QObject::connect(&view->store(), &TextStore::changed, view,
                     [this](qsizetype pos, qsizetype removed, qsizetype added) {
                         notifyChange(pos, removed, added);
                     });
}

QString MemoControl::text() const
{
    return m_view->store().text();
}

void MemoControl::setText(QStringView text)
{
    m_view->store().setText(text);
    m_view->setCursorPosition(0);
    m_view->scrollToTop();
}

qsizetype MemoControl::length() const
{
    return m_view->store().length();
}

char16_t MemoControl::charAt(qsizetype pos) const
{
    return m_view->store().at(pos);
}

qsizetype MemoControl::selStart() const
{
    return m_view->selectionStart();
}

qsizetype MemoControl::selLength() const
{
    return m_view->selectionEnd() - m_view->selectionStart();
}

void MemoControl::setSelStart(qsizetype pos)
{
    m_view->setCursorPosition(pos);
}

void MemoControl::setSelLength(qsizetype len)
{
    const qsizetype start = m_view->selectionStart();
    m_view->setSelection(start, std::clamp<qsizetype>(start + len, start, length()));
}

QString MemoControl::selText() const
{
    return m_view->selectedText();
}

void MemoControl::replaceSelection(QStringView text)
{
    m_view->insertText(text);
}

void MemoControl::replaceRange(qsizetype pos, qsizetype len, QStringView text)
{
    if (m_view->isReadOnly()) {
        TextControl::replaceRange(pos, len, text); // selects the range, writes nothing
        return;
    }
    m_view->replace(pos, len, text);
}

void MemoControl::selectAll()
{
    m_view->selectAll();
}

void MemoControl::deselect()
{
    m_view->setCursorPosition(m_view->selectionStart());
}

TextControl::Span MemoControl::composition() const
{
    return {m_view->compositionStart(), m_view->compositionLength()};
}

void MemoControl::setComposition(Span span)
{
    m_view->setComposition(span.pos, span.length);
}

void MemoControl::setTypingWord(bool on)
{
    m_view->store().setTypingWord(on);
}

int MemoControl::caretLine() const
{
    return int(m_view->store().lineAt(m_view->cursorPosition()));
}

int MemoControl::caretColumn() const
{
    const TextStore &store = m_view->store();
    const qsizetype pos = m_view->cursorPosition();
    return int(pos - store.lineStart(store.lineAt(pos)));
}

bool MemoControl::isReadOnly() const
{
    return m_view->isReadOnly();
}

void MemoControl::setReadOnly(bool on)
{
    m_view->setReadOnly(on);
}

bool MemoControl::isVisible() const
{
    return !m_view->isHidden();
}

void MemoControl::setVisible(bool on)
{
    m_view->setVisible(on);
}

bool MemoControl::isEnabled() const
{
    return m_view->isEnabled();
}

void MemoControl::setEnabled(bool on)
{
    m_view->setEnabled(on);
}

bool MemoControl::wordWrap() const
{
    return m_view->wordWrap();
}

void MemoControl::setWordWrap(bool on)
{
    m_view->setWordWrap(on);
}

bool MemoControl::hasFocus() const
{
    return m_view->hasFocus();
}

void MemoControl::setFocus()
{
    m_view->setFocus();
}
