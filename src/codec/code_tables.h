// The Shift JIS (code page 932), EUC-JP and Korean (code page 949, a superset of
// EUC-KR) conversion tables: constant arrays of (code, character) sorted by code,
// searched by LookupCode.
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
inline constexpr std::size_t Cp949TableSize = 17048;

extern const CodeEntry SjisTable[SjisTableSize];
extern const CodeEntry EucTable[EucTableSize];
extern const CodeEntry Cp949Table[Cp949TableSize];
