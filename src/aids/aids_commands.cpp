#include "aids/aids_commands.h"

#include "aids/accent2_form.h"
#include "aids/accent_form.h"
#include "settings/app_state.h"

void bringUp(QWidget *window)
{
    window->show();
    window->raise();
    window->activateWindow();
}

void openAccentPad(QWidget *owner, const InputTargetSource &target, QPointer<Taccentform> &pad,
                   QPointer<Taccent2form> &imagePad)
{
    if (!accentPadCreated) {
        accentPadCreated = true;
        if (isWin9x)
            imagePad = new Taccent2form(owner, target);
        else
            pad = new Taccentform(owner, target);
    }
    if (isWin9x) {
        if (imagePad)
            bringUp(imagePad);
    } else if (pad) {
        bringUp(pad);
    }
}

void destroyAccentPad(QPointer<Taccentform> &pad, QPointer<Taccent2form> &imagePad)
{
    if (!accentPadCreated)
        return;
    delete pad; // the pointers follow
    delete imagePad;
    accentPadCreated = false;
}
