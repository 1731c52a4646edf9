// The Hangul screen keyboard's two-set layout: the key caps as drawn and the hit
// table that maps a click, in picture coordinates, to the key character it sends.
#pragma once

#include <QString>

#include <span>

inline constexpr int ScreenKeyboardWidth = 616;
inline constexpr int ScreenKeyboardHeight = 168;

// Key characters the hit table sends besides letters and the space bar.
inline constexpr int ScreenKeyBackspace = 8;
inline constexpr int ScreenKeyEnter = 10; // line feed; the find dialog takes it as a find request

// The key character under (x, y), or 0 where a click does nothing (digits, blank
// keys, gaps, x < 40, y < 0). Bounds are inclusive and tried in a fixed order:
// Enter, BS, then the three letter rows. On the Q row the upper half sends the
// shifted letter where the key has a shifted jamo.
int screenKeyboardKeyAt(int x, int y);

enum class KeyCapKind {
    Letter,    // Latin letter, shifted jamo (upper half, may be empty), plain jamo (lower half)
    Backspace, // "BS"
    Enter,     // the tall key spanning the Q and A rows
    Space,     // the decide key
    Digit,     // shown, types nothing
    Blank,     // shown without a label, types nothing
};

struct KeyCap
{
    int left, top, right, bottom; // inclusive, picture coordinates
    KeyCapKind kind;
    char16_t latin;   // letter or digit shown in the corner (0: none)
    char16_t shifted; // jamo shown in the upper half (0: none)
    char16_t plain;   // jamo shown in the lower half (0: none)
};

// Every cap of the picture, the hit regions' caps drawn exactly at their bounds.
std::span<const KeyCap> screenKeyboardCaps();

// The label of a cap without letters ("BS", "Enter", the decide key's text).
QString keyCapLabel(KeyCapKind kind);
