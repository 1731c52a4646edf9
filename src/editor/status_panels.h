// The main window's status bar by what it shows: panel 0 the input mode, panel 1
// the caret's place, panel 2 the word-wrap state, panel 3 the file label (its
// encoding and path, or what was last written). The commands of every subsystem
// show their results here through these named operations.
#pragma once

#include <QString>

class QLabel;
class QStatusBar;

class StatusPanels
{
public:
    // Adds the four panels ("StatusBar1Panel0" to 3) to `bar`.
    explicit StatusPanels(QStatusBar *bar);

    void showMode(int mode);                 // "R", "H" or nothing
    void showCaret(int line, int column);    // both counted from 1
    void showWrap(bool on);                  // "WrapLine" or "noWrapLine"
    void showFileLabel(const QString &text); // empty: no file

    QString text(int panel) const;
    // Any text in any panel (a screen reader names a panel by what it shows).
    void setText(int panel, const QString &text);

private:
    QLabel *m_panels[4] = {};
};
