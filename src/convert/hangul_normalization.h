// Composing conjoining jamo into precomposed Hangul syllables and back, by
// Unicode's Hangul arithmetic alone: a leading consonant U+1100-U+1112 and a
// vowel U+1161-U+1175 make a syllable, a syllable without a final and a trailing
// consonant U+11A8-U+11C2 make one with it. Every other character, old jamo
// included, stays as it is. Plain C++.
#pragma once

#include <string>
#include <string_view>

// The text with every composable sequence composed (canonical composition of
// Hangul); the same text when there is none.
std::u16string composeHangul(std::u16string_view text);
// The text with every precomposed syllable U+AC00-U+D7A3 written as its two or
// three conjoining jamo.
std::u16string decomposeHangul(std::u16string_view text);
