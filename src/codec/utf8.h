// The UTF-8 bit packing, written once: the continuation-byte test and the
// byte forms of one code point, read by the decoders and the encoding check
// and written by the output formats. Plain C++, no Qt.
#pragma once

#include <cstdint>

constexpr bool isUtf8Continuation(std::uint8_t c)
{
    return (c & 0xC0) == 0x80;
}

// The code point of a two-, three- or four-byte sequence starting at s; the
// lead and continuation bytes are taken as checked by the caller.
constexpr char16_t utf8TwoByteValue(const std::uint8_t *s)
{
    return char16_t((s[0] & 0x1F) << 6 | (s[1] & 0x3F));
}

constexpr char16_t utf8ThreeByteValue(const std::uint8_t *s)
{
    return char16_t((s[0] & 0x0F) << 12 | (s[1] & 0x3F) << 6 | (s[2] & 0x3F));
}

constexpr char32_t utf8FourByteValue(const std::uint8_t *s)
{
    return char32_t(s[0] & 0x07) << 18 | char32_t(s[1] & 0x3F) << 12 | char32_t(s[2] & 0x3F) << 6 |
           char32_t(s[3] & 0x3F);
}

// Stores the UTF-8 form of u (0x80-0x7FF: two bytes; 0x800-0xFFFF: three
// bytes) or of c (0x10000 up: four bytes) at d and moves d past it.
inline void putUtf8TwoBytes(char *&d, char16_t u)
{
    *d++ = char(0xC0 | (u >> 6));
    *d++ = char(0x80 | (u & 0x3F));
}

inline void putUtf8ThreeBytes(char *&d, char16_t u)
{
    *d++ = char(0xE0 | (u >> 12));
    *d++ = char(0x80 | ((u >> 6) & 0x3F));
    *d++ = char(0x80 | (u & 0x3F));
}

inline void putUtf8FourBytes(char *&d, char32_t c)
{
    *d++ = char(0xF0 | (c >> 18));
    *d++ = char(0x80 | ((c >> 12) & 0x3F));
    *d++ = char(0x80 | ((c >> 6) & 0x3F));
    *d++ = char(0x80 | (c & 0x3F));
}
