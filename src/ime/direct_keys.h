// The direct scheme's key table (standard two-set Korean layout on a Latin
// keyboard) and its compound finals.
#pragma once

#include <optional>

namespace direct {

struct KeyJamo
{
    char key; // the character the key produces, Shift included
    char16_t jamo;
    bool vowel;
    int vowelOffset; // vowel * 28, for vowels
    int finalIndex;  // for consonants; 0 for ㄸ, ㅃ, ㅉ, which are never finals
};

// The table row of a key character, or nothing for keys outside the layout.
const KeyJamo *lookupKey(int key);

// The compound final formed when final `first` is followed by final `second`.
std::optional<int> compoundFinal(int first, int second);

} // namespace direct
