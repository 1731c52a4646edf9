#include "find/document_search.h"

#include "find/stream_search.h"

#include <QTextDocument>
#include <private/qtextdocument_p.h>

#include <algorithm>

namespace {

// A fragment continues the run when its text follows the run in the buffer, or
// when the buffer already holds the same text right behind the run. A loaded
// document keeps its text in one piece of the buffer with the line feeds in
// place, while each block separator refers to a copy stored elsewhere: a line
// break behind the run stands for that separator, so the whole document stays
// one run and is searched in one pass.
bool continuesRun(QStringView buffer, qsizetype runEnd, qsizetype bufferPos, qsizetype size)
{
    if (runEnd == bufferPos)
        return true;
    constexpr qsizetype ShortFragment = 8;
    if (size > ShortFragment || runEnd + size > buffer.size())
        return false;
    const char16_t *data = buffer.utf16();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t inRun = data[runEnd + i];
        const char16_t wanted = data[bufferPos + i];
        if (inRun != wanted && !(wanted == 0x2029 && inRun == u'\n'))
            return false;
    }
    return true;
}

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
    qsizetype runStart = -1; // buffer span of fragments that lie side by side
    qsizetype runLength = 0;
    qsizetype pos = from;
    uint node = map.findNode(int(from));
    qsizetype offset = from - map.position(node);
    while (node && pos < end) {
        const auto *fragment = map.fragment(node);
        const qsizetype size = std::min<qsizetype>(fragment->size_array[0] - offset, end - pos);
        const qsizetype bufferPos = fragment->stringPosition + offset;
        if (runStart >= 0 && continuesRun(buffer, runStart + runLength, bufferPos, size)) {
            runLength += size;
        } else {
            if (runStart >= 0) {
                const qsizetype at = search.feed(buffer.sliced(runStart, runLength));
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
        return search.feed(buffer.sliced(runStart, runLength));
    return -1;
}
