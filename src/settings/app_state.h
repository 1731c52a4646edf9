// The program-wide state shared by every window: plain variables that live for
// the whole run, with their start values, and one reset for tests.
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

extern int ImeMode; // 0..2, starts romanized
// currentFileName (the path of the file last opened with the open command) and
// documentModified (unsaved changes) are read-only views of the program's
// Document: see document/document.h.
extern bool saveToCurrentFile; // the save command writes currentFileName without asking
extern int exitChoice;         // exit dialog answer: 0 cancel, 1 save & exit, 2 exit
extern bool appClosing;        // the main window has started to close
// Cleared when the find command starts; set when the find dialog is left by Find
// (the button or the line-feed key) rather than simply closed.
extern bool findRequested;
extern bool openingFromCommandLine; // the open command takes the first argument
extern bool isWin9x;                // never set on this platform
extern bool isNt6OrLater;           // never set on this platform
extern bool accentPadCreated;       // an accent pad window exists
extern QString programDir;          // the settings files' folder, ending in a separator

// Stored window geometry (pixels) with its defaults.
extern int windowTop;
extern int windowLeft;
extern int windowWidth;
extern int windowHeight;

// The editor font as last read from or written to "fontedit.dat".
extern FontRecord storedFont;
extern bool storedFontRead; // storedFont came from the file at start-up

// Puts every variable above back to its start value.
void resetAppState();

// The folder of "setteiedit.dat" and "fontedit.dat": the executable's folder when
// it is writable and no system folder (under /usr, /opt, /bin or /sbin), else
// "tavriledit/" in the user's configuration folder. Ends in a separator.
QString chooseSettingsFolder(const QString &executableDir, bool executableDirWritable,
                             const QString &userConfigDir);
// The settings folder of this run (made when missing), or the tests' override.
QString detectProgramDir();
void setProgramDirOverride(const QString &dir); // empty: no override
