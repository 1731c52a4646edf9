// Desktop entries: the text of the launcher file that starts this program and
// the atomic write that puts it into an applications or desktop folder.
#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// The application id: the name of the installed launcher, of the icon and of
// the software-centre metadata, and the desktop file name the windows report.
inline constexpr char ApplicationId[] = "io.github.tavril.TavrilEditor";

// The launcher's file name in either folder. It is the installed entry's name,
// so a user's copy replaces the menu item instead of doubling it, and a second
// creation overwrites it.
inline constexpr char DesktopEntryFileName[] = "io.github.tavril.TavrilEditor.desktop";

// Escapes a value of type string: backslash, newline, tab and carriage return
// become \\, \n, \t and \r. A leading space becomes \s so that readers do not
// strip it.
QString escapeDesktopString(QStringView value);

// Quotes one argument of an Exec value: the argument in double quotes, with a
// backslash before ", `, $ and \, and % doubled so that it is not read as a
// field code. The result still needs escapeDesktopString when written.
QString quoteExecArgument(QStringView argument);

// The whole launcher text for the executable at `executablePath` (absolute):
// the installed entry's keys, with an Exec line that starts this executable on
// the file it is given and an Icon line when `iconPath` is not empty. Empty when either path holds
// a character a desktop entry cannot carry (a control character other than
// tab, newline and carriage return).
std::optional<QString> desktopEntryText(const QString &executablePath,
                                        const QString &iconPath = QString());

// Writes `content` as UTF-8 to `filePath` through a temporary file renamed over
// the target only when complete, then makes it executable (rwxr-xr-x), since
// desktops refuse to start launchers without the execute bit. False on any
// failure; a failed write leaves an earlier file as it was.
bool writeDesktopEntry(const QString &filePath, const QString &content);

// Where the launcher goes: `folder` joined with the file name. Empty when the
// folder path is empty. With `createFolder`, a missing folder is made (0700 for
// the folders it makes, as the base-directory rules ask for user data folders);
// otherwise a missing folder gives an empty result.
QString desktopEntryPath(const QString &folder, bool createFolder);

// The icon an installed copy carries: <prefix>/share/icons/hicolor/scalable/apps/
// io.github.tavril.TavrilEditor.svg beside <prefix>/bin (the build tree mirrors that layout). Empty
// when there is none.
QString installedIconPath(const QString &executablePath);
