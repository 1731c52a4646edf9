// Hangul syllable arithmetic and the jamo tables shared by both key schemes.
// A syllable is 0xAC00 + initial * 588 + vowel * 28 + final; standalone jamo are
// the Hangul compatibility letters.
#pragma once

#include <optional>

namespace hangul {

constexpr char16_t SyllableFirst = 0xAC00;
constexpr char16_t SyllableLast = 0xD7A3;
constexpr int SyllablesPerInitial = 588; // 21 vowels * 28 finals
constexpr int FinalsPerVowel = 28;
// Initial ㅇ with vowel ㅏ: a vowel with no consonant to attach to is written on it.
constexpr char16_t SilentBase = 0xC544;
// Last syllable on the silent initial (ㅇ + ㅣ, no final).
constexpr char16_t SilentLast = 0xC78F;

// The two jamo beyond U+3163 the composer can produce (ㄴ+ㅅ and ㅁ+ㅅ).
constexpr char16_t JamoNieunSios = 0x3167;
constexpr char16_t JamoMieumSios = 0x316F;

// ㅅ as a jamo and as a final index.
constexpr char16_t JamoSios = 0x3145;
constexpr int FinalSios = 19;

// Two finals typed in a row and the compound final they make, sorted by
// (first, second) final index: ㄱㅅ, ㄴㅈ, ㄴㅎ, ㄹㄱ, ㄹㅁ, ㄹㅂ, ㄹㅅ, ㄹㅌ, ㄹㅍ, ㄹㅎ, ㅂㅅ.
struct CompoundFinal
{
    int first;
    int second;
    int compound;
};
inline constexpr CompoundFinal CompoundFinals[] = {
    {1, 19, 3},  {4, 22, 5},  {4, 27, 6},  {8, 1, 9},   {8, 16, 10},  {8, 17, 11},
    {8, 19, 12}, {8, 25, 13}, {8, 26, 14}, {8, 27, 15}, {17, 19, 18},
};

// A standalone jamo followed by ㅅ and the jamo they make: ㄴㅅ, ㄹㅅ, ㅁㅅ, ㅂㅅ
// (sorted by the code of the first).
struct SiosCombination
{
    char16_t first;
    char16_t combined;
};
inline constexpr SiosCombination SiosCombinations[] = {
    {0x3134, JamoNieunSios},
    {0x3139, 0x313D},
    {0x3141, JamoMieumSios},
    {0x3142, 0x3144},
};

inline bool isSyllable(char16_t c)
{
    return c >= SyllableFirst && c <= SyllableLast;
}
// Final index T of a syllable (0 = no final).
inline int finalOf(char16_t syllable)
{
    return (syllable - SyllableFirst) % FinalsPerVowel;
}
// Medial-and-final value M = vowel * 28 + final.
inline int medialOf(char16_t syllable)
{
    return (syllable - SyllableFirst) % SyllablesPerInitial;
}
inline int initialOf(char16_t syllable)
{
    return (syllable - SyllableFirst) / SyllablesPerInitial;
}

// Every jamo the composer reads or writes: U+3131..U+3163 plus ㅧ and ㅯ.
bool isListedJamo(char16_t c);

// The syllable base (vowel ㅏ, no final) of one of the 19 initial-consonant jamo.
std::optional<char16_t> baseOfInitialJamo(char16_t jamo);
// The compatibility jamo of initial index 0..18.
char16_t initialJamo(int initialIndex);
// The final index of a consonant jamo; nothing for ㄸ, ㅃ, ㅉ and non-consonants.
std::optional<int> finalIndexOfJamo(char16_t jamo);

// Backspace on a double or compound consonant jamo: its first component.
std::optional<char16_t> firstComponentOfJamo(char16_t jamo);
// Backspace on a syllable with final T > 0: the final it is reduced to.
int reducedFinal(int finalIndex);

} // namespace hangul
