#include "codec/encoding_detect.h"

#include "codec/decoders.h"
#include "codec/double_byte.h"
#include "codec/utf8.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <optional>
#include <string_view>
#include <vector>

namespace {

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
            if (!isUtf8Continuation(s[i + 1]))
                return CheckFails;
            i += 2;
        } else if (c <= 0xEF) {
            // Also stray continuation bytes and C0/C1: taken as three-byte leaders.
            if (i + 2 >= n)
                break;
            if (!isUtf8Continuation(s[i + 1]) || !isUtf8Continuation(s[i + 2]))
                return CheckFails;
            i += 3;
        } else if (c <= 0xFE) {
            if (i + 3 >= n)
                break;
            if (!isUtf8Continuation(s[i + 1]) || !isUtf8Continuation(s[i + 2]) ||
                !isUtf8Continuation(s[i + 3]))
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
        if (isSjisLead(c)) {
            if (!isSjisTrail(s[i + 1]))
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

namespace {

bool isHangulSyllable(char16_t c)
{
    return c >= 0xAC00 && c <= 0xD7A3;
}

bool isKana(char16_t c)
{
    return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA);
}

// About three hundred of the most frequent Hangul syllables of ordinary Korean
// text, all of them in KS X 1001. Japanese bytes read as Korean give syllables
// that are rarely among them.
const std::bitset<11172> &commonSyllables()
{
    static const std::bitset<11172> set = [] {
        std::bitset<11172> bits;
        const std::u16string_view list =
            u"이다의는에하고을가로기지서한리사자어대도나인수해있시정아그일으라를부"
            u"여주게국원적전구제거만우마상무보들소장경비방세과문동성요치실신모었선"
            u"면였것조된미화위학내연생스공관없중데했안영물분결말러현민개통발간까려"
            u"본식입할진오양행회용습니울후산저때음더속각명체점교날단반설계차작업트"
            u"파표금외감심님월년번째즘너네죠합같은많좋새운람야겠알싶친족늘침녁밤낮"
            u"초름겨봄씨눈바땅강불집창책컴퓨터밥먹걷뛰듣쓰읽배르랑복쁨슬픔남녕갑맙"
            u"죄송축드립글역술육건병약호환돈값싸크길짧높넓좁빠느겁볍밝둡뜨따춥덥처"
            u"막난디언누엇왜떻얼몇든함께혼또벌써직곧항끔혀별매짜둘셋넷섯곱덟홉열백"
            u"천억권잔살층쪽편끝앞뒤옆래밖근던될되받았준렸씀질답법유목획완변노력패";
        for (char16_t c : list)
            if (isHangulSyllable(c))
                bits.set(std::size_t(c - 0xAC00));
        return bits;
    }();
    return set;
}

// How plausible a reading of the sample is: a score per byte beyond ASCII, from
// what each code reads as. Characters ordinary prose is made of score high,
// rare ones low, codes without a character count against the reading.
struct Reading
{
    double score = 0;
    std::size_t bytes = 0;  // bytes beyond ASCII
    int hangul = 0;         // Hangul syllables (Korean reading)
    bool extension = false; // a UHC extension code (Korean reading)

    double perByte() const { return bytes == 0 ? 0.0 : score / double(bytes); }
    void unreadable(std::size_t n)
    {
        score -= 3.0 * double(n);
        bytes += n;
    }
};

bool isHanja(char16_t c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF);
}

// Korean (code page 949): Hangul syllables score by how common they are; an
// extension syllable (only code page 949 has it) is possible but less likely.
Reading readKorean(std::span<const std::uint8_t> s)
{
    Reading r;
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (i + 1 >= n)
            break; // a lead byte cut off by the end of the sample
        const std::uint8_t t = s[i + 1];
        const char16_t ch = c != 0x80 && c != 0xFF && isCp949Trail(t)
                                ? LookupCode(Cp949Table, std::uint16_t(c << 8 | t))
                                : MissingCharacter;
        if (ch == MissingCharacter) {
            r.unreadable(1);
            ++i;
            continue;
        }
        const bool ks = c >= 0xA1 && t >= 0xA1;
        r.extension = r.extension || !ks;
        r.bytes += 2;
        if (isHangulSyllable(ch)) {
            ++r.hangul;
            r.score += !ks ? 0.8 : commonSyllables().test(std::size_t(ch - 0xAC00)) ? 3.0 : 1.0;
        } else if (ch >= 0x3131 && ch <= 0x318E) {
            r.score += 1.0; // jamo alone: chat laughter and the like
        } else {
            r.score += 0.5; // Hanja, punctuation, symbols
        }
        i += 2;
    }
    return r;
}

// Japanese character scores: kana most, then the common (level 1) kanji, then
// punctuation and the rarer kanji.
double japaneseScore(char16_t ch, bool levelOneKanji)
{
    if (isKana(ch) || ch == 0x30FC)
        return 3.0;
    if (isHanja(ch))
        return levelOneKanji ? 1.5 : 0.5;
    return 1.0;
}

Reading readShiftJis(std::span<const std::uint8_t> s)
{
    Reading r;
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xA1 && c <= 0xDF) {
            r.score += 0.3; // half-width katakana
            ++r.bytes;
            ++i;
            continue;
        }
        if (!isSjisLead(c)) {
            r.unreadable(1);
            ++i;
            continue;
        }
        if (i + 1 >= n)
            break;
        const std::uint8_t t = s[i + 1];
        const std::uint16_t code = std::uint16_t(c << 8 | t);
        const char16_t ch = isSjisTrail(t) ? LookupCode(SjisTable, code) : MissingCharacter;
        if (ch == MissingCharacter) {
            r.unreadable(1);
            ++i;
            continue;
        }
        r.bytes += 2;
        r.score += japaneseScore(ch, code < 0x989F);
        i += 2;
    }
    return r;
}

Reading readEucJp(std::span<const std::uint8_t> s)
{
    Reading r;
    const std::size_t n = s.size();
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (i + 1 >= n)
            break;
        const std::uint8_t t = s[i + 1];
        const char16_t ch = (c == 0x8E || c >= 0xA1) && t >= 0xA1
                                ? LookupCode(EucTable, std::uint16_t(c << 8 | t))
                                : MissingCharacter;
        if (ch == MissingCharacter) {
            r.unreadable(1);
            ++i;
            continue;
        }
        r.bytes += 2;
        r.score += c == 0x8E ? 0.6 : japaneseScore(ch, c < 0xD0);
        i += 2;
    }
    return r;
}

// Strictly valid UTF-8 apart from a sequence cut off by the end of the sample.
bool isValidUtf8(std::span<const std::uint8_t> s)
{
    std::vector<char16_t> out(s.size() + 1);
    const DecodeResult r = DecodeUtf8(s, out.data(), false);
    const std::u16string_view text(out.data(), std::size_t(r.units));
    const std::string_view bytes(reinterpret_cast<const char *>(s.data()), s.size());
    // U+FFFD from the decoder, not written in the file as text.
    std::size_t written = 0;
    for (std::size_t at = bytes.find("\xEF\xBF\xBD"); at != std::string_view::npos;
         at = bytes.find("\xEF\xBF\xBD", at + 3))
        ++written;
    return std::size_t(std::count(text.begin(), text.end(), ReplacementCharacter)) == written;
}

// How far ahead, in points, the Korean reading must be in all.
constexpr double MinKoreanLead = 2.5;

// The Korean reading when it is more plausible than either Japanese one.
std::optional<FileEncoding> koreanEncoding(std::span<const std::uint8_t> s)
{
    const Reading korean = readKorean(s);
    if (korean.hangul == 0)
        return std::nullopt;
    const double japanese = std::max(readShiftJis(s).perByte(), readEucJp(s).perByte());
    // Korean ahead per byte, and by more than a character or two in all: a
    // syllable or two alone are as likely kanji.
    const double lead = korean.perByte() - japanese;
    if (lead <= 0 || lead * double(korean.bytes) < MinKoreanLead)
        return std::nullopt;
    return korean.extension ? CP949 : EUCKR;
}

} // namespace

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

    // Korean text passes the checks above as Shift JIS, EUC-JP or (the UTF-8
    // check being lenient) UTF-8; the Korean check looks at such samples again.
    if (result.bom == NoBom && (choice == SJIS || choice == EUC || choice == UTF8)) {
        Sample buffer;
        if (const auto sample = readSample(open, buffer)) {
            if (choice != UTF8 || !isValidUtf8(*sample))
                if (const auto korean = koreanEncoding(*sample))
                    result.encoding = *korean;
        }
    }
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
        // A file read little-endian as the user chose: "BOM" when its mark agrees.
        return bom == LittleEndianBom ? "UTF16 BOM LE" : "UTF16 nonBOM LE";
    case UTF16BE:
        return bom == BigEndianBom ? "UTF16 BOM BE" : "UTF16 nonBOM BE";
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
