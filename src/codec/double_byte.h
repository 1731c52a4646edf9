// The lead and trail byte ranges of the two-byte encodings (Shift JIS and
// CP949), written once for the decoders and the encoding detection. Plain C++.
#pragma once

#include <cstdint>

constexpr bool isSjisLead(std::uint8_t c)
{
    return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

constexpr bool isSjisTrail(std::uint8_t c)
{
    return c >= 0x40 && c <= 0xFC && c != 0x7F;
}

constexpr bool isCp949Lead(std::uint8_t c)
{
    return c >= 0x81 && c <= 0xFE;
}

constexpr bool isCp949Trail(std::uint8_t c)
{
    return (c >= 0x41 && c <= 0x5A) || (c >= 0x61 && c <= 0x7A) || (c >= 0x81 && c <= 0xFE);
}
