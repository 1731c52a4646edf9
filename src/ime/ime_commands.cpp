#include "ime/ime_commands.h"

#include "document/text_control.h"
#include "editor/editor_context.h"
#include "ime/composer.h"
#include "ime/screen_keyboard_layout.h"
#include "settings/app_state.h"

int editorKeyPress(int key, TextControl &memo, ComposerState &composer)
{
    // The keys that compose a word are one undo step: a space, a line break, a
    // caret move or a key typed as it is ends the word.
    memo.setTypingWord(true);
    const int result = composeKeyInMode(ImeMode, key, memo, composer);
    memo.setTypingWord(false);
    return result;
}

void SendScreenKeyboardKey(const InputTarget &target, int key)
{
    if (key == 0 || !target.control || !target.composer)
        return;
    if (target.pressFind && key == ScreenKeyEnter) {
        target.pressFind(); // exactly as the Find button
        return;
    }
    // Whatever the composer hands back (a space on the second decide, the line
    // feed of Enter) is not typed: the keyboard only composes.
    ComposeDirectKey(key, *target.control, *target.composer, true);
    if (target.isDocument)
        target.control->setSelLength(0);
}
