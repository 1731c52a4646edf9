// The input mode shared by the main editor and the find dialog, and the one
// command that changes it. The main window follows modeChanged (status panel 0,
// the editor's open syllable), whichever window's mode item was picked.
#pragma once

#include <QObject>

class ImeModeCommand : public QObject
{
    Q_OBJECT
public:
    // The program's one mode command.
    static ImeModeCommand &instance();

    // Makes `mode` the input mode (ImeMode in settings/app_state.h: this is its
    // one writer) and announces it, also when it was the mode already (a mode item
    // picked again decides the open syllable all the same). A value outside the
    // three modes changes nothing.
    void choose(int mode);

signals:
    void modeChanged(int mode);

private:
    ImeModeCommand() = default;
};
