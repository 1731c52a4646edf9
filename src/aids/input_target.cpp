#include "aids/input_target.h"

#include "aids/accent_insert.h"
#include "editor/editor_context.h"

void InsertAccentCharacter(const InputTarget &target, char16_t code)
{
    // The find string is not part of the document; an insertion into the editor
    // marks the document through the editor's change notification.
    if (target.control)
        insertPadCharacterInto(*target.control, code);
}
