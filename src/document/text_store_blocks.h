// The text store's storage: blocks of UTF-16 units (in memory of their own or
// carved from huge-page slabs), their line-break counts, and the Fenwick tree that
// sums block lengths and breaks. Private to the store's own sources.
#pragma once

#include <QStringView>
#include <QtGlobal>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace textstore {

// The most units a block holds, unless the store is tuned (tests make it small).
constexpr qsizetype DefaultBlockUnits = 16 * 1024;

// Line feeds in [p, p + n). Branch-free: the comparison's all-ones lanes are
// subtracted into 16-bit counters, summed before they can overflow (the target
// may have no population-count instruction).
qsizetype countBreaks(const char16_t *p, qsizetype n);

// Offset of the k-th line feed (k >= 1) in [p, p + n), or n when there are fewer.
qsizetype nthBreak(const char16_t *p, qsizetype n, qsizetype k);

// Blocks keep the count of line breaks per chunk of a 32nd of the block limit
// (at least 2 units), so that a line lookup reads one chunk, not the whole block.
constexpr qsizetype chunkUnitsFor(qsizetype blockLimit)
{
    return std::max<qsizetype>(2, blockLimit / 32);
}

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

Slab *newSlab(std::size_t bytes);

void releaseSlab(Slab *slab);

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
    // Line breaks per chunk of `chunkLimit` units (the store's), made when a line
    // lookup first needs them.
    mutable std::vector<std::uint16_t> chunkBreaks;
    mutable qsizetype chunkUnits = 1;
    mutable bool chunksValid = false;

    char16_t *units() const { return data.p; }
    const std::vector<std::uint16_t> &chunks(qsizetype chunkLimit) const
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
    qsizetype breaksBefore(qsizetype offset, qsizetype chunkLimit) const
    {
        const auto &counts = chunks(chunkLimit);
        const qsizetype whole = offset / chunkUnits;
        qsizetype n = 0;
        for (qsizetype c = 0; c < whole; ++c)
            n += counts[std::size_t(c)];
        return n + countBreaks(units() + whole * chunkUnits, offset - whole * chunkUnits);
    }
    // Offset of the k-th line break of the block (1 <= k <= breaks).
    qsizetype nthBreakAt(qsizetype k, qsizetype chunkLimit) const
    {
        const auto &counts = chunks(chunkLimit);
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

Block makeBlock(qsizetype capacity);

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

} // namespace textstore
