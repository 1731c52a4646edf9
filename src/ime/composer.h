// The built-in Korean composer: turns key codes into jamo and syllables written
// straight into a TextControl. It keeps no hidden buffer: each key looks at the
// one character before the caret and a few flags, then rewrites that character
// or inserts a new one.
#pragma once

#include <memory>

class LayoutComposer;
class TextControl;
struct InputOptions;

// Per host control (the editor, the find dialog's edit line); all flags 0 or 1.
struct ComposerState
{
    int DirectDecide = 0; // decide flag of the direct scheme
    int RomanDecide = 0;  // decide flag of the romanized scheme
    int PrefixY = 0;      // romanized vowel prefixes, at most one set
    int PrefixW = 0;
    int PrefixCapitalW = 0;
    // The direct mode's composition with a library layout, made on first use.
    std::shared_ptr<LayoutComposer> layout;
    // The input method's choices this host types with (the main window's, shared
    // by the editor and the find dialog); null: the defaults.
    const InputOptions *options = nullptr;
};

// Key codes are 8-bit characters as typed (Shift included); Backspace is 8.
constexpr int KeyBackspace = 8;
constexpr int KeySpace = ' ';

// Direct (two-set layout) scheme. Returns the key the caller must let through to
// the control, or 0 when the key was consumed. With selfDelete the composer deletes
// the character itself where it would otherwise let Backspace through (callers
// without a real key event, like the screen keyboard).
int ComposeDirectKey(int key, TextControl &control, ComposerState &state, bool selfDelete);

// Romanized scheme, same return convention.
int ComposeRomanizedKey(int key, TextControl &control, ComposerState &state);

// A typed key in the input mode `mode` (ImeMode's values): the direct mode with
// the layout chosen in state.options or the romanized scheme, or the key itself
// untouched when no input method is on. The syllable left open is the control's
// composition; a key that decides it ends the composition.
int composeKeyInMode(int mode, int key, TextControl &control, ComposerState &state);
