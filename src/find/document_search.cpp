#include "find/document_search.h"

#include "find/stream_search.h"

#include <QTextDocument>
#include <private/qtextdocument_p.h>

#include <algorithm>

qsizetype findInDocument(const QTextDocument *document, qsizetype from, QStringView needle)
{
    // Line breaks sit in the piece table as paragraph separators; the text the
    // editor hands out reads them as line feeds, so a separator typed into the
    // needle matches nothing and a line feed matches a break.
    if (needle.contains(QChar::ParagraphSeparator))
        return -1;
    QString pattern = needle.toString();
    pattern.replace(u'\n', QChar::ParagraphSeparator);

    const QTextDocumentPrivate *priv = QTextDocumentPrivate::get(document);
    const auto &map = priv->fragmentMap();
    // The document's last unit is the separator closing the last block, not text.
    const qsizetype end = qsizetype(priv->length()) - 1;
    if (from < 0 || from > end)
        return -1;
    if (pattern.isEmpty())
        return 0;

    const QString buffer = priv->buffer(); // shared, not copied
    StreamSearch search(pattern);
    qsizetype runStart = -1; // buffer span of fragments that lie side by side
    qsizetype runLength = 0;
    qsizetype pos = from;
    uint node = map.findNode(int(from));
    qsizetype offset = from - map.position(node);
    while (node && pos < end) {
        const auto *fragment = map.fragment(node);
        const qsizetype size = std::min<qsizetype>(fragment->size_array[0] - offset, end - pos);
        const qsizetype bufferPos = fragment->stringPosition + offset;
        if (runStart >= 0 && runStart + runLength == bufferPos) {
            runLength += size;
        } else {
            if (runStart >= 0) {
                const qsizetype at = search.feed(QStringView(buffer).sliced(runStart, runLength));
                if (at >= 0)
                    return at;
            }
            runStart = bufferPos;
            runLength = size;
        }
        pos += size;
        offset = 0;
        node = map.next(node);
    }
    if (runStart >= 0)
        return search.feed(QStringView(buffer).sliced(runStart, runLength));
    return -1;
}
