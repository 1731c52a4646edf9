// The main window's commands for the input aids: the screen keyboard, the keymap
// help and the accent pads.
#include "aids/accent2_form.h"
#include "aids/accent_form.h"
#include "ime/hangul_skb_form.h"
#include "ime/help_form.h"
#include "app/app_state.h"
#include "app/forms.h"
#include "app/main_window.h"

namespace {

void bringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

// Both "Accent PAD" items: the pad is created once, the image pad only where the
// platform asks for it, and shown again on every later command.
void openAccentPad(TForm1 *owner)
{
    if (!accentPadCreated) {
        accentPadCreated = true;
        if (isWin9x)
            new Taccent2form(owner);
        else
            new Taccentform(owner);
    }
    if (isWin9x) {
        if (accent2form)
            bringUp(accent2form);
    } else if (accentform) {
        bringUp(accentform);
    }
}

} // namespace

void TForm1::Screenkeyboard1Click()
{
    if (hangulskbform) {
        hangulskbform->show();
        hangulskbform->raise();
    }
}

void TForm1::Screenkeyboard2Click()
{
    Screenkeyboard1Click();
}

void TForm1::keymap1Click()
{
    if (helpform)
        bringUp(helpform);
}

void TForm1::AccentPAD1Click()
{
    openAccentPad(this);
}

void TForm1::AccentPAD2Click()
{
    openAccentPad(this);
}

void TForm1::destroyAccentPad()
{
    if (!accentPadCreated)
        return;
    delete accentform; // each clears its global pointer
    delete accent2form;
    accentPadCreated = false;
}
