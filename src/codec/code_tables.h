// The Shift JIS (code page 932) and EUC-JP conversion tables: constant arrays of
// (code, character) sorted by code, searched by LookupCode.
#pragma once

#include <cstddef>
#include <cstdint>

struct CodeEntry
{
    std::uint16_t code;      // a byte, or first byte * 256 + second byte
    std::uint16_t character; // the UTF-16 code unit
};

inline constexpr std::size_t SjisTableSize = 7915;
inline constexpr std::size_t EucTableSize = 6943;

extern const CodeEntry SjisTable[SjisTableSize];
extern const CodeEntry EucTable[EucTableSize];
