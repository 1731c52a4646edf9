#include "codec/decoders.h"

#include "codec/double_byte.h"
#include "codec/utf8.h"

#include <algorithm>
#include <array>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace {

constexpr std::uint64_t HighBits = 0x8080808080808080ULL;

std::uint64_t load8(const std::uint8_t *p)
{
    std::uint64_t x;
    std::memcpy(&x, p, 8);
    return x;
}

// Copies the run of ASCII bytes at in[i..n) eight at a time; returns the new i.
// Callers continue byte by byte from there.
std::size_t copyAscii(const std::uint8_t *in, std::size_t i, std::size_t n, char16_t *out, int &o)
{
#ifdef __SSE2__
    // Sixteen at a time, widened to units by interleaving with zero bytes.
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + i));
        if (_mm_movemask_epi8(bytes) != 0)
            break;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + o), _mm_unpacklo_epi8(bytes, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out + o + 8), _mm_unpackhi_epi8(bytes, zero));
        i += 16;
        o += 16;
    }
#endif
    while (i + 8 <= n && (load8(in + i) & HighBits) == 0) {
        for (int k = 0; k < 8; ++k)
            out[o + k] = in[i + k];
        i += 8;
        o += 8;
    }
    return i;
}

// Break bytes of the byte reader: NUL, LF, CR, SUB (all below 0x1B).
constexpr std::uint32_t BreakMask = (1u << 0x00) | (1u << 0x0A) | (1u << 0x0D) | (1u << 0x1A);

bool isBreak(unsigned c)
{
    return c <= 0x1A && ((BreakMask >> c) & 1u);
}

// Index of the first break byte in p[0..n), or n.
std::size_t scanLine(const std::uint8_t *p, std::size_t n)
{
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        const std::uint64_t x = load8(p + i);
        // Any byte below 0x1B in these eight? Only then look at each of them.
        if (((x - 0x1B1B1B1B1B1B1B1BULL) & ~x & HighBits) != 0) {
            for (std::size_t k = 0; k < 8; ++k)
                if (isBreak(p[i + k]))
                    return i + k;
        }
    }
    for (; i < n; ++i)
        if (isBreak(p[i]))
            return i;
    return n;
}

// Marks a code without a character in a direct index. No table maps to U+FFFF,
// so a U+25A1 that a table does map to stays apart from a missing code.
constexpr char16_t Unmapped = 0xFFFF;

// Every table entry placed at its code; Unmapped elsewhere. Apart from that mark,
// the same answers as LookupCode for all 65536 codes, in one memory access.
struct DirectIndex
{
    std::array<char16_t, 65536> units;
    explicit DirectIndex(std::span<const CodeEntry> table)
    {
        units.fill(Unmapped);
        for (const CodeEntry &e : table)
            units[e.code] = e.character;
    }
};

// The character of `code`, or U+25A1 counted in `unmapped`.
inline char16_t mapCode(const char16_t *index, unsigned code, int &unmapped)
{
    const char16_t u = index[code];
    if (u != Unmapped) [[likely]]
        return u;
    ++unmapped;
    return MissingCharacter;
}

const char16_t *sjisIndex()
{
    static const DirectIndex index(SjisTable);
    return index.units.data();
}

const char16_t *eucIndex()
{
    static const DirectIndex index(EucTable);
    return index.units.data();
}

const char16_t *cp949Index()
{
    static const DirectIndex index(Cp949Table);
    return index.units.data();
}

} // namespace

LinePiece ReadByteLine(ByteStream &stream, std::uint8_t *buffer, int limit)
{
    int count = 0;
    if (limit < 1) {
        buffer[0] = 0;
        return {};
    }
    for (;;) {
        if (stream.available() == 0 && !stream.refill())
            break; // the end of the file ends the line
        const std::uint8_t *p = stream.data();
        const std::size_t n = std::min<std::size_t>(stream.available(), std::size_t(limit - count));
        const std::size_t run = scanLine(p, n);
        std::memcpy(buffer + count, p, run);
        count += int(run);
        stream.advance(run);
        if (run < n) {
            const std::uint8_t c = p[run];
            stream.advance(1);
            LineEnd end = c == 0x0A ? LineEnd::Lf : c == 0x1A ? LineEnd::Sub : LineEnd::Zero;
            if (c == 0x0D) {
                // CR LF and CR SUB are one break; anything else begins the next line.
                const int next = stream.get();
                end = next == 0x0A ? LineEnd::CrLf : LineEnd::Cr;
                if (next >= 0 && next != 0x0A && next != 0x1A)
                    stream.unget(std::uint8_t(next));
            }
            buffer[count] = 0;
            return {count, false, end};
        }
        if (count == limit) {
            buffer[count] = 0;
            return {count, true};
        }
    }
    buffer[count] = 0;
    return {count, false};
}

LinePiece ReadUtf16Line(ByteStream &stream, char16_t *buffer, int limit, bool bigEndian)
{
    int count = 0;
    if (limit < 1) {
        buffer[0] = 0;
        return {};
    }
    const auto toUnit = [bigEndian](unsigned b1, unsigned b2) {
        return char16_t(bigEndian ? (b1 << 8 | b2) : (b2 << 8 | b1));
    };
    struct Unit
    {
        char16_t value;
        std::uint8_t b1, b2;
    };
    bool lost = false;
    // Two bytes as one unit; false when either is missing (an odd last byte is lost).
    const auto take = [&](Unit &u) {
        const int b1 = stream.get();
        if (b1 < 0)
            return false;
        const int b2 = stream.get();
        if (b2 < 0) {
            lost = true;
            return false;
        }
        u = {toUnit(unsigned(b1), unsigned(b2)), std::uint8_t(b1), std::uint8_t(b2)};
        return true;
    };
    const auto withLoss = [&lost](LinePiece piece) {
        piece.lostByte = lost;
        return piece;
    };
    const auto putBack = [&](const Unit &u) {
        stream.unget(u.b2);
        stream.unget(u.b1);
    };
    for (;;) {
        // Ordinary units straight from the stream's buffer.
        while (count < limit && stream.available() >= 2) {
            const std::uint8_t *p = stream.data();
            const char16_t u = toUnit(p[0], p[1]);
            if (isBreak(u))
                break;
            buffer[count++] = u;
            stream.advance(2);
        }
        if (count == limit) {
            buffer[count] = 0;
            return withLoss({count, true});
        }
        Unit u;
        if (!take(u))
            break;
        if (u.value == 0x1A || u.value == 0x0A || u.value == 0x00) {
            buffer[count] = 0;
            return withLoss({count, false,
                             u.value == 0x0A   ? LineEnd::Lf
                             : u.value == 0x1A ? LineEnd::Sub
                                               : LineEnd::Zero});
        }
        if (u.value == 0x0D) {
            buffer[count] = 0;
            Unit next;
            if (!take(next))
                return withLoss({count, false, LineEnd::Cr});
            if (next.value == 0x0A || next.value == 0x00)
                return withLoss({count, false, next.value == 0x0A ? LineEnd::CrLf : LineEnd::Cr});
            if (next.value == 0x0D) {
                // CR CR LF is one break; otherwise each CR ends a line of its own.
                Unit third;
                if (take(third)) {
                    if (third.value == 0x0A)
                        return withLoss({count, false, LineEnd::CrLf});
                    putBack(third);
                }
            }
            putBack(next);
            return withLoss({count, false, LineEnd::Cr});
        }
        buffer[count++] = u.value;
        if (count == limit) {
            buffer[count] = 0;
            return withLoss({count, true});
        }
    }
    buffer[count] = 0;
    return withLoss({count, false});
}

DecodeResult DecodeUtf8(std::span<const std::uint8_t> input, char16_t *out, bool last)
{
    const std::uint8_t *in = input.data();
    const std::size_t n = input.size();
    std::size_t i = 0;
    int o = 0;
    int unmapped = 0;
    while (i < n) {
        const std::uint8_t c = in[i];
        if (c < 0x80) {
            out[o++] = c;
            ++i;
            i = copyAscii(in, i, n, out, o);
            continue;
        }
        // Runs of the common three-byte form (kana, kanji, Hangul) in one loop.
        if (c >= 0xE1 && c <= 0xEF && i + 2 < n && isUtf8Continuation(in[i + 1]) &&
            isUtf8Continuation(in[i + 2])) {
            do {
                out[o++] = utf8ThreeByteValue(in + i);
                i += 3;
            } while (i + 2 < n && in[i] >= 0xE1 && in[i] <= 0xEF && isUtf8Continuation(in[i + 1]) &&
                     isUtf8Continuation(in[i + 2]));
            continue;
        }
        // The well-formed sequences, except that ED A0-BF (an encoded surrogate,
        // as older files of this editor hold) is taken like any ED sequence.
        std::size_t need;
        std::uint8_t lo = 0x80, hi = 0xBF; // range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            need = 1;
        } else if (c == 0xE0) {
            need = 2;
            lo = 0xA0;
        } else if (c >= 0xE1 && c <= 0xEF) {
            need = 2;
        } else if (c == 0xF0) {
            need = 3;
            lo = 0x90;
        } else if (c >= 0xF1 && c <= 0xF3) {
            need = 3;
        } else if (c == 0xF4) {
            need = 3;
            hi = 0x8F;
        } else {
            out[o++] = ReplacementCharacter; // 80-C1, F5-FF never start a sequence
            ++unmapped;
            ++i;
            continue;
        }
        std::size_t j = 1;
        for (; j <= need && i + j < n; ++j) {
            const std::uint8_t b = in[i + j];
            if (j == 1 ? (b < lo || b > hi) : !isUtf8Continuation(b))
                break;
        }
        if (j > need) {
            if (need == 1) {
                out[o++] = utf8TwoByteValue(in + i);
            } else if (need == 2) {
                out[o++] = utf8ThreeByteValue(in + i);
            } else {
                const char32_t cp = utf8FourByteValue(in + i);
                out[o++] = char16_t(0xD800 + ((cp - 0x10000) >> 10));
                out[o++] = char16_t(0xDC00 + ((cp - 0x10000) & 0x3FF));
            }
            i += need + 1;
        } else if (i + j >= n && !last) {
            break; // cut off by the end of the piece: the next piece begins with it
        } else {
            // The longest start of a sequence that could still have been valid,
            // as one replacement; the byte that broke it is looked at afresh.
            out[o++] = ReplacementCharacter;
            ++unmapped;
            i += j;
        }
    }
    return {o, int(i), unmapped};
}

DecodeResult DecodeSjis(std::span<const std::uint8_t> input, char16_t *out, bool last)
{
    const std::uint8_t *in = input.data();
    const std::size_t n = input.size();
    const char16_t *index = sjisIndex();
    std::size_t i = 0;
    int o = 0;
    int unmapped = 0;
    while (i < n) {
        // The table maps 0x00-0x7F to themselves.
        i = copyAscii(in, i, n, out, o);
        if (i >= n)
            break;
        const std::uint8_t c = in[i];
        if (isSjisLead(c)) {
            if (i + 1 < n) {
                if (isSjisTrail(in[i + 1])) {
                    out[o++] = mapCode(index, unsigned(c << 8 | in[i + 1]), unmapped);
                    i += 2;
                    continue;
                }
            } else if (!last) {
                break; // the trail byte may begin the next piece
            }
        }
        out[o++] = mapCode(index, c, unmapped);
        ++i;
    }
    return {o, int(i), unmapped};
}

DecodeResult DecodeEuc(std::span<const std::uint8_t> input, char16_t *out, bool last)
{
    const std::uint8_t *in = input.data();
    const std::size_t n = input.size();
    const char16_t *index = eucIndex();
    std::size_t i = 0;
    int o = 0;
    int unmapped = 0;
    while (i < n) {
        i = copyAscii(in, i, n, out, o);
        if (i >= n)
            break;
        const std::uint8_t c = in[i];
        if (c < 0x80) {
            out[o++] = c;
            ++i;
            continue;
        }
        if (i + 1 >= n) {
            if (last) {
                ++i; // a lone first byte at the end of the line is dropped
                ++unmapped;
            }
            break;
        }
        // Pairs only: a single-shift-3 byte and its next byte form an absent
        // code, and the third byte begins the next pair.
        out[o++] = mapCode(index, unsigned(c << 8 | in[i + 1]), unmapped);
        i += 2;
    }
    return {o, int(i), unmapped};
}

DecodeResult decodeCp949(std::span<const std::uint8_t> input, char16_t *out, bool last)
{
    const std::uint8_t *in = input.data();
    const std::size_t n = input.size();
    const char16_t *index = cp949Index();
    std::size_t i = 0;
    int o = 0;
    int unmapped = 0;
    // KS X 1001 codes have both bytes from 0xA1 up: a pair with a character and
    // a lower byte is a UHC extension code. The top bit of `below` is set then.
    unsigned below = 0;
    while (i < n) {
        // Korean text: pairs with a character, between them blanks, digits and
        // punctuation. The table alone tells a pair from the rest, since every
        // code it holds is a lead byte and a trail byte.
        while (i + 1 < n) {
            const unsigned c = in[i];
            if (c < 0x80) {
                out[o++] = char16_t(c);
                ++i;
                if (in[i] < 0x80)
                    i = copyAscii(in, i, n, out, o);
                continue;
            }
            const unsigned t = in[i + 1];
            const char16_t u = index[c << 8 | t];
            if (u == Unmapped)
                break;
            below |= (c - 0xA1) | (t - 0xA1);
            out[o++] = u;
            i += 2;
        }
        if (i >= n)
            break;
        const std::uint8_t c = in[i];
        if (c < 0x80) {
            out[o++] = c; // the last byte
            ++i;
            continue;
        }
        if (isCp949Lead(c)) {
            if (i + 1 < n) {
                if (isCp949Trail(in[i + 1])) {
                    out[o++] = MissingCharacter; // a pair the table lacks
                    ++unmapped;
                    i += 2;
                    continue;
                }
            } else if (!last) {
                break; // the trail byte may begin the next piece
            }
        }
        // 0x80, 0xFF, or a lead byte without its trail: the next byte is looked
        // at afresh.
        out[o++] = MissingCharacter;
        ++unmapped;
        ++i;
    }
    return {o, int(i), unmapped, (below >> 31) != 0};
}

char16_t LookupCode(std::span<const CodeEntry> table, std::uint16_t code)
{
    std::ptrdiff_t low = 0;
    std::ptrdiff_t high = std::ptrdiff_t(table.size()) - 1;
    while (low <= high) {
        const std::ptrdiff_t middle = (low + high) / 2;
        const std::uint16_t probed = table[std::size_t(middle)].code;
        if (probed == code)
            return table[std::size_t(middle)].character;
        if (probed < code)
            low = middle + 1;
        else
            high = middle - 1;
    }
    return MissingCharacter;
}
