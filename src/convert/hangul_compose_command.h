// "compose Hangul (NFC)" and "decompose Hangul (NFD)" on a text control: the
// selection, or the whole text without one, rewritten in one edit.
#pragma once

class TextControl;

// Composes (or decomposes) the selection, or the whole text when nothing is
// selected, as one edit (one undo step); a selection stays selected over the
// result. False, and nothing touched, when there was nothing to change.
bool normalizeHangulIn(TextControl &control, bool compose);
