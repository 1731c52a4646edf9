// The text store's block index: positions and lines found through the Fenwick
// tree, edits applied in place inside one block or by rewriting a few, reads,
// the loader and search. Storage is in text_store_blocks.cpp, the undo history
// in text_store_history.cpp.
#include "document/text_store_impl.h"

#include <QVarLengthArray>

// The text lives in a row of blocks of at most a few thousand units each. A
// Fenwick tree over the blocks sums their lengths and line breaks, so a position
// or a line is found in O(log blocks) and an edit inside one block moves at most
// one block's units. Blocks split when they outgrow the limit and merge with a
// neighbour when they shrink; only then is the row (and the tree) rebuilt.

void TextStore::Impl::lineSpan(qsizetype line, qsizetype &start, qsizetype &len) const
{
    if (line == lineCacheLine) {
        start = lineCacheStart;
        len = lineCacheLength;
        return;
    }
    if (lineCacheLine >= 0 && line == lineCacheLine + 1)
        start = lineCacheStart + lineCacheLength + 1; // the line after the cached one
    else
        start = line == 0 ? 0 : breakOffset(line) + 1;
    if (line == breaks) {
        len = length - start;
    } else {
        // The break ending the line, looked for in the block of its start first.
        const Place p = locate(start);
        const Block &b = blocks[p.block];
        const qsizetype in = p.offset < b.size
                                 ? nthBreak(b.units() + p.offset, b.size - p.offset, 1)
                                 : b.size - p.offset;
        len = p.offset + in < b.size ? in : breakOffset(line + 1) - start;
    }
    lineCacheLine = line;
    lineCacheStart = start;
    lineCacheLength = len;
}

// Keeps the cached line valid across an edit of [pos, pos + removed) that put
// `added` units there and changed the count of line breaks by `breakDelta`.
void TextStore::Impl::editLineCache(qsizetype pos, qsizetype removed, qsizetype added,
                                    qsizetype breakDelta)
{
    if (lineCacheLine < 0)
        return;
    const qsizetype end = lineCacheStart + lineCacheLength; // where its break is
    if (pos > end) {
        return; // after the line and its break
    } else if (pos + removed < lineCacheStart) {
        // Before the line, the break before it kept: the line moves.
        lineCacheLine += breakDelta;
        lineCacheStart += added - removed;
    } else if (pos >= lineCacheStart && pos + removed <= end && breakDelta == 0) {
        // Inside the line: with no break removed there, none was added either.
        lineCacheLength += added - removed;
    } else {
        lineCacheLine = -1;
    }
}

// Replaces [pos, pos + removed) with `text`.
void TextStore::Impl::apply(qsizetype pos, qsizetype removed, QStringView text)
{
    const qsizetype breakDelta = applyInBlocks(pos, removed, text);
    editLineCache(pos, removed, text.size(), breakDelta);
}

// The edit of the blocks, inside one block when it fits there; returns the change
// of the count of line breaks.
qsizetype TextStore::Impl::applyInBlocks(qsizetype pos, qsizetype removed, QStringView text)
{
    if (blocks.empty())
        return rewrite(pos, removed, text);
    const Place p = locate(pos);
    Block &block = blocks[p.block];
    const qsizetype added = text.size();
    const qsizetype newSize = block.size - removed + added;
    if (p.offset + removed > block.size || newSize > blockLimit)
        return rewrite(pos, removed, text);
    if (newSize < blockLimit / 4 && blocks.size() > 1) { // merges or goes when it can
        const qsizetype most = blockLimit * 3 / 4;
        if (newSize == 0 || (p.block > 0 && blocks[p.block - 1].size + newSize <= most) ||
            (p.block + 1 < blocks.size() && blocks[p.block + 1].size + newSize <= most))
            return rewrite(pos, removed, text);
    }
    const qsizetype breakDelta =
        countBreaks(reinterpret_cast<const char16_t *>(text.utf16()), added) -
        countBreaks(block.units() + p.offset, removed);
    if (newSize > block.capacity)
        block.reallocate(
            std::min(blockLimit, std::max(newSize, block.capacity + block.capacity / 2 + 16)));
    char16_t *at = block.units() + p.offset;
    std::memmove(at + added, at + removed, std::size_t(block.size - p.offset - removed) * 2);
    std::memcpy(at, text.utf16(), std::size_t(added) * 2);
    block.size = newSize;
    block.breaks += breakDelta;
    block.chunksValid = false;
    length += added - removed;
    breaks += breakDelta;
    if (added != removed || breakDelta != 0)
        sums.add(p.block, added - removed, breakDelta);
    // The block's start is as it was: later reads near it need no descent.
    cacheBlock = qsizetype(p.block);
    cacheStart = p.start;
    cacheBreaks = p.breaksBefore;
    return breakDelta;
}

// The general edit: the blocks touched are replaced by new ones holding their
// kept units and the new text (with a small neighbour merged in).
qsizetype TextStore::Impl::rewrite(qsizetype pos, qsizetype removed, QStringView text)
{
    std::size_t first = 0; // blocks [first, last) are replaced
    std::size_t last = 0;
    qsizetype head = 0; // units kept from the first block
    qsizetype tail = 0; // from the last block
    if (!blocks.empty()) {
        const Place p = locate(pos);
        const Place q = removed > 0 ? locate(pos + removed - 1) : p;
        first = p.block;
        last = q.block + 1;
        head = p.offset;
        tail = blocks[q.block].size - (pos + removed - q.start);
    }
    qsizetype total = head + text.size() + tail;
    // A small result takes a small neighbour in.
    bool withPrevious = false;
    bool withNext = false;
    const qsizetype small = blockLimit / 4;
    if (total < small) {
        if (first > 0 && blocks[first - 1].size + total <= blockLimit * 3 / 4) {
            withPrevious = true;
            total += blocks[first - 1].size;
        } else if (last < blocks.size() && blocks[last].size + total <= blockLimit * 3 / 4) {
            withNext = true;
            total += blocks[last].size;
        }
    }
    // Gather the pieces of the new blocks' text.
    QVarLengthArray<QStringView, 5> pieces;
    if (withPrevious)
        pieces.append(blocks[first - 1].view());
    if (head > 0)
        pieces.append(blocks[first].view().first(head));
    if (!text.isEmpty())
        pieces.append(text);
    if (tail > 0)
        pieces.append(blocks[last - 1].view().last(tail));
    if (withNext)
        pieces.append(blocks[last].view());
    // New blocks three quarters full, so that typing has room before a split.
    std::vector<Block> fresh;
    const qsizetype target =
        std::max<qsizetype>(1, total <= blockLimit ? total : blockLimit * 3 / 4);
    qsizetype left = total;
    qsizetype pieceAt = 0;
    qsizetype piece = 0;
    while (left > 0) {
        const qsizetype size = std::min(left, target);
        Block b = makeBlock(std::min(blockLimit, size + std::max<qsizetype>(size / 8, 4)));
        qsizetype filled = 0;
        while (filled < size) {
            const QStringView from = pieces[piece];
            const qsizetype n = std::min(size - filled, from.size() - pieceAt);
            std::memcpy(b.units() + filled, from.utf16() + pieceAt, std::size_t(n) * 2);
            filled += n;
            pieceAt += n;
            if (pieceAt == from.size()) {
                ++piece;
                pieceAt = 0;
            }
        }
        b.size = size;
        b.breaks = countBreaks(b.units(), size);
        fresh.push_back(std::move(b));
        left -= size;
    }
    if (withPrevious)
        --first;
    if (withNext)
        ++last;
    qsizetype oldBreaks = 0;
    for (std::size_t i = first; i < last; ++i)
        oldBreaks += blocks[i].breaks;
    qsizetype newBreaks = 0;
    for (const Block &b : fresh)
        newBreaks += b.breaks;
    blocks.erase(blocks.begin() + qsizetype(first), blocks.begin() + qsizetype(last));
    blocks.insert(blocks.begin() + qsizetype(first), std::make_move_iterator(fresh.begin()),
                  std::make_move_iterator(fresh.end()));
    length += text.size() - removed;
    breaks += newBreaks - oldBreaks;
    rebuild();
    return newBreaks - oldBreaks;
}

TextStore::TextStore(QObject *parent) : QObject(parent), d(std::make_unique<Impl>()) {}

TextStore::~TextStore() = default;

void TextStore::setBlockUnits(int units)
{
    d->blockLimit = units > 0 ? units : DefaultBlockUnits;
    d->chunkLimit = chunkUnitsFor(d->blockLimit);
}

qsizetype TextStore::length() const
{
    return d->length;
}

char16_t TextStore::at(qsizetype pos) const
{
    if (pos < 0 || pos >= d->length)
        return u'\0';
    const Impl::Place p = d->locate(pos);
    return d->blocks[p.block].units()[p.offset];
}

QString TextStore::mid(qsizetype pos, qsizetype len) const
{
    pos = std::clamp<qsizetype>(pos, 0, d->length);
    len = std::clamp<qsizetype>(len, 0, d->length - pos);
    return d->copy(pos, len);
}

QString TextStore::text() const
{
    return d->copy(0, d->length);
}

void TextStore::visitPieces(qsizetype pos, qsizetype len,
                            const std::function<bool(QStringView)> &visit) const
{
    pos = std::clamp<qsizetype>(pos, 0, d->length);
    len = std::clamp<qsizetype>(len, 0, d->length - pos);
    if (len == 0)
        return;
    Impl::Place p = d->locate(pos);
    for (std::size_t b = p.block; len > 0; ++b) {
        const qsizetype n = std::min(len, d->blocks[b].size - p.offset);
        if (!visit(d->blocks[b].view().sliced(p.offset, n)))
            return;
        len -= n;
        p.offset = 0;
    }
}

qsizetype TextStore::lineCount() const
{
    return d->breaks + 1;
}

qsizetype TextStore::lineStart(qsizetype line) const
{
    qsizetype start = 0, len = 0;
    d->lineSpan(std::clamp<qsizetype>(line, 0, d->breaks), start, len);
    return start;
}

qsizetype TextStore::lineLength(qsizetype line) const
{
    qsizetype start = 0, len = 0;
    d->lineSpan(std::clamp<qsizetype>(line, 0, d->breaks), start, len);
    return len;
}

qsizetype TextStore::lineAt(qsizetype pos) const
{
    pos = std::clamp<qsizetype>(pos, 0, d->length);
    if (d->lineCacheLine >= 0 && pos >= d->lineCacheStart &&
        pos <= d->lineCacheStart + d->lineCacheLength)
        return d->lineCacheLine;
    if (pos == d->length)
        return d->breaks;
    const Impl::Place p = d->locate(pos);
    return p.breaksBefore + d->blocks[p.block].breaksBefore(p.offset, d->chunkLimit);
}

QString TextStore::lineText(qsizetype line) const
{
    return mid(lineStart(line), lineLength(line));
}

void TextStore::replace(qsizetype pos, qsizetype removed, QStringView text)
{
    pos = std::clamp<qsizetype>(pos, 0, d->length);
    removed = std::clamp<qsizetype>(removed, 0, d->length - pos);
    if (removed == 0 && text.isEmpty())
        return;
    QString added = text.toString(); // `text` may be a view into this store
    if (d->undoEnabled)
        d->record(this, pos, d->copy(pos, removed), added);
    d->apply(pos, removed, added);
    emit changed(pos, removed, added.size());
}

void TextStore::setText(QStringView text)
{
    const qsizetype old = d->length;
    const qsizetype added = text.size();
    d->rewrite(0, old, text); // new blocks are filled before the old ones go
    d->lineCacheLine = -1;
    clearUndo();
    if (old > 0 || added > 0)
        emit changed(0, old, added);
}

TextStore::Loader::Loader(TextStore &store) : m_store(&store)
{
    Impl &d = *store.d;
    d.loadOldLength = d.length;
    d.blocks.clear();
    d.length = 0;
    d.breaks = 0;
    d.dropCaches();
    store.clearUndo();
}

TextStore::Loader::~Loader()
{
    end();
}

void TextStore::Loader::append(QStringView piece)
{
    while (m_store && !piece.isEmpty()) {
        qsizetype available = 0;
        char16_t *to = room(1, available);
        const qsizetype n = std::min(available, piece.size());
        std::memcpy(to, piece.utf16(), std::size_t(n) * 2);
        commit(n);
        piece = piece.sliced(n);
    }
}

char16_t *TextStore::Loader::room(qsizetype count)
{
    qsizetype available = 0;
    return room(count, available);
}

char16_t *TextStore::Loader::room(qsizetype count, qsizetype &available)
{
    std::vector<Block> &blocks = m_store->d->blocks;
    count = std::max<qsizetype>(count, 1);
    if (blocks.empty() || blocks.back().capacity - blocks.back().size < count) {
        if (!blocks.empty()) {
            Block &full = blocks.back();
            Impl &d = *m_store->d;
            if (full.data.slab) {
                // The next block starts where this one's units end.
                if (full.data.slab == d.loadSlab)
                    d.loadSlab->used -= std::size_t(full.capacity - full.size) * 2;
                full.capacity = full.size;
                if (full.size == 0)
                    blocks.pop_back();
            } else if (full.size == 0) {
                blocks.pop_back();
            } else if (full.capacity - full.size > full.capacity / 8) {
                full.reallocate(full.size); // a block never keeps much unused room
            }
        }
        blocks.push_back(m_store->d->loadBlock(std::max(count, m_store->d->blockLimit)));
    }
    Block &b = blocks.back();
    available = b.capacity - b.size;
    return b.units() + b.size;
}

void TextStore::Loader::commit(qsizetype count)
{
    if (!m_store || m_store->d->blocks.empty())
        return; // no room was asked for
    Impl &d = *m_store->d;
    Block &b = d.blocks.back();
    count = std::clamp<qsizetype>(count, 0, b.capacity - b.size);
    const qsizetype breaks = countBreaks(b.units() + b.size, count);
    b.chunksValid = false;
    b.size += count;
    b.breaks += breaks;
    d.length += count;
    d.breaks += breaks;
}

void TextStore::Loader::end()
{
    if (!m_store)
        return;
    TextStore *store = m_store;
    m_store = nullptr;
    Impl &d = *store->d;
    if (!d.blocks.empty() && d.blocks.back().size == 0)
        d.blocks.pop_back();
    d.endSlab();
    d.dropCaches();
    store->clearUndo();
    if (d.loadOldLength > 0 || d.length > 0)
        emit store->changed(0, d.loadOldLength, d.length);
}

qsizetype TextStore::indexOf(QStringView needle, qsizetype from, Qt::CaseSensitivity cs) const
{
    if (from < 0 || from > d->length)
        return -1;
    if (needle.isEmpty())
        return from;
    const qsizetype n = needle.size();
    if (n > d->length - from)
        return -1;
    // Each block is searched in place; a match across the seam after it is
    // looked for in a window of n - 1 units either side.
    // A caseless search reads a low surrogate after a high one as the second
    // half of a pair, so a piece starting inside a pair does not match there
    // (unless the needle is one unit: that is compared unit by unit).
    const auto search = [&](QStringView piece, qsizetype pos, qsizetype offset) {
        const qsizetype hit = piece.indexOf(needle, offset, cs);
        if (hit == 0 && n > 1 && cs == Qt::CaseInsensitive && piece[0].isLowSurrogate() &&
            QChar::isHighSurrogate(at(pos - 1)))
            return piece.indexOf(needle, 1, cs);
        return hit;
    };
    Impl::Place p = d->locate(from);
    QVarLengthArray<char16_t, 256> window;
    qsizetype start = p.start;
    for (std::size_t b = p.block; b < d->blocks.size(); ++b) {
        const Block &block = d->blocks[b];
        const qsizetype hit = search(block.view(), start, p.offset);
        if (hit >= 0)
            return start + hit;
        const qsizetype end = start + block.size;
        if (n > 1 && end < d->length) {
            const qsizetype seam = std::max(start + p.offset, end - (n - 1));
            const qsizetype len = std::min(end - seam + n - 1, d->length - seam);
            window.resize(len);
            d->copyOut(seam, len, window.data());
            const qsizetype hit = search(QStringView(window.data(), len), seam, 0);
            if (hit >= 0 && seam + hit < end)
                return seam + hit;
        }
        start = end;
        p.offset = 0;
    }
    return -1;
}
