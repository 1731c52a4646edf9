// The kanji reading table: one record per ideograph, sorted by ideograph, strictly
// ascending. Generated from tools/data/hanja_readings.txt by tools/gen_hanja_table.py.
#pragma once

#include <cstddef>
#include <cstdint>

struct HanjaReading
{
    std::uint16_t readingCount;  // 1 or 2; informational, the lookup never reads it
    std::uint16_t ideograph;     // the key
    std::uint16_t firstReading;  // primary Hangul syllable
    std::uint16_t secondReading; // alternate syllable (mostly the word-initial form), or 0
};
static_assert(sizeof(HanjaReading) == 8);

inline constexpr std::size_t HanjaReadingCount = 2192;
extern const HanjaReading HanjaReadingTable[HanjaReadingCount];
