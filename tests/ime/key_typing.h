// Types a key string through the composer into a TextControl, doing for every key
// the composer lets through what the editor control itself would do.
#pragma once

#include "document/text_control.h"
#include "ime/composer.h"
#include "settings/app_state.h"

#include <QString>

// The control's own handling of a key that was let through.
inline void controlTypes(TextControl &control, int key)
{
    if (key == KeyBackspace) {
        if (control.selLength() == 0) {
            const qsizetype caret = control.selStart();
            if (caret == 0)
                return;
            control.setSelStart(caret - 1);
            control.setSelLength(1);
        }
        control.replaceSelection(QString());
        return;
    }
    const QChar typed = key == '\r' ? QChar(u'\n') : QChar(char16_t(key));
    control.replaceSelection(QStringView(&typed, 1));
}

// Returns the key let through for the last key of `keys`.
inline int typeKeys(TextControl &control, ComposerState &state, int mode, const char *keys,
                    bool selfDelete = false)
{
    int result = 0;
    for (const char *k = keys; *k; ++k) {
        const int key = static_cast<unsigned char>(*k);
        result = mode == ImeDirect      ? ComposeDirectKey(key, control, state, selfDelete)
                 : mode == ImeRomanized ? ComposeRomanizedKey(key, control, state)
                                        : key;
        if (result != 0)
            controlTypes(control, result);
    }
    return result;
}
