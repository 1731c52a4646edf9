// The save command, its over-write variant and the two exports on the main editor.
#pragma once

#include "export/output_format.h"

#include <QString>

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
// "save with encoding": the document written in `format` (one of the text
// formats) through the save dialog, starting at the opened file; `item` is the
// menu item's text, which a refusal names. Characters the encoding cannot hold
// are reported before anything is written, the caret moved to the first of them.
SaveOutcome saveWithEncodingCommand(EditorContext &editor, OutputFormat format,
                                    const QString &item);
