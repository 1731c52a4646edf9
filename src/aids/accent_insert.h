// Inserting a pad character into a text control: it replaces any selection and
// leaves the caret right behind it. Composition is not involved.
#pragma once

class TextControl;

void insertPadCharacterInto(TextControl &target, char16_t code);
