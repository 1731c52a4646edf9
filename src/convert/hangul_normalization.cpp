#include "convert/hangul_normalization.h"

namespace {

constexpr char16_t SBase = 0xAC00;
constexpr char16_t LBase = 0x1100;
constexpr char16_t VBase = 0x1161;
constexpr char16_t TBase = 0x11A7; // one below the first trailing consonant
constexpr int LCount = 19;
constexpr int VCount = 21;
constexpr int TCount = 28;
constexpr int NCount = VCount * TCount;
constexpr int SCount = LCount * NCount;

constexpr bool isLeading(char16_t c)
{
    return c >= LBase && c < LBase + LCount;
}

constexpr bool isVowel(char16_t c)
{
    return c >= VBase && c < VBase + VCount;
}

constexpr bool isTrailing(char16_t c)
{
    return c > TBase && c < TBase + TCount;
}

constexpr bool isSyllable(char16_t c)
{
    return c >= SBase && c < SBase + SCount;
}

} // namespace

std::u16string composeHangul(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (!out.empty()) {
            const char16_t last = out.back();
            if (isLeading(last) && isVowel(c)) {
                out.back() = char16_t(SBase + ((last - LBase) * VCount + (c - VBase)) * TCount);
                continue;
            }
            if (isSyllable(last) && (last - SBase) % TCount == 0 && isTrailing(c)) {
                out.back() = char16_t(last + (c - TBase));
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

std::u16string decomposeHangul(std::u16string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    for (const char16_t c : text) {
        if (!isSyllable(c)) {
            out.push_back(c);
            continue;
        }
        const int s = c - SBase;
        out.push_back(char16_t(LBase + s / NCount));
        out.push_back(char16_t(VBase + (s % NCount) / TCount));
        if (s % TCount != 0)
            out.push_back(char16_t(TBase + s % TCount));
    }
    return out;
}
