#include "aids/accent_insert.h"

#include "document/text_control.h"

void insertPadCharacterInto(TextControl &target, char16_t code)
{
    const QChar ch(code);
    target.replaceSelection(QStringView()); // selected text goes first
    target.replaceSelection(QStringView(&ch, 1));
    const qsizetype caret = target.selStart() + target.selLength();
    target.setSelStart(caret);
    target.setSelLength(0);
}
