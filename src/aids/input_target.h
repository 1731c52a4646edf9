// Where the screen keyboard and the accent pads write: the find dialog's edit
// line while that dialog is visible, the main editor otherwise. The choice is
// made afresh for every click.
#pragma once

// Inserts one pad character at the caret of the target, replacing its selection;
// an insertion into the main editor marks the document modified.
void InsertAccentCharacter(char16_t code);

// Sends one screen-keyboard key through the direct composer into the target
// (selfDelete, so Backspace deletes without a key event). Enter starts the search
// while the find dialog is visible and types nothing otherwise; a key the
// composer hands back is not typed. 0 does nothing.
void SendScreenKeyboardKey(int key);
