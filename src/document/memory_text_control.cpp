#include "document/memory_text_control.h"

#include <algorithm>

void MemoryTextControl::setText(QStringView text)
{
    const qsizetype removed = m_text.size();
    m_text = text.toString();
    m_start = 0;
    m_length = 0;
    dropComposition();
    notifyChange(0, removed, m_text.size());
}

char16_t MemoryTextControl::charAt(qsizetype pos) const
{
    if (pos < 0 || pos >= m_text.size())
        return u'\0';
    return m_text.at(pos).unicode();
}

void MemoryTextControl::setSelStart(qsizetype pos)
{
    m_start = std::clamp<qsizetype>(pos, 0, m_text.size());
    m_length = 0;
    dropComposition();
}

void MemoryTextControl::setSelLength(qsizetype len)
{
    m_length = std::clamp<qsizetype>(len, 0, m_text.size() - m_start);
    if (m_length > 0)
        dropComposition();
}

void MemoryTextControl::replaceSelection(QStringView text)
{
    if (m_readOnly)
        return;
    m_text.replace(m_start, m_length, text.toString());
    const qsizetype pos = m_start, removed = m_length;
    m_start += text.size();
    m_length = 0;
    dropComposition();
    notifyChange(pos, removed, text.size());
}

void MemoryTextControl::selectAll()
{
    m_start = 0;
    m_length = m_text.size();
    dropComposition();
}

int MemoryTextControl::caretLine() const
{
    const qsizetype caret = m_start + m_length;
    return int(QStringView(m_text).left(caret).count(u'\n'));
}

int MemoryTextControl::caretColumn() const
{
    const qsizetype caret = m_start + m_length;
    if (caret == 0)
        return 0;
    const qsizetype lineStart = m_text.lastIndexOf(u'\n', caret - 1) + 1;
    return int(caret - lineStart);
}
