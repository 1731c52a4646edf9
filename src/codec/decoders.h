// Line readers and decoders: the next line's raw bytes (or UTF-16 units) from a
// stream, and raw bytes of UTF-8, Shift JIS, EUC-JP or code page 949 (Korean,
// EUC-KR included) turned into UTF-16 units.
#pragma once

#include "codec/byte_stream.h"
#include "codec/code_tables.h"

#include <cstdint>
#include <span>

// The most bytes or code units one read delivers; a longer line comes in pieces.
inline constexpr int MaxLineLength = 70000;

// The character given for a legacy code that has no mapping: WHITE SQUARE.
inline constexpr char16_t MissingCharacter = 0x25A1;
// The character given for each malformed piece of UTF-8.
inline constexpr char16_t ReplacementCharacter = 0xFFFD;

// What ended a line: nothing (the end of the file, or the limit of one read), a
// line break of one of the three styles, or a zero or SUB code.
enum class LineEnd : std::uint8_t { None, Lf, CrLf, Cr, Zero, Sub };

// One read of a line reader.
struct LinePiece
{
    int length = 0;    // bytes or units stored (a terminating zero follows them)
    bool more = false; // the read stopped at the limit: the line goes on in the next read
    LineEnd end = LineEnd::None;
    bool lostByte = false; // UTF-16: an odd last byte of the file made no unit and is lost
};

// Reads the next raw line into `buffer` (room for limit + 1 bytes). LF, CR LF,
// CR, CR SUB, a zero byte and SUB each end a line and are not stored; CR SUB counts
// as a CR.
LinePiece ReadByteLine(ByteStream &stream, std::uint8_t *buffer, int limit);

// Reads the next line of UTF-16 units into `buffer` (room for limit + 1 units).
// The units U+000A, U+000D, U+001A and U+0000 in the given byte order end a line;
// CR LF, CR zero and CR CR LF are one break each (CR zero counting as a CR, CR CR
// LF as CR LF). Units are stored unchecked.
LinePiece ReadUtf16Line(ByteStream &stream, char16_t *buffer, int limit, bool bigEndian);

// What a decoder did: units written and bytes used, and what the text lost.
struct DecodeResult
{
    int units = 0;
    int used = 0;
    // Codes without a character: each became U+25A1 or U+FFFD, or (a lone EUC-JP
    // first byte at the end of a line) was dropped. A U+25A1 or U+FFFD the input
    // holds as a character of its own is not counted.
    int unmapped = 0;
    // Code page 949: a code beyond KS X 1001 (a UHC extension code) had a character.
    bool extension = false;
};

// Each decoder writes at most one unit per input byte to `out`. When `last` is
// false the line goes on in the next piece and a character cut off at the end
// of `in` is left unused, so that the piece after it starts with those bytes.
//
// UTF-8: one- to four-byte sequences (a four-byte one as a surrogate pair, a
// three-byte encoded surrogate as that unit); U+FFFD for each maximal malformed
// piece, never taking a byte that can start a sequence of its own.
DecodeResult DecodeUtf8(std::span<const std::uint8_t> in, char16_t *out, bool last = true);
// Shift JIS through SjisTable, U+25A1 for what it lacks.
DecodeResult DecodeSjis(std::span<const std::uint8_t> in, char16_t *out, bool last = true);
// EUC-JP: ASCII as is, other bytes in pairs through EucTable (U+25A1 for what it
// lacks); a lone first byte at the end of the line is dropped.
DecodeResult DecodeEuc(std::span<const std::uint8_t> in, char16_t *out, bool last = true);
// Code page 949 (and EUC-KR, its KS X 1001 part): ASCII as is; a lead byte
// 0x81-0xFE and a trail byte 0x41-0x5A, 0x61-0x7A or 0x81-0xFE as one code through
// Cp949Table (U+25A1 for what it lacks); any other byte alone as U+25A1.
DecodeResult decodeCp949(std::span<const std::uint8_t> in, char16_t *out, bool last = true);

// Binary search of a sorted table; U+25A1 when the code is absent.
char16_t LookupCode(std::span<const CodeEntry> table, std::uint16_t code);
