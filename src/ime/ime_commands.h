// The input method's commands: the editor's key dispatch and the screen keyboard's
// keys (the mode is chosen through ImeModeCommand, ime/ime_mode.h).
#pragma once

class TextControl;
struct ComposerState;
struct InputTarget;

// A typed key of the main editor: runs the mode's composer on `memo`, the keys of
// one word joining one undo step. Returns the key to let through to the editor, 0
// when consumed.
int editorKeyPress(int key, TextControl &memo, ComposerState &composer);

// Sends one screen-keyboard key through the direct composer into the target
// (selfDelete, so Backspace deletes without a key event). Enter presses Find
// while the target is the find dialog and types nothing otherwise; a key the
// composer hands back is not typed. 0 does nothing.
void SendScreenKeyboardKey(const InputTarget &target, int key);
