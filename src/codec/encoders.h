// Encoders for the legacy encodings, the inverse of the decoders' tables: Shift JIS
// (code page 932), EUC-JP and code page 949 (plain EUC-KR for KS X 1001 text).
// Where two codes give one character the lowest code is written. Plain C++.
#pragma once

#include <cstddef>
#include <cstdint>

enum class LegacyEncoding { ShiftJis, EucJp, Cp949 };

// The code that gives `unit` (>= 0x80) in `encoding`: a byte (Shift JIS half-width
// katakana) or first byte * 256 + second byte; 0 when none does. A surrogate
// has none.
std::uint16_t legacyCode(LegacyEncoding encoding, char16_t unit);

// A code page 949 code beyond KS X 1001 (a UHC extension code).
constexpr bool isCp949Extension(std::uint16_t code)
{
    return (code >> 8) < 0xA1 || (code & 0xFF) < 0xA1;
}

// Encodes `count` units into `dest` (room for 2 * count bytes) and returns the
// bytes written. ASCII is written as it is; a unit without a code becomes '?'
// (callers refuse such text before writing it).
std::size_t encodeLegacy(LegacyEncoding encoding, char *dest, const char16_t *src,
                         std::size_t count);

// What a text holds that a legacy encoding cannot: characters without a code
// (a surrogate pair counting as one character, a lone surrogate as one), the
// first of them and where it starts; and (code page 949) whether a UHC
// extension code would be written.
struct Unencodable
{
    std::uint64_t count = 0;
    std::uint64_t firstOffset = 0; // in code units from the start of the text
    char32_t first = 0;
    bool extension = false;
};

// Looks at a text piece after piece (a pair may be split between two pieces).
class UnencodableScanner
{
public:
    explicit UnencodableScanner(LegacyEncoding encoding);
    void scan(const char16_t *src, std::size_t count);
    // The result once every piece was scanned.
    Unencodable finish();

private:
    void report(char32_t character, std::uint64_t offset);

    LegacyEncoding m_encoding;
    const std::uint16_t *m_index;
    Unencodable m_result;
    std::uint64_t m_offset = 0;
    char16_t m_high = 0; // a high surrogate waiting for its low half
    std::uint64_t m_highOffset = 0;
};
