// Writing a pad character into where the input aids write (see InputTarget).
#pragma once

struct InputTarget;

// Inserts one pad character at the caret of the target, replacing its selection;
// an insertion into the main editor marks the document modified.
void InsertAccentCharacter(const InputTarget &target, char16_t code);
