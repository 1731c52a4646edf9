#include "find/stream_search.h"

qsizetype StreamSearch::feed(QStringView piece)
{
    const qsizetype n = m_needle.size();
    if (n == 0)
        return 0;
    // An occurrence that begins in the earlier pieces and ends in this one: the
    // tail holds fewer units than the needle, so any match here straddles.
    if (!m_tail.isEmpty()) {
        QString joined = m_tail;
        joined.append(piece.left(n - 1));
        const qsizetype at = QStringView(joined).indexOf(m_needle);
        if (at >= 0)
            return m_consumed - m_tail.size() + at;
    }
    const qsizetype at = piece.indexOf(m_needle);
    if (at >= 0)
        return m_consumed + at;
    if (piece.size() >= n - 1)
        m_tail = piece.last(n - 1).toString();
    else
        m_tail = m_tail.append(piece).right(n - 1);
    m_consumed += piece.size();
    return -1;
}
