#include "codec/encoders.h"

#include "codec/code_tables.h"

#include <array>
#include <cstring>
#include <span>

namespace {

// Every BMP unit placed at the code that gives it (0: none). Tables are sorted
// by code, so keeping the first code seen keeps the lowest.
struct ReverseIndex
{
    std::array<std::uint16_t, 65536> codes{};
    explicit ReverseIndex(std::span<const CodeEntry> table)
    {
        for (const CodeEntry &e : table)
            if (e.character >= 0x80 && codes[e.character] == 0)
                codes[e.character] = e.code;
    }
};

const std::uint16_t *reverseIndex(LegacyEncoding encoding)
{
    switch (encoding) {
    case LegacyEncoding::ShiftJis: {
        static const ReverseIndex index(SjisTable);
        return index.codes.data();
    }
    case LegacyEncoding::EucJp: {
        static const ReverseIndex index(EucTable);
        return index.codes.data();
    }
    case LegacyEncoding::Cp949: {
        static const ReverseIndex index(Cp949Table);
        return index.codes.data();
    }
    }
    return nullptr;
}

constexpr std::uint64_t AsciiMask = 0xFF80FF80FF80FF80ULL;

} // namespace

std::uint16_t legacyCode(LegacyEncoding encoding, char16_t unit)
{
    return unit < 0x80 ? 0 : reverseIndex(encoding)[unit];
}

std::size_t encodeLegacy(LegacyEncoding encoding, char *dest, const char16_t *src,
                         std::size_t count)
{
    const std::uint16_t *index = reverseIndex(encoding);
    char *d = dest;
    std::size_t i = 0;
    while (i < count) {
        // Four ASCII units at a time.
        while (i + 4 <= count) {
            std::uint64_t four;
            std::memcpy(&four, src + i, 8);
            if (four & AsciiMask)
                break;
            d[0] = char(src[i]);
            d[1] = char(src[i + 1]);
            d[2] = char(src[i + 2]);
            d[3] = char(src[i + 3]);
            d += 4;
            i += 4;
        }
        if (i >= count)
            break;
        const char16_t u = src[i++];
        if (u < 0x80) {
            *d++ = char(u);
            continue;
        }
        const std::uint16_t code = index[u];
        if (code == 0)
            *d++ = '?';
        else if (code < 0x100)
            *d++ = char(code); // Shift JIS half-width katakana
        else {
            *d++ = char(code >> 8);
            *d++ = char(code & 0xFF);
        }
    }
    return std::size_t(d - dest);
}

UnencodableScanner::UnencodableScanner(LegacyEncoding encoding)
    : m_encoding(encoding), m_index(reverseIndex(encoding))
{
}

void UnencodableScanner::report(char32_t character, std::uint64_t offset)
{
    if (m_result.count++ == 0) {
        m_result.first = character;
        m_result.firstOffset = offset;
    }
}

void UnencodableScanner::scan(const char16_t *src, std::size_t count)
{
    std::size_t i = 0;
    while (i < count) {
        while (m_high == 0 && i + 4 <= count) {
            std::uint64_t four;
            std::memcpy(&four, src + i, 8);
            if (four & AsciiMask)
                break;
            i += 4;
        }
        if (i >= count)
            break;
        const char16_t u = src[i];
        const std::uint64_t offset = m_offset + i;
        ++i;
        if (m_high != 0) {
            const char16_t high = m_high;
            m_high = 0;
            if (u >= 0xDC00 && u <= 0xDFFF) {
                report(0x10000 + ((char32_t(high) - 0xD800) << 10) + (u - 0xDC00), m_highOffset);
                continue;
            }
            report(high, m_highOffset);
        }
        if (u < 0x80)
            continue;
        if (u >= 0xD800 && u <= 0xDBFF) {
            m_high = u;
            m_highOffset = offset;
            continue;
        }
        const std::uint16_t code = m_index[u];
        if (code == 0)
            report(u, offset);
        else if (m_encoding == LegacyEncoding::Cp949 && isCp949Extension(code))
            m_result.extension = true;
    }
    m_offset += count;
}

Unencodable UnencodableScanner::finish()
{
    if (m_high != 0) {
        report(m_high, m_highOffset);
        m_high = 0;
    }
    return m_result;
}
