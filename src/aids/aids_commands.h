// The commands of the accent pads: both "Accent PAD" items and the close flow's
// removal of the pad.
#pragma once

#include "editor/editor_context.h"

#include <QPointer>

class QWidget;
class Taccentform;
class Taccent2form;

// Brings a tool window up: shown, raised and active.
void bringUp(QWidget *window);

// The pad is created once, the image pad only where the platform asks for it, and
// shown again on every later command. `owner` is the main window.
// The pad made is kept in `pad` or `imagePad`.
void openAccentPad(QWidget *owner, const InputTargetSource &target, QPointer<Taccentform> &pad,
                   QPointer<Taccent2form> &imagePad);

// Destroys the accent pad that exists and clears accentPadCreated.
void destroyAccentPad(QPointer<Taccentform> &pad, QPointer<Taccent2form> &imagePad);
