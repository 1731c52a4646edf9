// Pieces shared by the two key schemes: the context read, the two write-back
// primitives, the decide rule and Backspace.
#pragma once

#include "ime/composer.h"

#include <QtGlobal>

namespace composer {

enum class Scheme { Direct, Romanized };

struct Context
{
    qsizetype caret = 0;
    qsizetype textLength = 0;
    char16_t prev = 0; // the code unit before the caret, when hasPrev
    bool hasPrev = false;
    bool prevIsSyllable = false;
    int finalIndex = 0; // T of prev, when it is a syllable
    int medial = 0;     // M of prev, when it is a syllable
};

// Collapses any selection (at its end for the direct scheme in a multi-line control,
// at its start otherwise; the selected text stays) and reads the character before
// the caret with the control's constant-time charAt.
Context readContext(TextControl &control, Scheme scheme);

// Replaces the character before the caret with c.
void replacePrevious(TextControl &control, const Context &ctx, char16_t c);
// Inserts c at the caret.
void insertAtCaret(TextControl &control, const Context &ctx, char16_t c);

// The space as decide key: returns the key to let through or 0.
int decide(const Context &ctx, int &decideFlag);

// One step of Backspace decomposition; returns the key to let through or 0.
// `clearsPrefixes` tells whether the step is one that clears the romanized
// prefixes (the caller clears its own flags).
struct BackspaceResult
{
    int key = 0;
    bool clearsPrefixes = false;
};
BackspaceResult backspace(TextControl &control, const Context &ctx, bool selfDelete);

} // namespace composer
