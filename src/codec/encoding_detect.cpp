#include "codec/encoding_detect.h"

#include <array>
#include <optional>

namespace {

bool isContinuation(std::uint8_t c)
{
    return c >= 0x80 && c <= 0xBF;
}

using Sample = std::array<std::uint8_t, DetectionSampleSize>;

// Opens the file, skips a mark and reads the sample into `buffer`; the bytes
// read, or nothing when the file cannot be opened. A read error ends the sample.
std::optional<std::span<const std::uint8_t>> readSample(const StreamOpener &open, Sample &buffer)
{
    ByteStream stream;
    if (!open(stream))
        return std::nullopt;
    SkipBom(stream);
    return std::span<const std::uint8_t>(buffer.data(), stream.read(buffer.data(), buffer.size()));
}

} // namespace

int SkipBom(ByteStream &stream)
{
    const int first = stream.get();
    if (first < 0)
        return 1;
    const int second = stream.get();
    if (second < 0) {
        stream.unget(std::uint8_t(first));
        return 1;
    }
    if (first == 0xFF && second == 0xFE)
        return 0;
    if (first == 0xFE && second == 0xFF)
        return 1;
    if (first == 0xEF && second == 0xBB) {
        const int third = stream.get();
        if (third == 0xBF)
            return 1;
        if (third >= 0)
            stream.unget(std::uint8_t(third));
    }
    // Not a mark: the bytes are read again by whoever reads next, in their order.
    stream.unget(std::uint8_t(second));
    stream.unget(std::uint8_t(first));
    return 1;
}

BomKind DetectBom(const StreamOpener &open)
{
    ByteStream stream;
    if (!open(stream))
        return Unreadable;
    std::uint8_t head[3];
    const std::size_t n = stream.read(head, 3);
    if (n >= 2 && head[0] == 0xFF && head[1] == 0xFE)
        return LittleEndianBom;
    if (n >= 2 && head[0] == 0xFE && head[1] == 0xFF)
        return BigEndianBom;
    if (n >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF)
        return Utf8Bom;
    return NoBom;
}

ByteOrderResult DetectUtf16ByteOrder(std::span<const std::uint8_t> sample)
{
    const std::size_t n = sample.size();
    if (n < 2)
        return ByteOrderUndecided;
    int littleEndianPairs = 0;
    // An odd last byte is never part of a pair.
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        const std::uint8_t first = sample[i];
        const std::uint8_t second = sample[i + 1];
        if (first == 0x00 && second != 0x00)
            return ByteOrderBE;              // one big-endian pair decides
        if (first == 0x1A && second == 0x00) // end-of-text in little-endian order
            return littleEndianPairs >= 1 ? ByteOrderLE : ByteOrderUndecided;
        if (first != 0x00 && second == 0x00 && ++littleEndianPairs == 2)
            return ByteOrderLE;
    }
    return ByteOrderUndecided;
}

int CheckUtf8(std::span<const std::uint8_t> s)
{
    const std::size_t n = s.size();
    if (n == 0)
        return CheckFails;
    std::size_t i = 0;
    // A sequence cut off by the end of the sample is no error; neither the last
    // byte alone nor overlong forms or encoded surrogates are examined.
    while (i < n) {
        if (i + 1 >= n)
            break;
        const std::uint8_t c = s[i];
        if (c < 0x80) {
            i += 1;
        } else if (c >= 0xC2 && c <= 0xDF) {
            if (!isContinuation(s[i + 1]))
                return CheckFails;
            i += 2;
        } else if (c <= 0xEF) {
            // Also stray continuation bytes and C0/C1: taken as three-byte leaders.
            if (i + 2 >= n)
                break;
            if (!isContinuation(s[i + 1]) || !isContinuation(s[i + 2]))
                return CheckFails;
            i += 3;
        } else if (c <= 0xFE) {
            if (i + 3 >= n)
                break;
            if (!isContinuation(s[i + 1]) || !isContinuation(s[i + 2]) || !isContinuation(s[i + 3]))
                return CheckFails;
            i += 4;
        } else {
            i += 1; // 0xFF is skipped
        }
    }
    return CheckPasses;
}

int CheckSjis(std::span<const std::uint8_t> s)
{
    const std::size_t n = s.size();
    if (n == 0)
        return CheckFails;
    std::size_t i = 0;
    while (i < n) {
        if (i + 1 >= n)
            break;
        const std::uint8_t c = s[i];
        if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) {
            const std::uint8_t t = s[i + 1];
            if (t < 0x40 || t > 0xFC || t == 0x7F)
                return CheckFails;
            i += 2;
        } else if (c < 0x80 || (c >= 0xA1 && c <= 0xDF)) {
            i += 1; // ASCII or half-width katakana
        } else {
            return CheckFails; // 0x80, 0xA0, 0xFD-0xFF
        }
    }
    return CheckPasses;
}

int CheckEuc(std::span<const std::uint8_t> s)
{
    const std::size_t n = s.size();
    if (n == 0)
        return CheckFails;
    const auto inRow = [](std::uint8_t b) { return b >= 0xA1 && b <= 0xFE; };
    std::size_t i = 0;
    while (i < n) {
        if (i + 1 >= n)
            break;
        const std::uint8_t c = s[i];
        if (inRow(c)) {
            if (!inRow(s[i + 1]))
                return CheckFails;
            i += 2;
        } else if (c == 0x8E) { // single-shift 2: half-width katakana
            if (s[i + 1] < 0xA1 || s[i + 1] > 0xDF)
                return CheckFails;
            i += 2;
        } else if (c == 0x8F) { // single-shift 3: three bytes
            if (!inRow(s[i + 1]))
                return CheckFails;
            if (i + 2 >= n)
                break;
            if (!inRow(s[i + 2]))
                return CheckFails;
            i += 3;
        } else if (c >= 0x80) {
            return CheckFails;
        } else {
            i += 1;
        }
    }
    return CheckPasses;
}

namespace {

// Runs one check over the file's sample; `unreadable` when the file cannot be read.
template <typename Result, typename Check>
Result onSample(const StreamOpener &open, Check check, Result unreadable)
{
    Sample buffer;
    const auto sample = readSample(open, buffer);
    return sample ? check(*sample) : unreadable;
}

} // namespace

ByteOrderResult DetectUtf16ByteOrder(const StreamOpener &open)
{
    return onSample(
        open, [](auto s) { return DetectUtf16ByteOrder(s); }, ByteOrderUnreadable);
}

int CheckUtf8(const StreamOpener &open)
{
    return onSample(
        open, [](auto s) { return CheckUtf8(s); }, int(CheckUnreadable));
}

int CheckSjis(const StreamOpener &open)
{
    return onSample(
        open, [](auto s) { return CheckSjis(s); }, int(CheckUnreadable));
}

int CheckEuc(const StreamOpener &open)
{
    return onSample(
        open, [](auto s) { return CheckEuc(s); }, int(CheckUnreadable));
}

EncodingChoice ChooseEncoding(const StreamOpener &open)
{
    EncodingChoice result;
    result.bom = DetectBom(open);
    FileEncoding choice =
        result.bom == LittleEndianBom || result.bom == BigEndianBom ? UTF16 : UTF8;

    const ByteOrderResult order = DetectUtf16ByteOrder(open);
    if (order == ByteOrderLE) {
        // With an FF FE mark the label says "BOM"; the decoding is the same.
        result.encoding = result.bom == LittleEndianBom ? UTF16 : UTF16LE;
        return result;
    }
    if (order == ByteOrderBE) {
        result.encoding = UTF16;
        return result;
    }

    const bool utf8 = CheckUtf8(open) == CheckPasses;
    const bool sjis = CheckSjis(open) == CheckPasses;
    const bool euc = CheckEuc(open) == CheckPasses;
    // Each rule sees the choice the one before it left.
    if (choice == UTF8 && !utf8 && sjis && euc)
        choice = SJIS;
    if (utf8 && !sjis && !euc)
        choice = UTF8;
    if (sjis && !utf8 && !euc)
        choice = SJIS;
    if (euc && !utf8 && !sjis)
        choice = EUC;
    result.encoding = choice;
    return result;
}

std::string_view EncodingLabel(FileEncoding encoding, BomKind bom)
{
    switch (encoding) {
    case SJIS:
        return "SJIS";
    case UTF16:
        if (bom == LittleEndianBom)
            return "UTF16 BOM LE";
        if (bom == BigEndianBom)
            return "UTF16 BOM BE";
        return "UTF16 nonBOM BE";
    case UTF16LE:
        return "UTF16 nonBOM LE";
    case UTF8:
        return bom == Utf8Bom ? "UTF-8 BOM" : "UTF-8 nonBOM";
    case EUC:
        return "EUC";
    case EUCKR:
        return "EUC-KR";
    case CP949:
        return "CP949";
    }
    return "UTF-8 nonBOM";
}

StreamOpener memoryOpener(std::span<const std::uint8_t> bytes)
{
    return [bytes](ByteStream &stream) {
        stream.openMemory(bytes);
        return true;
    };
}
