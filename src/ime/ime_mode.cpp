#include "ime/ime_mode.h"

#include "settings/app_state.h"

ImeModeCommand &ImeModeCommand::instance()
{
    static ImeModeCommand command;
    return command;
}

void ImeModeCommand::choose(int mode)
{
    if (mode != ImeNone && mode != ImeRomanized && mode != ImeDirect)
        return;
    ImeMode = mode;
    emit modeChanged(mode);
}
