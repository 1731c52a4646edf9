// What the subsystems' commands work on in the main window, handed to them by the
// window: the editor and its document, the waiting label, the status panels and
// the few main-window steps a command must ask for. Also where the screen keyboard
// and the accent pads write at a given moment.
#pragma once

#include <QString>

#include <functional>

class Document;
class MemoView;
class QLabel;
class QWidget;
class TextControl;
struct ComposerState;

struct EditorContext
{
    QWidget *window = nullptr;         // parent of dialogs, repainted while the editor is hidden
    QWidget *editorArea = nullptr;     // holds Memo1 and the waiting label
    MemoView *view = nullptr;          // Memo1
    QLabel *waitingLabel = nullptr;    // Label1: "wait please. Reading now."
    TextControl *memo = nullptr;       // Memo1 as a TextControl
    Document *document = nullptr;      // what Memo1 shows: the text and its file
    ComposerState *composer = nullptr; // Memo1's composer flags
    // Sets the text of status panel 0 to 3.
    std::function<void(int panel, const QString &text)> setPanelText;
    // A modified document is offered for saving; false: what was asked must not happen.
    std::function<bool()> saveBeforeReplacing;
    // Word wrap of the editor with its two indicators (menu caption and panel 2).
    std::function<void(bool on)> setWordWrap;
};

// Where the screen keyboard and the accent pads write: the find dialog's edit line
// while that dialog is visible, the main editor otherwise.
struct InputTarget
{
    TextControl *control = nullptr; // nowhere when null
    ComposerState *composer = nullptr;
    bool isDocument = false;         // the main editor (not the find string)
    std::function<void()> pressFind; // the find dialog's Find button; empty for the editor
};

// Chooses the target afresh for every click.
using InputTargetSource = std::function<InputTarget()>;
