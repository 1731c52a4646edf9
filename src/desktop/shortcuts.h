// Shortcut commands: a launcher for the running program in the user's program
// menu or on the desktop, with the one failure message for every way it fails.
#pragma once

#include <QString>

class QWidget;

// Writes the launcher at `linkPath` for `targetPath`; 1 on success, 0 on failure
// after the failure message (owned by `owner`) was shown.
int CreateShellLink(QWidget *owner, const QString &linkPath, const QString &targetPath);
// The launcher in the user's applications folder (made when missing).
int CreateProgramMenuShortcut(QWidget *owner, const QString &targetPath);
// The launcher in the user's desktop folder (which must exist).
int CreateDesktopShortcut(QWidget *owner, const QString &targetPath);
