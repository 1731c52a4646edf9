// Maps a key event of a text control to the composer's 8-bit key code.
#pragma once

class QKeyEvent;

// The character the key produced (Shift included) when it is 8-bit, Backspace 8,
// Tab 9, Enter 13; 0 when the event is not a composer key: Ctrl, Alt or Meta held
// (copy, paste, select-all and undo stay with the control), or no 8-bit character.
int composerKeyFromEvent(const QKeyEvent *event);
