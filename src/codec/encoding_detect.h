// Choosing a file's encoding: the byte-order mark, the UTF-16 byte-order guess
// and the plausibility checks for UTF-8, Shift JIS and EUC-JP over the file's start.
#pragma once

#include "codec/byte_stream.h"
#include "document/file_encoding.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

// What the pairs of bytes at the file's start say about UTF-16 byte order.
enum ByteOrderResult : int {
    ByteOrderLE = 0,
    ByteOrderBE = 1,
    ByteOrderUndecided = -1,
    ByteOrderUnreadable = -2,
};

// Results of the three content checks: the sample is plausible (0), it is not or
// is empty (-1), the file cannot be opened (-2).
enum : int { CheckPasses = 0, CheckFails = -1, CheckUnreadable = -2 };

// The most bytes any content check looks at, counted after a byte-order mark.
inline constexpr std::size_t DetectionSampleSize = 60010;

struct EncodingChoice
{
    FileEncoding encoding = UTF8;
    BomKind bom = NoBom;
    bool operator==(const EncodingChoice &) const = default;
};

// Consumes a byte-order mark at the start of `stream`; 0 for little-endian
// (FF FE), 1 otherwise. Bytes that turn out not to be a mark stay in the stream.
int SkipBom(ByteStream &stream);

// Opens a fresh stream over the same file each time it is called; false when
// the file cannot be opened. Every check below opens the file on its own.
using StreamOpener = std::function<bool(ByteStream &)>;

BomKind DetectBom(const StreamOpener &open);
ByteOrderResult DetectUtf16ByteOrder(const StreamOpener &open);
int CheckUtf8(const StreamOpener &open);
int CheckSjis(const StreamOpener &open);
int CheckEuc(const StreamOpener &open);
EncodingChoice ChooseEncoding(const StreamOpener &open);

// The checks on a sample already read (the mark excluded).
ByteOrderResult DetectUtf16ByteOrder(std::span<const std::uint8_t> sample);
int CheckUtf8(std::span<const std::uint8_t> sample);
int CheckSjis(std::span<const std::uint8_t> sample);
int CheckEuc(std::span<const std::uint8_t> sample);

// Status-bar label for an encoding and its mark, e.g. "UTF16 BOM LE".
std::string_view EncodingLabel(FileEncoding encoding, BomKind bom);

// An opener over a block of memory that outlives it.
StreamOpener memoryOpener(std::span<const std::uint8_t> bytes);
