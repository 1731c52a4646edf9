// The text store's storage: line-break counting, huge-page slabs and block
// allocation.
#include "document/text_store_blocks.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#define TAVRIL_HAVE_MMAN
#endif

namespace textstore {

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

Block makeBlock(qsizetype capacity)
{
    Block b;
    b.reallocate(capacity);
    return b;
}

} // namespace textstore
