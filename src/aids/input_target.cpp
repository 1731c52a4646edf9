#include "aids/input_target.h"

#include "aids/accent_insert.h"
#include "ime/screen_keyboard_layout.h"
#include "app/app_state.h"
#include "app/forms.h"
#include "app/main_window.h"
#include "find/search_form.h"
#include "ime/composer.h"

namespace {

bool findDialogVisible()
{
    return searchform && searchform->isVisible();
}

} // namespace

void InsertAccentCharacter(char16_t code)
{
    if (findDialogVisible()) {
        insertPadCharacterInto(searchform->edit1(), code);
        return; // the find string is not part of the document
    }
    if (!Form1)
        return;
    insertPadCharacterInto(Form1->memo(), code); // marks the document through the editor
}

void SendScreenKeyboardKey(int key)
{
    if (key == 0)
        return;
    if (findDialogVisible()) {
        if (key == ScreenKeyEnter) {
            searchform->Button1Click(); // exactly as the Find button
            return;
        }
        ComposeDirectKey(key, searchform->edit1(), searchform->edit1Composer, true);
        return;
    }
    if (!Form1)
        return;
    // Whatever the composer hands back (a space on the second decide, the line
    // feed of Enter) is not typed: the keyboard only composes.
    ComposeDirectKey(key, Form1->memo(), Form1->memoComposer, true);
    Form1->memo().setSelLength(0);
}
