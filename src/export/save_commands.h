// The save command, its over-write variant and the two exports on the main editor.
#pragma once

struct EditorContext;

enum class SaveOutcome { Saved, Cancelled, Failed };

// "save file": the UTF-8 save through the save dialog (to the document's file while
// saveToCurrentFile is set); the document is unmodified only when the file was written.
SaveOutcome saveDocument(EditorContext &editor);
// "over write save file UTF-8": to the opened file when there is one.
SaveOutcome overwriteSaveCommand(EditorContext &editor);
// Before the document is replaced or the window closes: a modified document is
// offered for saving ("Save file?"). False when the user chose to save and the
// save did not complete, so that what was asked must not happen.
bool saveBeforeReplacing(EditorContext &editor);
// The save the exit flow runs: the over-write save.
SaveOutcome saveOnTheWayOut(EditorContext &editor);
// The two exports.
SaveOutcome exportHtmlCommand(EditorContext &editor);
SaveOutcome exportCArrayCommand(EditorContext &editor);
