#include "document/text_control.h"

TextControl::~TextControl() = default;

void TextControl::replaceRange(qsizetype pos, qsizetype len, QStringView text)
{
    setSelStart(pos);
    setSelLength(len);
    replaceSelection(text);
}
