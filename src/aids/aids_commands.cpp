#include "aids/aids_commands.h"

#include "aids/accent2_form.h"
#include "aids/accent_form.h"
#include "app/app_state.h"
#include "app/forms.h"

void bringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void openAccentPad(QWidget *owner, const InputTargetSource &target)
{
    if (!accentPadCreated) {
        accentPadCreated = true;
        if (isWin9x)
            new Taccent2form(owner, target);
        else
            new Taccentform(owner, target);
    }
    if (isWin9x) {
        if (accent2form)
            bringUp(accent2form);
    } else if (accentform) {
        bringUp(accentform);
    }
}

void destroyAccentPad()
{
    if (!accentPadCreated)
        return;
    delete accentform; // each clears its global pointer
    delete accent2form;
    accentPadCreated = false;
}
