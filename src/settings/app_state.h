// The program-wide state shared by every window: plain variables that live for
// the whole run, with their start values, and one reset for tests. Each has one
// owner that writes it; the comment beside it names that owner.
#pragma once

#include "document/document.h"
#include "settings/font_record.h"

#include <QString>

// Input mode values; the one mode is shared by the main editor and the find dialog.
enum : int { ImeNone = 0, ImeRomanized = 1, ImeDirect = 2 };
// What status panel 0 shows for a mode: "R", "H" or nothing.
QString modePanelText(int mode);
// What status panel 1 shows for a caret position (both counted from 1), in the
// user's language: "Line:1  Col:1".
QString caretPositionText(int line, int column);
// What status panel 2 shows for the word-wrap state: "WrapLine" or "noWrapLine".
QString wrapStateText(bool on);

// Each variable has one writer, named beside it; everyone else only reads it.
//
// The input mode, 0..2, starting romanized: ImeModeCommand::choose (ime/ime_mode.h),
// which announces every choice with modeChanged.
extern int ImeMode;
// currentFileName (the path of the file last opened with the open command) and
// documentModified (unsaved changes) are read-only views of the program's
// Document (document/document.h): written only through the document.
extern bool saveToCurrentFile; // the save command: writes currentFileName without asking
// The exit flow, from the exit dialog's answer: 0 cancel, 1 save & exit, 2 exit.
extern int exitChoice;
extern bool appClosing; // the main window's close handler: the window has started to close
// The find command: cleared when it starts; set when the find dialog is left by
// Find (the button or the line-feed key) rather than simply closed.
extern bool findRequested;
extern bool openingFromCommandLine; // the open command: it takes the first argument
// The main window at start-up, from the platform's flags (never set on this
// platform; tests set them through their fake platform).
extern bool isWin9x;
extern bool isNt6OrLater;
extern bool accentPadCreated; // the input aids' commands: an accent pad window exists
// The main window at start-up: the settings files' folder, ending in a separator.
extern QString programDir;

// Stored window geometry (pixels) with its defaults: the main window at start-up.
extern int windowTop;
extern int windowLeft;
extern int windowWidth;
extern int windowHeight;

// The editor font as last read from or written to "fontedit.dat": the main window
// (at start-up and when the user picks a font).
extern FontRecord storedFont;
extern bool storedFontRead; // storedFont came from the file at start-up

// Puts every variable above back to its start value.
void resetAppState();

// The folder of "setteiedit.dat" and "fontedit.dat": the executable's folder when
// it is writable and no system folder (under /usr, /opt, /bin or /sbin), else
// "tavriledit/" in the user's configuration folder. Ends in a separator.
QString chooseSettingsFolder(const QString &executableDir, bool executableDirWritable,
                             const QString &userConfigDir);
// The settings folder of this run, made when missing: `chosen` when given (tests
// and benchmarks run in a folder of their own), else chooseSettingsFolder's.
QString detectProgramDir(const QString &chosen = QString());
