// The text store's inside, shared by its sources: the blocks with their index
// (text_store.cpp) and the undo history (text_store_history.cpp).
#pragma once

#include "document/text_store.h"
#include "document/text_store_blocks.h"

#include <QString>

namespace textstore {

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

} // namespace textstore

// The store's inside works in the terms of its storage.
using namespace textstore;

struct TextStore::Impl
{
    // The most units a block holds, and the units of its line-break chunks
    // (setBlockUnits() makes them small for tests).
    qsizetype blockLimit = DefaultBlockUnits;
    qsizetype chunkLimit = chunkUnitsFor(DefaultBlockUnits);

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
        return before.units + blocks[b].nthBreakAt(k - before.breaks, chunkLimit);
    }
    // Start and length (without its break) of `line` in [0, breaks].
    void lineSpan(qsizetype line, qsizetype &start, qsizetype &len) const;
    void editLineCache(qsizetype pos, qsizetype removed, qsizetype added, qsizetype breakDelta);

    void apply(qsizetype pos, qsizetype removed, QStringView text);
    qsizetype applyInBlocks(qsizetype pos, qsizetype removed, QStringView text);
    qsizetype rewrite(qsizetype pos, qsizetype removed, QStringView text);
    void record(TextStore *store, qsizetype pos, QString removed, QString added);
};
