#include "find/document_search.h"

#include "app/text_store.h"
#include "find/stream_search.h"

#include <QTextDocument>
#include <private/qtextdocument_p.h>

#include <algorithm>
#include <vector>

namespace {

// The rare needle that spans a line break: the text after `from`, breaks as line feeds.
qsizetype findAcrossLines(const QTextDocument *document, qsizetype from, QStringView needle)
{
    QString text = document->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return QStringView(text).sliced(from).indexOf(needle);
}

} // namespace

qsizetype findInDocument(const QTextDocument *document, qsizetype from, QStringView needle)
{
    const QTextDocumentPrivate *priv = QTextDocumentPrivate::get(document);
    const auto &map = priv->fragmentMap();
    // The document's last unit is the separator closing the last block, not text.
    const qsizetype end = qsizetype(priv->length()) - 1;
    if (from < 0 || from > end)
        return -1;
    if (needle.isEmpty())
        return 0;
    // Line breaks read as line feeds, so a paragraph separator in the needle
    // matches nothing. A needle without breaks never matches at a break, whichever
    // of the two break units the buffer holds there.
    if (needle.contains(QChar::ParagraphSeparator))
        return -1;
    if (needle.contains(u'\n'))
        return findAcrossLines(document, from, needle);

    const QString bufferText = priv->buffer(); // shared, not copied
    const QStringView buffer(bufferText);
    StreamSearch search(needle);
    const char16_t *data = buffer.utf16();
    qsizetype runStart = -1; // buffer span of the fragments read so far as one run
    qsizetype runLength = 0;
    // A loaded document keeps its text in one piece of the buffer with each line
    // break's unit in place, while the block separator refers to a copy stored
    // elsewhere. Such a separator continues the run as a break at its position
    // (without reading the unit in place, which would cost a pass over the text),
    // so the whole document is searched as one run.
    std::vector<qsizetype> breaks;
    qsizetype pos = from;
    uint node = map.findNode(int(from));
    qsizetype offset = from - map.position(node);
    while (node && pos < end) {
        const auto *fragment = map.fragment(node);
        const qsizetype size = std::min<qsizetype>(fragment->size_array[0] - offset, end - pos);
        const qsizetype bufferPos = fragment->stringPosition + offset;
        const qsizetype runEnd = runStart + runLength;
        if (runStart >= 0 && bufferPos == runEnd) {
            runLength += size;
        } else if (runStart >= 0 && size == 1 && data[bufferPos] == 0x2029 &&
                   runEnd < buffer.size()) {
            breaks.push_back(runLength);
            runLength += 1;
        } else {
            if (runStart >= 0) {
                const qsizetype at = search.feed(buffer.sliced(runStart, runLength), breaks);
                if (at >= 0)
                    return at;
            }
            runStart = bufferPos;
            runLength = size;
            breaks.clear();
        }
        pos += size;
        offset = 0;
        node = map.next(node);
    }
    if (runStart >= 0)
        return search.feed(buffer.sliced(runStart, runLength), breaks);
    return -1;
}

qsizetype findInStore(const TextStore &store, qsizetype from, QStringView needle)
{
    if (from < 0 || from > store.length())
        return -1;
    const qsizetype at = store.indexOf(needle, from);
    return at < 0 ? -1 : at - from;
}
