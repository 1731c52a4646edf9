#include "aids/input_target.h"

#include "aids/accent_insert.h"
#include "app/app_state.h"
#include "app/forms.h"
#include "app/main_window.h"

void InsertAccentCharacter(char16_t code)
{
    if (!Form1)
        return;
    insertAccentCharacter(Form1->memo(), code);
    documentModified = true;
}

void SendScreenKeyboardKey(int) {}
