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
