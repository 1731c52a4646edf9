// Typing into a widget as a user would, for the key tests of the editor and the
// find dialog.
#pragma once

#include <QTest>
#include <QWidget>

// Types `keys`: capitals with Shift, "\b" Backspace, "\r" Enter.
inline void typeInto(QWidget *widget, const char *keys)
{
    for (const char *k = keys; *k; ++k) {
        const char c = *k;
        if (c == '\b')
            QTest::keyClick(widget, Qt::Key_Backspace);
        else if (c == '\r')
            QTest::keyClick(widget, Qt::Key_Return);
        else if (c >= 'A' && c <= 'Z')
            QTest::keyClick(widget, c, Qt::ShiftModifier);
        else
            QTest::keyClick(widget, c);
    }
}
