// The program's six windows, created once in their written order and living until
// the program ends; each is handed the others it needs. The accent pads are made
// by the main window on the first "Accent PAD" command.
#pragma once

#include "app/exit_form.h"
#include "app/main_window.h"
#include "desktop/copyright_form.h"
#include "find/search_form.h"
#include "ime/hangul_skb_form.h"
#include "ime/help_form.h"

class ProgramWindows
{
public:
    // `arguments` is the command line, program name first; creating the main window
    // runs its start-up sequence (and the open of a named file) to the end first.
    explicit ProgramWindows(const QStringList &arguments);

    TForm1 form1;
    Tsearchform searchform;
    Thelpform helpform;
    Tcopyrightform copyrightform;
    Texitform exitform;
    Thangulskbform hangulskbform;
};
