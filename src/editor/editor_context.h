// What the subsystems' commands work on in the main window, handed to them by the
// window: the editor and its document, the waiting label and the status panels.
// The window follows what the commands change through the signals of those objects
// (Document, MemoView); a command needing another subsystem's command calls it
// through a library it links. Also where the screen keyboard and the accent pads
// write at a given moment.
#pragma once

#include <QString>

#include <functional>

class Document;
class DocumentJournal;
class MemoView;
class QLabel;
class QWidget;
class StatusPanels;
class TextControl;
struct ComposerState;

struct EditorContext
{
    QWidget *window = nullptr;          // parent of dialogs, repainted while the editor is hidden
    QWidget *editorArea = nullptr;      // holds Memo1 and the waiting label
    MemoView *view = nullptr;           // Memo1
    QLabel *waitingLabel = nullptr;     // Label1: "wait please. Reading now."
    TextControl *memo = nullptr;        // Memo1 as a TextControl
    Document *document = nullptr;       // what Memo1 shows: the text and its file
    DocumentJournal *journal = nullptr; // its recovery journal (none in some tests)
    ComposerState *composer = nullptr;  // Memo1's composer flags
    StatusPanels *status = nullptr;     // the status bar, by what each panel shows (always set)
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
