// The input method's commands: choosing the mode, the editor's key dispatch and
// the screen keyboard's keys.
#pragma once

#include <QString>

#include <functional>

class TextControl;
struct ComposerState;
struct InputTarget;

// Sets ImeMode and shows it through `setPanelText` (panel 0).
void setImeMode(int mode, const std::function<void(int panel, const QString &text)> &setPanelText);

// A typed key of the main editor: runs the mode's composer on `memo`, the keys of
// one word joining one undo step. Returns the key to let through to the editor, 0
// when consumed.
int editorKeyPress(int key, TextControl &memo, ComposerState &composer);

// Sends one screen-keyboard key through the direct composer into the target
// (selfDelete, so Backspace deletes without a key event). Enter presses Find
// while the target is the find dialog and types nothing otherwise; a key the
// composer hands back is not typed. 0 does nothing.
void SendScreenKeyboardKey(const InputTarget &target, int key);
