// Cut, Copy, Paste, Clear and Select All on a text control, shared by the main
// editor and the find dialog's edit line. Paste reads the clipboard itself,
// preferring Unicode text, so that Korean and Japanese text arrive intact.
#pragma once

#include <Qt>

class QTimer;
class TextControl;

enum class PasteOutcome {
    NotOpened, // the clipboard could not be opened: nothing happened
    NoText,    // it held no text: nothing happened
    Pasted,    // the text replaced the selection
};

// Puts the selected text on the clipboard (also when empty) and deletes it.
void cutToClipboard(TextControl &control);
// Puts the selected text on the clipboard (also when empty).
void copyToClipboard(TextControl &control);
// Replaces the selection with the clipboard's text: Unicode preferred, 8-bit text
// decoded from the locale's code page, carriage returns dropped, cut at a zero
// unit. The caret ends behind the pasted text with nothing selected.
PasteOutcome pasteFromClipboard(TextControl &control);

// The Ctrl+V interception of the older Windows family (never active here unless
// `isWin9x` is set): pastes through pasteFromClipboard, then makes the control
// read-only for the timer's interval so that its own handling of the same key
// inserts nothing. The key is never marked handled. Returns the paste's outcome,
// or NotOpened when the interception did not act.
PasteOutcome interceptPasteShortcut(TextControl &control, QTimer *readOnlyTimer, int key,
                                    Qt::KeyboardModifiers modifiers);
