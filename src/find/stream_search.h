// Forward search for one string over text that arrives in pieces (the runs of the
// editor's piece table), so the document never has to be copied to be searched.
#pragma once

#include <QString>
#include <QStringView>

#include <vector>

class StreamSearch
{
public:
    // `needle` must outlive the search. An empty needle is found at offset 0.
    explicit StreamSearch(QStringView needle) : m_needle(needle) {}

    // Feeds the next piece of the text. Returns the offset of the first occurrence,
    // counted from the start of the first piece, or -1 while none has been seen.
    // Code units are compared exactly: case-sensitive, no normalisation.
    // `breaks` (ascending) are positions in `piece` that hold a line break whatever
    // unit the piece shows there; a needle without line breaks never matches across
    // them.
    qsizetype feed(QStringView piece, const std::vector<qsizetype> &breaks = {});

private:
    QStringView m_needle;
    QString m_tail;           // the last needle-1 units fed so far, breaks marked
    qsizetype m_consumed = 0; // units fed so far
};
