// The open and insert text file commands on the main editor: ask for a file,
// choose its encoding, read it whole while the waiting label shows.
#pragma once

#include "codec/encoding_detect.h"

#include <QString>

#include <optional>

struct EditorContext;

// "Open a Text file": `commandLineFile` is opened without a dialog while
// openingFromCommandLine is set; otherwise a modified document is offered for
// saving first.
void openTextFileCommand(EditorContext &editor, const QString &commandLineFile);
// The same command at start-up for the file named on the command line: sets
// openingFromCommandLine (this command is its one writer) and opens `path`.
void openCommandLineFile(EditorContext &editor, const QString &path);
// A file dropped onto the window, after offering a modified document for saving.
void openDroppedFile(EditorContext &editor, const QString &path);
// Reads currentFileName again with `encoding` (nothing: detection chooses).
void reopenWithEncoding(EditorContext &editor, std::optional<FileEncoding> encoding);
// The open command once the path is known, with the waiting label.
void openPath(EditorContext &editor, const QString &path,
              std::optional<FileEncoding> encoding = std::nullopt);
// Replaces the document with the file (status bar and currentFileName too).
void loadIntoEditor(EditorContext &editor, FileEncoding encoding, BomKind bom, const QString &path);
// Chooses the encoding, loads the file and puts the caret at the start.
void loadIntoEditor(EditorContext &editor, const QString &path);
// "Insert a Text file".
void insertTextFileCommand(EditorContext &editor);
// Inserts the file at the caret; a file that cannot be opened changes nothing.
void insertIntoEditor(EditorContext &editor, FileEncoding encoding, const QString &path);
