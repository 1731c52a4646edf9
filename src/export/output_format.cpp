#include "export/output_format.h"

#include "codec/encoders.h"
#include "codec/utf8.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr char16_t LineFeed = u'\n';

constexpr bool isHighSurrogate(char16_t u)
{
    return u >= 0xD800 && u <= 0xDBFF;
}

constexpr bool isLowSurrogate(char16_t u)
{
    return u >= 0xDC00 && u <= 0xDFFF;
}

// ---- UTF-8 ----------------------------------------------------------------

// Stores the UTF-8 form of one non-ASCII unit (or of the pair starting at src[i])
// and returns the number of units it took.
inline std::size_t putUtf8(char *&d, const char16_t *src, std::size_t i, std::size_t available)
{
    const char16_t u = src[i];
    if (u < 0x800) {
        putUtf8TwoBytes(d, u);
        return 1;
    }
    if (isHighSurrogate(u) && i + 1 < available && isLowSurrogate(src[i + 1])) {
        putUtf8FourBytes(d, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (src[i + 1] - 0xDC00));
        return 2;
    }
    putUtf8ThreeBytes(d, u);
    return 1;
}

// Copies the ASCII units other than LF at the start of src[0..n), eight at a
// time where it can; returns the number copied.
inline std::size_t copyAsciiRun(char *&d, const char16_t *src, std::size_t n)
{
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i highBits = _mm_set1_epi16(short(0xFF80));
    const __m128i lineFeed = _mm_set1_epi16(short(LineFeed));
    const __m128i zero = _mm_setzero_si128();
    while (i + 8 <= n) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + i));
        const __m128i ascii = _mm_cmpeq_epi16(_mm_and_si128(v, highBits), zero);
        const __m128i lf = _mm_cmpeq_epi16(v, lineFeed);
        if (_mm_movemask_epi8(_mm_andnot_si128(lf, ascii)) != 0xFFFF)
            break;
        _mm_storel_epi64(reinterpret_cast<__m128i *>(d), _mm_packus_epi16(v, v));
        d += 8;
        i += 8;
    }
#endif
    while (i < n && src[i] < 0x80 && src[i] != LineFeed)
        *d++ = char(src[i++]);
    return i;
}

StepResult encodeUtf8Step(StepState &state, char *dest, const char16_t *src, std::size_t available,
                          bool more, LineBreakStyle lineBreak)
{
    char *d = dest;
    std::size_t i = 0;
    std::size_t budget = state.budget;
    bool full = false;
    while (i < available) {
        if (budget == 0)
            break;
        const char16_t u = src[i];
        if (u >= 0x800) {
            if (isHighSurrogate(u)) {
                if (i + 1 == available && more)
                    break; // its low half may begin the next piece
                if (i + 1 < available && isLowSurrogate(src[i + 1])) {
                    if (budget < 2) {
                        full = true; // the pair goes whole into the next step
                        break;
                    }
                    i += putUtf8(d, src, i, available);
                    budget -= 2;
                    continue;
                }
            }
            putUtf8ThreeBytes(d, u);
        } else if (u >= 0x80) {
            putUtf8TwoBytes(d, u);
        } else if (u == LineFeed) {
            if (budget < 2) {
                full = true;
                break;
            }
            if (lineBreak != LineBreakStyle::Lf)
                *d++ = '\r';
            if (lineBreak != LineBreakStyle::Cr)
                *d++ = '\n';
            --budget;
        } else {
            const std::size_t run = copyAsciiRun(d, src + i, std::min(available - i, budget));
            i += run;
            budget -= run;
            continue;
        }
        ++i;
        --budget;
    }
    state.budget = budget;
    return {i, std::size_t(d - dest), full || budget == 0};
}

// ---- UTF-16 and the legacy encodings ----------------------------------------

// The units before the first LF in src[0, n).
inline std::size_t runToLineFeed(const char16_t *src, std::size_t n)
{
    std::size_t i = 0;
    while (i < n && src[i] != LineFeed)
        ++i;
    return i;
}

inline void putUtf16(char *&d, char16_t u, bool bigEndian)
{
    if (bigEndian) {
        *d++ = char(u >> 8);
        *d++ = char(u & 0xFF);
    } else {
        *d++ = char(u & 0xFF);
        *d++ = char(u >> 8);
    }
}

// Units are written as they are, surrogate halves included; runs between line
// breaks go through `encodeRun`, each line break in the document's style through
// `putBreak`.
template <typename EncodeRun, typename PutBreak>
StepResult encodeRunsStep(StepState &state, char *dest, const char16_t *src, std::size_t available,
                          EncodeRun encodeRun, PutBreak putBreak)
{
    char *d = dest;
    std::size_t i = 0;
    std::size_t budget = state.budget;
    bool full = false;
    while (i < available && budget > 0) {
        const std::size_t run = runToLineFeed(src + i, std::min(available - i, budget));
        d += encodeRun(d, src + i, run);
        i += run;
        budget -= run;
        if (i < available && budget > 0 && src[i] == LineFeed) {
            if (budget < 2) {
                full = true;
                break;
            }
            putBreak(d);
            ++i;
            budget -= 2;
        }
    }
    state.budget = budget;
    return {i, std::size_t(d - dest), full || budget == 0};
}

StepResult encodeUtf16Step(StepState &state, char *dest, const char16_t *src, std::size_t available,
                           bool bigEndian, LineBreakStyle lineBreak)
{
    return encodeRunsStep(
        state, dest, src, available,
        [bigEndian](char *d, const char16_t *s, std::size_t n) {
            for (std::size_t k = 0; k < n; ++k)
                putUtf16(d, s[k], bigEndian);
            return 2 * n;
        },
        [bigEndian, lineBreak](char *&d) {
            if (lineBreak != LineBreakStyle::Lf)
                putUtf16(d, u'\r', bigEndian);
            if (lineBreak != LineBreakStyle::Cr)
                putUtf16(d, u'\n', bigEndian);
        });
}

StepResult encodeLegacyStep(StepState &state, char *dest, const char16_t *src,
                            std::size_t available, LegacyEncoding encoding,
                            LineBreakStyle lineBreak)
{
    return encodeRunsStep(
        state, dest, src, available,
        [encoding](char *d, const char16_t *s, std::size_t n) {
            return encodeLegacy(encoding, d, s, n);
        },
        [lineBreak](char *&d) {
            if (lineBreak != LineBreakStyle::Lf)
                *d++ = '\r';
            if (lineBreak != LineBreakStyle::Cr)
                *d++ = '\n';
        });
}

// ---- HTML numeric character references --------------------------------------

// "&#u;" for every unit from the space up; the ASCII ones come from a table.
struct HtmlEntry
{
    char text[8];
    std::uint8_t size;
};

constexpr std::array<HtmlEntry, 128> makeHtmlTable()
{
    std::array<HtmlEntry, 128> table{};
    for (unsigned u = 32; u < 128; ++u) {
        HtmlEntry &e = table[u];
        std::uint8_t n = 0;
        e.text[n++] = '&';
        e.text[n++] = '#';
        if (u >= 100)
            e.text[n++] = char('0' + u / 100);
        if (u >= 10)
            e.text[n++] = char('0' + u / 10 % 10);
        e.text[n++] = char('0' + u % 10);
        e.text[n++] = ';';
        e.size = n;
    }
    return table;
}

constexpr std::array<HtmlEntry, 128> HtmlTable = makeHtmlTable();

inline void putDecimalReference(char *&d, char32_t u)
{
    char digits[7]; // up to U+10FFFF
    int n = 0;
    do {
        digits[n++] = char('0' + u % 10);
        u /= 10;
    } while (u != 0);
    *d++ = '&';
    *d++ = '#';
    while (n > 0)
        *d++ = digits[--n];
    *d++ = ';';
}

StepResult encodeHtmlStep(StepState &state, char *dest, const char16_t *src, std::size_t available,
                          bool more)
{
    char *d = dest;
    std::size_t i = 0;
    std::size_t budget = state.budget;
    bool full = false;
    for (; i < available && budget > 0; ++i) {
        const char16_t u = src[i];
        if (u >= 32 && u < 128) {
            std::memcpy(d, HtmlTable[u].text, sizeof HtmlTable[u].text);
            d += HtmlTable[u].size;
        } else if (isHighSurrogate(u) && i + 1 == available && more) {
            break; // its low half may begin the next piece
        } else if (isHighSurrogate(u) && i + 1 < available && isLowSurrogate(src[i + 1])) {
            // One reference for the character: a browser shows a reference to
            // a surrogate half as a replacement character.
            if (budget < 2) {
                full = true; // the pair goes whole into the next step
                break;
            }
            putDecimalReference(d,
                                0x10000 + ((char32_t(u) - 0xD800) << 10) + (src[i + 1] - 0xDC00));
            ++i;
            --budget;
        } else if (u >= 128) {
            putDecimalReference(d, u);
        } else if (u == LineFeed) {
            if (budget < 2) {
                full = true;
                break;
            }
            // The CR of the line break, then its LF as the text file writes it.
            *d++ = '\r';
            *d++ = '\r';
            *d++ = '\n';
            --budget;
        } else if (u != 0) {
            *d++ = char(u); // tab, CR and the other control codes stay raw bytes
        }
        --budget;
    }
    state.budget = budget;
    return {i, std::size_t(d - dest), full || budget == 0};
}

// ---- C wide-character array -------------------------------------------------

constexpr std::string_view ValuesLineBreak = "\r\n    ";
static_assert(ValuesLineBreak.size() == 6);

struct HexEntry
{
    char text[8];
    std::uint8_t size;
};

constexpr std::array<HexEntry, 128> makeHexTable()
{
    std::array<HexEntry, 128> table{};
    constexpr char digits[] = "0123456789abcdef";
    for (unsigned u = 0; u < 128; ++u) {
        HexEntry &e = table[u];
        std::uint8_t n = 0;
        e.text[n++] = '0';
        e.text[n++] = 'x';
        if (u >= 16)
            e.text[n++] = digits[u >> 4];
        e.text[n++] = digits[u & 15];
        e.text[n++] = ',';
        e.size = n;
    }
    return table;
}

constexpr std::array<HexEntry, 128> HexTable = makeHexTable();

inline void putHexValue(char *&d, unsigned u, int &counter)
{
    if (u < 128) {
        std::memcpy(d, HexTable[u].text, sizeof HexTable[u].text);
        d += HexTable[u].size;
    } else {
        constexpr char digits[] = "0123456789abcdef";
        *d++ = '0';
        *d++ = 'x';
        int shift = u >= 0x1000 ? 12 : u >= 0x100 ? 8 : 4;
        for (; shift >= 0; shift -= 4)
            *d++ = digits[(u >> shift) & 15];
        *d++ = ',';
    }
    if (++counter == 10) {
        std::memcpy(d, ValuesLineBreak.data(), ValuesLineBreak.size());
        d += ValuesLineBreak.size();
        counter = 0;
    }
}

StepResult encodeCArrayStep(StepState &state, char *dest, const char16_t *src,
                            std::size_t available)
{
    char *d = dest;
    std::size_t i = 0;
    std::size_t budget = state.budget;
    int counter = state.counter; // values on the current output line of this step
    bool full = false;
    for (; i < available && budget > 0; ++i) {
        const char16_t u = src[i];
        if (u == LineFeed) {
            if (budget < 2) {
                full = true;
                break;
            }
            putHexValue(d, u'\r', counter);
            --budget;
        }
        putHexValue(d, u, counter);
        --budget;
    }
    state.budget = budget;
    state.counter = counter;
    return {i, std::size_t(d - dest), full || budget == 0};
}

} // namespace

std::size_t EncodeUtf8(char *dest, const char16_t *src, std::size_t count)
{
    char *d = dest;
    std::size_t i = 0;
    while (i < count) {
        i += copyAsciiRun(d, src + i, count - i);
        if (i >= count)
            break;
        const char16_t u = src[i];
        if (u < 0x80) {
            *d++ = char(u); // the line feed, which the run stops at
            ++i;
        } else {
            i += putUtf8(d, src, i, count);
        }
    }
    *d = '\0';
    return std::size_t(d - dest);
}

StepResult encodeStep(OutputFormat format, char *dest, const char16_t *src, std::size_t available,
                      LineBreakStyle lineBreak)
{
    StepState state;
    return continueStep(format, state, dest, src, available, false, lineBreak);
}

StepResult continueStep(OutputFormat format, StepState &state, char *dest, const char16_t *src,
                        std::size_t available, bool more, LineBreakStyle lineBreak)
{
    switch (format) {
    case OutputFormat::Utf8:
    case OutputFormat::Utf8Bom:
        return encodeUtf8Step(state, dest, src, available, more, lineBreak);
    case OutputFormat::Html:
        return encodeHtmlStep(state, dest, src, available, more);
    case OutputFormat::CArray:
        return encodeCArrayStep(state, dest, src, available);
    case OutputFormat::Utf16Le:
    case OutputFormat::Utf16Be:
        return encodeUtf16Step(state, dest, src, available, format == OutputFormat::Utf16Be,
                               lineBreak);
    case OutputFormat::ShiftJis:
        return encodeLegacyStep(state, dest, src, available, LegacyEncoding::ShiftJis, lineBreak);
    case OutputFormat::EucJp:
        return encodeLegacyStep(state, dest, src, available, LegacyEncoding::EucJp, lineBreak);
    case OutputFormat::Cp949:
        return encodeLegacyStep(state, dest, src, available, LegacyEncoding::Cp949, lineBreak);
    }
    return {};
}

std::string_view formatHead(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Utf8:
    case OutputFormat::ShiftJis:
    case OutputFormat::EucJp:
    case OutputFormat::Cp949:
        return {};
    case OutputFormat::Utf8Bom:
        return "\xEF\xBB\xBF";
    case OutputFormat::Utf16Le:
        return "\xFF\xFE";
    case OutputFormat::Utf16Be:
        return "\xFE\xFF";
    case OutputFormat::Html:
        return "<html>\r\n<body>\r\n";
    case OutputFormat::CArray:
        return "  wchar_t unicodestr[]={\r\n    ";
    }
    return {};
}

std::string_view formatTail(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Utf8:
    case OutputFormat::Utf8Bom:
    case OutputFormat::Utf16Le:
    case OutputFormat::Utf16Be:
    case OutputFormat::ShiftJis:
    case OutputFormat::EucJp:
    case OutputFormat::Cp949:
        return {};
    case OutputFormat::Html:
        return "\r\n</body>\r\n</html>";
    case OutputFormat::CArray:
        return "0\r\n  };";
    }
    return {};
}
