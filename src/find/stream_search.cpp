#include "find/stream_search.h"

#include <algorithm>

namespace {

constexpr QChar BreakMark = QChar::ParagraphSeparator;

// Marks the breaks that fall into [first, first + count) of the piece in `text`,
// where the piece's unit `first` sits at text index `at`.
void markBreaks(QString &text, qsizetype at, const std::vector<qsizetype> &breaks, qsizetype first,
                qsizetype count)
{
    for (auto it = std::lower_bound(breaks.begin(), breaks.end(), first);
         it != breaks.end() && *it < first + count; ++it)
        text[at + (*it - first)] = BreakMark;
}

} // namespace

qsizetype StreamSearch::feed(QStringView piece, const std::vector<qsizetype> &breaks)
{
    const qsizetype n = m_needle.size();
    if (n == 0)
        return 0;
    // An occurrence that begins in the earlier pieces and ends in this one: the
    // tail holds fewer units than the needle, so any match here straddles.
    if (!m_tail.isEmpty()) {
        QString joined = m_tail;
        const qsizetype head = std::min(piece.size(), n - 1);
        joined.append(piece.first(head));
        markBreaks(joined, m_tail.size(), breaks, 0, head);
        const qsizetype at = QStringView(joined).indexOf(m_needle);
        if (at >= 0)
            return m_consumed - m_tail.size() + at;
    }
    // Within the piece; a candidate over a break is skipped past that break.
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = piece.indexOf(m_needle, from);
        if (at < 0)
            break;
        const auto it = std::lower_bound(breaks.begin(), breaks.end(), at);
        if (it == breaks.end() || *it >= at + n)
            return m_consumed + at;
        from = *it + 1;
    }
    const qsizetype keep = std::min(piece.size(), n - 1);
    const qsizetype old = m_tail.size();
    m_tail.append(piece.last(keep));
    markBreaks(m_tail, old, breaks, piece.size() - keep, keep);
    m_tail = m_tail.right(n - 1);
    m_consumed += piece.size();
    return -1;
}
