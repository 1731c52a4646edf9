#include "document/text_store.h"
#include "document/text_store_tuning.h"

#include <QVarLengthArray>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#define TAVRIL_HAVE_MMAN
#endif

// The text lives in a row of blocks of at most a few thousand units each. A
// Fenwick tree over the blocks sums their lengths and line breaks, so a position
// or a line is found in O(log blocks) and an edit inside one block moves at most
// one block's units. Blocks split when they outgrow the limit and merge with a
// neighbour when they shrink; only then is the row (and the tree) rebuilt.

namespace {

constexpr qsizetype DefaultBlockUnits = 16 * 1024;
qsizetype blockLimit = DefaultBlockUnits;

// Line feeds in [p, p + n). Branch-free: the comparison's all-ones lanes are
// subtracted into 16-bit counters, summed before they can overflow (the target
// may have no population-count instruction).
qsizetype countBreaks(const char16_t *p, qsizetype n)
{
    qsizetype count = 0;
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi16(u'\n');
    const __m128i ones = _mm_set1_epi16(1);
    while (i + 8 <= n) {
        const qsizetype stop = std::min(n - 7, i + 8 * 32767); // lanes stay below 2^15
        __m128i acc = _mm_setzero_si128();
        for (; i < stop; i += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
            acc = _mm_sub_epi16(acc, _mm_cmpeq_epi16(v, lf));
        }
        const __m128i sums = _mm_madd_epi16(acc, ones); // four 32-bit sums
        alignas(16) std::int32_t part[4];
        _mm_store_si128(reinterpret_cast<__m128i *>(part), sums);
        count += qsizetype(part[0]) + part[1] + part[2] + part[3];
    }
#endif
    for (; i < n; ++i)
        count += p[i] == u'\n';
    return count;
}

// Offset of the k-th line feed (k >= 1) in [p, p + n), or n when there are fewer.
qsizetype nthBreak(const char16_t *p, qsizetype n, qsizetype k)
{
    qsizetype i = 0;
#if defined(__SSE2__)
    const __m128i lf = _mm_set1_epi16(u'\n');
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi16(v, lf)));
        if (mask == 0)
            continue;
        const qsizetype found = __builtin_popcount(mask) / 2;
        if (found < k) {
            k -= found;
            continue;
        }
        for (; k > 1; --k)
            mask &= mask - 1, mask &= mask - 1; // both bytes of a unit
        return i + __builtin_ctz(mask) / 2;
    }
#endif
    for (; i < n; ++i)
        if (p[i] == u'\n' && --k == 0)
            return i;
    return n;
}

// Blocks keep the count of line breaks per chunk of this many units, so that a
// line lookup reads one chunk, not the whole block.
qsizetype chunkLimit = DefaultBlockUnits / 32;

// Large runs of memory that a load carves its blocks from, one after another,
// mapped with huge pages asked for, so that a big file is faulted in a few large
// pages rather than tens of thousands of small ones. Every block in a slab holds
// a reference, and so does the loader while it carves; the slab is unmapped when
// the last one goes. A block that must grow moves out into memory of its own.
struct Slab
{
    char *base = nullptr;
    std::size_t bytes = 0;
    std::size_t used = 0; // carved so far
    std::size_t refs = 0;
};

constexpr std::size_t HugePage = std::size_t(2) << 20;
constexpr std::size_t SlabBytes = std::size_t(32) << 20;
// Texts smaller than this (in units) are loaded into ordinary allocations.
constexpr qsizetype SlabsFromUnits = qsizetype(1) << 20;

Slab *newSlab(std::size_t bytes)
{
#if defined(TAVRIL_HAVE_MMAN)
    bytes = (bytes + HugePage - 1) / HugePage * HugePage;
    void *raw =
        mmap(nullptr, bytes + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    // Aligned to a huge page: the head and tail of the mapping go back.
    char *start = static_cast<char *>(raw);
    char *aligned = reinterpret_cast<char *>(
        (reinterpret_cast<std::uintptr_t>(start) + HugePage - 1) & ~(HugePage - 1));
    if (aligned > start)
        munmap(start, std::size_t(aligned - start));
    char *const end = start + bytes + HugePage;
    if (end > aligned + bytes)
        munmap(aligned + bytes, std::size_t(end - (aligned + bytes)));
#if defined(MADV_HUGEPAGE)
    madvise(aligned, bytes, MADV_HUGEPAGE);
#endif
    return new Slab{aligned, bytes, 0, 1};
#else
    (void)bytes;
    return nullptr;
#endif
}

void releaseSlab(Slab *slab)
{
    if (--slab->refs > 0)
        return;
#if defined(TAVRIL_HAVE_MMAN)
    munmap(slab->base, slab->bytes);
#endif
    delete slab;
}

// A block's units: an allocation of its own, or a part of a slab.
struct Units
{
    char16_t *p = nullptr;
    Slab *slab = nullptr;

    Units() = default;
    Units(Units &&o) noexcept : p(std::exchange(o.p, nullptr)), slab(std::exchange(o.slab, nullptr))
    {
    }
    Units &operator=(Units &&o) noexcept
    {
        if (this != &o) {
            reset();
            p = std::exchange(o.p, nullptr);
            slab = std::exchange(o.slab, nullptr);
        }
        return *this;
    }
    ~Units() { reset(); }
    void reset()
    {
        if (slab)
            releaseSlab(slab);
        else
            std::free(p);
        p = nullptr;
        slab = nullptr;
    }
};

struct Block
{
    Units data;
    qsizetype size = 0;
    qsizetype capacity = 0;
    qsizetype breaks = 0;
    // Line breaks per chunk, made when a line lookup first needs them.
    mutable std::vector<std::uint16_t> chunkBreaks;
    mutable qsizetype chunkUnits = 1;
    mutable bool chunksValid = false;

    char16_t *units() const { return data.p; }
    const std::vector<std::uint16_t> &chunks() const
    {
        if (!chunksValid) {
            chunkUnits = chunkLimit;
            chunkBreaks.resize(std::size_t((size + chunkUnits - 1) / chunkUnits));
            for (std::size_t c = 0; c < chunkBreaks.size(); ++c) {
                const qsizetype at = qsizetype(c) * chunkUnits;
                chunkBreaks[c] =
                    std::uint16_t(countBreaks(units() + at, std::min(chunkUnits, size - at)));
            }
            chunksValid = true;
        }
        return chunkBreaks;
    }
    // Line breaks in [0, offset).
    qsizetype breaksBefore(qsizetype offset) const
    {
        const auto &counts = chunks();
        const qsizetype whole = offset / chunkUnits;
        qsizetype n = 0;
        for (qsizetype c = 0; c < whole; ++c)
            n += counts[std::size_t(c)];
        return n + countBreaks(units() + whole * chunkUnits, offset - whole * chunkUnits);
    }
    // Offset of the k-th line break of the block (1 <= k <= breaks).
    qsizetype nthBreakAt(qsizetype k) const
    {
        const auto &counts = chunks();
        std::size_t c = 0;
        while (c + 1 < counts.size() && counts[c] < k)
            k -= counts[c++];
        const qsizetype at = qsizetype(c) * chunkUnits;
        return at + nthBreak(units() + at, size - at, k);
    }
    QStringView view() const { return QStringView(data.p, size); }
    // Sets the capacity to at least `wanted` (exactly `wanted` when shrinking).
    void reallocate(qsizetype wanted)
    {
        const std::size_t bytes = std::size_t(std::max<qsizetype>(wanted, 1)) * 2;
        if (data.slab) { // out of the slab, into memory of its own
            auto *p = static_cast<char16_t *>(std::malloc(bytes));
            if (!p)
                throw std::bad_alloc();
            std::memcpy(p, data.p, std::size_t(std::min(size, wanted)) * 2);
            data.reset();
            data.p = p;
        } else {
            void *p = std::realloc(data.p, bytes);
            if (!p)
                throw std::bad_alloc();
            data.p = static_cast<char16_t *>(p);
        }
        capacity = wanted;
    }
};

Block makeBlock(qsizetype capacity)
{
    Block b;
    b.reallocate(capacity);
    return b;
}

struct Sums
{
    qsizetype units = 0;
    qsizetype breaks = 0;
};

// Prefix sums of block lengths and line breaks.
class Fenwick
{
public:
    void build(const std::vector<Block> &blocks)
    {
        const std::size_t n = blocks.size();
        m_tree.assign(n + 1, Sums());
        for (std::size_t i = 1; i <= n; ++i) {
            m_tree[i].units += blocks[i - 1].size;
            m_tree[i].breaks += blocks[i - 1].breaks;
            const std::size_t parent = i + (i & (~i + 1));
            if (parent <= n) {
                m_tree[parent].units += m_tree[i].units;
                m_tree[parent].breaks += m_tree[i].breaks;
            }
        }
        m_top = 1;
        while (m_top * 2 <= n)
            m_top *= 2;
    }
    void add(std::size_t block, qsizetype units, qsizetype breaks)
    {
        for (std::size_t i = block + 1; i < m_tree.size(); i += i & (~i + 1)) {
            m_tree[i].units += units;
            m_tree[i].breaks += breaks;
        }
    }
    // The block holding unit `pos` (the count of blocks when `pos` is the end),
    // with the sums of the blocks before it.
    std::size_t findUnit(qsizetype pos, Sums &before) const
    {
        std::size_t idx = 0;
        const std::size_t n = m_tree.size() - 1;
        for (std::size_t step = m_top; step; step >>= 1) {
            const std::size_t next = idx + step;
            if (next <= n && m_tree[next].units <= pos) {
                idx = next;
                pos -= m_tree[next].units;
                before.units += m_tree[next].units;
                before.breaks += m_tree[next].breaks;
            }
        }
        return idx;
    }
    // The block holding the `k`-th line break (k >= 1), with the sums before it.
    std::size_t findBreak(qsizetype k, Sums &before) const
    {
        std::size_t idx = 0;
        const std::size_t n = m_tree.size() - 1;
        for (std::size_t step = m_top; step; step >>= 1) {
            const std::size_t next = idx + step;
            if (next <= n && m_tree[next].breaks < k) {
                idx = next;
                k -= m_tree[next].breaks;
                before.units += m_tree[next].units;
                before.breaks += m_tree[next].breaks;
            }
        }
        return idx;
    }

private:
    std::vector<Sums> m_tree{Sums()};
    std::size_t m_top = 1;
};

struct Edit
{
    qsizetype pos;
    QString removed;
    QString added;
};

struct Step
{
    std::vector<Edit> edits;
};

enum class MergeKind { None, Insert, Delete, Word };

} // namespace

void TextStoreTuning::setBlockUnits(int units)
{
    blockLimit = units > 0 ? units : DefaultBlockUnits;
    chunkLimit = std::max<qsizetype>(2, blockLimit / 32);
}

struct TextStore::Impl
{
    std::vector<Block> blocks; // never an empty one
    Fenwick sums;
    qsizetype length = 0;
    qsizetype breaks = 0;

    // The block of the last read or edit, for reads and edits near it.
    mutable qsizetype cacheBlock = -1;
    mutable qsizetype cacheStart = 0;
    mutable qsizetype cacheBreaks = 0; // before the block

    // The last line looked up: the caret's line, read many times a key. It
    // survives edits inside it that add or remove no line break, and edits
    // before or after it; any other edit drops it.
    mutable qsizetype lineCacheLine = -1;
    mutable qsizetype lineCacheStart = 0;
    mutable qsizetype lineCacheLength = 0;

    std::vector<Step> undo;
    std::vector<Step> redo;
    int groupDepth = 0;
    bool groupOpen = false; // the current group already has a step
    bool undoEnabled = true;
    bool typingWord = false;
    MergeKind lastKind = MergeKind::None;
    qsizetype loadOldLength = 0;
    Slab *loadSlab = nullptr; // the one the loader carves from

    ~Impl() { endSlab(); }
    void endSlab()
    {
        if (loadSlab)
            releaseSlab(loadSlab);
        loadSlab = nullptr;
    }
    // A block for the loader: carved from a slab once the text is large.
    Block loadBlock(qsizetype capacity)
    {
        const std::size_t bytes = std::size_t(capacity) * 2;
        if (length < SlabsFromUnits)
            return makeBlock(capacity);
        if (!loadSlab || loadSlab->bytes - loadSlab->used < bytes) {
            endSlab();
            loadSlab = newSlab(std::max(SlabBytes, bytes));
            if (!loadSlab)
                return makeBlock(capacity);
        }
        Block b;
        b.data.p = reinterpret_cast<char16_t *>(loadSlab->base + loadSlab->used);
        b.data.slab = loadSlab;
        ++loadSlab->refs;
        loadSlab->used += bytes;
        b.capacity = capacity;
        return b;
    }

    struct Place
    {
        std::size_t block;
        qsizetype offset; // within the block
        qsizetype start;  // of the block
        qsizetype breaksBefore;
    };
    // The block holding `pos` in [0, length]; the end lies in the last block.
    Place locate(qsizetype pos) const
    {
        if (cacheBlock >= 0) {
            const std::size_t b = std::size_t(cacheBlock);
            const qsizetype off = pos - cacheStart;
            if (off >= 0 &&
                (off < blocks[b].size || (off == blocks[b].size && b + 1 == blocks.size())))
                return {b, off, cacheStart, cacheBreaks};
        }
        Sums before;
        std::size_t b = sums.findUnit(pos, before);
        if (b == blocks.size() && b > 0) {
            --b;
            before.units -= blocks[b].size;
            before.breaks -= blocks[b].breaks;
        }
        if (b < blocks.size()) {
            cacheBlock = qsizetype(b);
            cacheStart = before.units;
            cacheBreaks = before.breaks;
        }
        return {b, pos - before.units, before.units, before.breaks};
    }
    void rebuild()
    {
        sums.build(blocks);
        cacheBlock = -1;
    }
    void dropCaches()
    {
        rebuild();
        lineCacheLine = -1;
    }
    void copyOut(qsizetype pos, qsizetype len, char16_t *out) const
    {
        if (len <= 0)
            return;
        Place p = locate(pos);
        for (std::size_t b = p.block; len > 0; ++b) {
            const qsizetype n = std::min(len, blocks[b].size - p.offset);
            std::memcpy(out, blocks[b].units() + p.offset, std::size_t(n) * 2);
            out += n;
            len -= n;
            p.offset = 0;
        }
    }
    QString copy(qsizetype pos, qsizetype len) const
    {
        QString s(len, Qt::Uninitialized);
        copyOut(pos, len, reinterpret_cast<char16_t *>(s.data()));
        return s;
    }

    // Offset of the k-th line break (1 <= k <= breaks).
    qsizetype breakOffset(qsizetype k) const
    {
        Sums before;
        const std::size_t b = sums.findBreak(k, before);
        return before.units + blocks[b].nthBreakAt(k - before.breaks);
    }
    // Start and length (without its break) of `line` in [0, breaks].
    void lineSpan(qsizetype line, qsizetype &start, qsizetype &len) const;
    void editLineCache(qsizetype pos, qsizetype removed, qsizetype added, qsizetype breakDelta);

    void apply(qsizetype pos, qsizetype removed, QStringView text);
    qsizetype applyInBlocks(qsizetype pos, qsizetype removed, QStringView text);
    qsizetype rewrite(qsizetype pos, qsizetype removed, QStringView text);
    void record(TextStore *store, qsizetype pos, QString removed, QString added);
};

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

void TextStore::Impl::record(TextStore *store, qsizetype pos, QString removed, QString added)
{
    if (!undoEnabled)
        return;
    const bool hadUndo = !undo.empty();
    const bool hadRedo = !redo.empty();
    redo.clear();
    Edit edit{pos, std::move(removed), std::move(added)};
    if (groupDepth > 0 && groupOpen) {
        undo.back().edits.push_back(std::move(edit));
    } else if (typingWord && groupDepth == 0) {
        if (lastKind == MergeKind::Word && !undo.empty())
            undo.back().edits.push_back(std::move(edit));
        else
            undo.push_back(Step{{std::move(edit)}});
        lastKind = MergeKind::Word;
    } else {
        MergeKind kind = MergeKind::None;
        const bool hasBreak = edit.added.contains(u'\n') || edit.removed.contains(u'\n');
        if (groupDepth == 0 && !hasBreak) {
            if (edit.removed.isEmpty() && edit.added.size() == 1)
                kind = MergeKind::Insert;
            else if (edit.added.isEmpty() && edit.removed.size() == 1)
                kind = MergeKind::Delete;
        }
        bool merged = false;
        if (kind != MergeKind::None && kind == lastKind && !undo.empty()) {
            Edit &prev = undo.back().edits.back();
            if (kind == MergeKind::Insert && pos == prev.pos + prev.added.size()) {
                prev.added += edit.added;
                merged = true;
            } else if (kind == MergeKind::Delete && pos + 1 == prev.pos) { // Backspace
                prev.removed.prepend(edit.removed);
                prev.pos = pos;
                merged = true;
            } else if (kind == MergeKind::Delete && pos == prev.pos) { // Delete
                prev.removed += edit.removed;
                merged = true;
            }
        }
        if (!merged)
            undo.push_back(Step{{std::move(edit)}});
        lastKind = kind;
        if (groupDepth > 0)
            groupOpen = true;
    }
    if (!hadUndo)
        emit store->undoAvailable(true);
    if (hadRedo)
        emit store->redoAvailable(false);
}

TextStore::TextStore(QObject *parent) : QObject(parent), d(std::make_unique<Impl>()) {}

TextStore::~TextStore() = default;

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
    return p.breaksBefore + d->blocks[p.block].breaksBefore(p.offset);
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
        blocks.push_back(m_store->d->loadBlock(std::max(count, blockLimit)));
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

bool TextStore::isUndoAvailable() const
{
    return !d->undo.empty();
}

bool TextStore::isRedoAvailable() const
{
    return !d->redo.empty();
}

qsizetype TextStore::undo()
{
    if (d->undo.empty())
        return -1;
    Step step = std::move(d->undo.back());
    d->undo.pop_back();
    qsizetype caret = 0;
    for (auto it = step.edits.rbegin(); it != step.edits.rend(); ++it) {
        d->apply(it->pos, it->added.size(), it->removed);
        emit changed(it->pos, it->added.size(), it->removed.size());
        caret = it->pos + it->removed.size();
    }
    const bool hadRedo = !d->redo.empty();
    d->redo.push_back(std::move(step));
    d->lastKind = MergeKind::None;
    if (d->undo.empty())
        emit undoAvailable(false);
    if (!hadRedo)
        emit redoAvailable(true);
    return caret;
}

qsizetype TextStore::redo()
{
    if (d->redo.empty())
        return -1;
    Step step = std::move(d->redo.back());
    d->redo.pop_back();
    qsizetype caret = 0;
    for (const Edit &e : step.edits) {
        d->apply(e.pos, e.removed.size(), e.added);
        emit changed(e.pos, e.removed.size(), e.added.size());
        caret = e.pos + e.added.size();
    }
    const bool hadUndo = !d->undo.empty();
    d->undo.push_back(std::move(step));
    d->lastKind = MergeKind::None;
    if (d->redo.empty())
        emit redoAvailable(false);
    if (!hadUndo)
        emit undoAvailable(true);
    return caret;
}

void TextStore::beginUndoGroup()
{
    if (d->groupDepth++ == 0) {
        d->groupOpen = false;
        d->lastKind = MergeKind::None;
    }
}

void TextStore::endUndoGroup()
{
    if (d->groupDepth > 0 && --d->groupDepth == 0) {
        d->groupOpen = false;
        d->lastKind = MergeKind::None;
    }
}

void TextStore::breakUndoMerge()
{
    d->lastKind = MergeKind::None;
}

void TextStore::setTypingWord(bool on)
{
    d->typingWord = on;
}

void TextStore::clearUndo()
{
    const bool hadUndo = !d->undo.empty();
    const bool hadRedo = !d->redo.empty();
    d->undo.clear();
    d->redo.clear();
    d->lastKind = MergeKind::None;
    if (hadUndo)
        emit undoAvailable(false);
    if (hadRedo)
        emit redoAvailable(false);
}

void TextStore::setUndoEnabled(bool on)
{
    d->undoEnabled = on;
    if (!on)
        clearUndo();
}

bool TextStore::isUndoEnabled() const
{
    return d->undoEnabled;
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
