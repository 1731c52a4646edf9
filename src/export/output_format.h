// The three output formats of the save and export commands as allocation-free
// functions from code units to the bytes that reach the disk.
//
// The document comes in with line breaks as single LF units. The UTF-8 save
// writes each one once in the document's style (CR LF, LF or CR); a line break
// counts as two code units wherever the step length is concerned. The two
// exports are text files: every LF they write reaches the disk as CR LF, which
// the encoders below already apply. Nothing is added after the last unit.
#pragma once

#include "document/line_break_style.h"

#include <cstddef>
#include <string_view>

// Code units taken from the document per write step (line breaks counting two).
inline constexpr std::size_t WriteChunkLength = 20000;
// One encoded UTF-8 step never needs more than three bytes per code unit.
inline constexpr std::size_t Utf8BufferSize = 100000;

enum class OutputFormat {
    Utf8,     // UTF-8 without byte-order mark, line breaks in the document's style
    Html,     // ASCII page of decimal numeric character references
    CArray,   // initialiser of the wide-character array `unicodestr`
    Utf8Bom,  // the text formats of "save with encoding", each in the document's style
    Utf16Le,  // with its mark FF FE
    Utf16Be,  // with its mark FE FF
    ShiftJis, // code page 932
    EucJp,
    Cp949, // plain EUC-KR for KS X 1001 text
};

// The formats whose line breaks follow the document (the exports write CR LF).
constexpr bool isTextFormat(OutputFormat format)
{
    return format != OutputFormat::Html && format != OutputFormat::CArray;
}

// Bytes one step of `format` may need at most.
constexpr std::size_t maxStepBytes(OutputFormat format)
{
    switch (format) {
    case OutputFormat::Utf8:
    case OutputFormat::Utf8Bom:
        return 3 * WriteChunkLength; // a surrogate pair: four bytes for two units
    case OutputFormat::Utf16Le:
    case OutputFormat::Utf16Be:
    case OutputFormat::ShiftJis:
    case OutputFormat::EucJp:
    case OutputFormat::Cp949:
        return 2 * WriteChunkLength; // a line break counts two units
    case OutputFormat::Html:
        return 8 * WriteChunkLength; // "&#65535;"
    case OutputFormat::CArray:
        // "0xffff," per unit and a line break of six bytes after every ten values.
        return 7 * WriteChunkLength + (WriteChunkLength / 10) * 6;
    }
    return 0;
}

// The one write buffer: the largest step of any format.
inline constexpr std::size_t StepBufferSize = maxStepBytes(OutputFormat::Html);
static_assert(StepBufferSize >= maxStepBytes(OutputFormat::CArray) &&
              StepBufferSize >= maxStepBytes(OutputFormat::Utf8) && Utf8BufferSize >= 60000);

// Encodes `count` code units as UTF-8, each unit by itself except that a surrogate
// pair becomes one four-byte sequence; a lone surrogate keeps its three-byte form,
// so no unit is ever dropped. U+0000 is the byte 0. Stores a zero byte after the
// bytes written and returns their number (without that zero). `dest` must hold
// 3 * count + 1 bytes.
std::size_t EncodeUtf8(char *dest, const char16_t *src, std::size_t count);

struct StepResult
{
    std::size_t consumed = 0; // code units of the source taken by this step
    std::size_t bytes = 0;    // bytes stored in the destination
    bool full = false;        // the step can take no more units
};

// A write step encoded piece by piece (the document's blocks): what is left of
// its length and the C array's values on the current output line.
struct StepState
{
    std::size_t budget = WriteChunkLength;
    int counter = 0;
};

// Encodes the next write step: takes units from `src` (at most `available`) up
// to WriteChunkLength, a line break counting two, and never splits a line break
// or (for UTF-8) a surrogate pair; a step with anything available takes at least
// one unit. The C array's ten-values-per-line counter starts at zero with every
// step. `lineBreak` is the UTF-8 save's line-break style (the exports always
// write CR LF). `dest` must hold maxStepBytes(format) bytes.
StepResult encodeStep(OutputFormat format, char *dest, const char16_t *src, std::size_t available,
                      LineBreakStyle lineBreak = LineBreakStyle::CrLf);
// Goes on with the step `state` describes over the next piece `src[0, available)`.
// `more`: units follow the piece, so a high surrogate at its very end is left
// unconsumed (not full) for the caller to join with the next piece's first unit.
// Steps cut this way give the same bytes as encodeStep over the whole text.
StepResult continueStep(OutputFormat format, StepState &state, char *dest, const char16_t *src,
                        std::size_t available, bool more,
                        LineBreakStyle lineBreak = LineBreakStyle::CrLf);

// What the file holds before the first step and at its very end.
std::string_view formatHead(OutputFormat format);
std::string_view formatTail(OutputFormat format);
