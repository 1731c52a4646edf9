// The main window's desktop commands: shortcuts, the two web pages, the about box.
#include "app/forms.h"
#include "app/main_window.h"
#include "desktop/copyright_form.h"
#include "desktop/shortcuts.h"
#include "desktop/web_sites.h"
#include "platform/platform.h"

void TForm1::createShortcutinprogrammenu1Click()
{
    CreateProgramMenuShortcut(this, platform().executablePath());
}

void TForm1::createshortcutinDesktopmenu1Click()
{
    CreateDesktopShortcut(this, platform().executablePath());
}

// A browser that does not start is not reported: the command simply has no effect.
void TForm1::Jumptoofficialwebsite1Click()
{
    platform().openUrl(officialWebSiteUrl());
}

void TForm1::JumptoTavrilJishowebsite1Click()
{
    platform().openUrl(tavrilJishoWebSiteUrl());
}

void TForm1::copyright1Click()
{
    if (!copyrightform)
        return;
    copyrightform->centreOn(this);
    platform().execDialog(copyrightform);
}
