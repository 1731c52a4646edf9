// The main window's find command: shows the find dialog, waits for it, then moves
// the caret in front of the next occurrence of the search string.
#pragma once

#include <functional>

struct EditorContext;
class Tsearchform;

// `setCommandsEnabled` turns the main window's file commands and find command off
// while the dialog is up and on again after it.
void findCommand(EditorContext &editor, Tsearchform *searchform,
                 const std::function<void(bool)> &setCommandsEnabled);
