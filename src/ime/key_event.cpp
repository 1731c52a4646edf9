#include "ime/key_event.h"

#include <QKeyEvent>

int composerKeyFromEvent(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return 0;
    switch (event->key()) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    default:
        break;
    }
    const QString text = event->text();
    if (text.size() != 1)
        return 0;
    const char16_t c = text.front().unicode();
    return c >= 0x20 && c <= 0xFF && c != 0x7F ? int(c) : 0;
}
