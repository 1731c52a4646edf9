// "setteiedit.dat": six decimal lines (window top, left, width, height, input
// mode, word wrap), read as text at start-up and written at close.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QMargins>
#include <QRect>
#include <QString>

#include <optional>

// The main window's geometry when no settings file gives one.
constexpr int DefaultWindowTop = 86;
constexpr int DefaultWindowLeft = 357;
constexpr int DefaultWindowWidth = 416;
constexpr int DefaultWindowHeight = 480;

struct WindowSettings
{
    int top = DefaultWindowTop;
    int left = DefaultWindowLeft;
    int width = DefaultWindowWidth;
    int height = DefaultWindowHeight;
    std::optional<int> imeMode;   // set when line 5 was read (already limited to 0..2)
    std::optional<bool> wordWrap; // set when line 6 was read
};

// Leading-number parse: white space, an optional sign, decimal digits; no digits
// give 0. Values beyond the int range saturate.
int leadingNumber(QByteArrayView line);

// Reads the file's bytes in text mode (CR LF as LF, 0x1A ends the data), line by
// line into `settings`, stopping at the first empty line, after a line longer
// than 499 characters (used cut), or after six lines.
void parseSettings(QByteArrayView data, WindowSettings &settings);

// The geometry limits applied at start-up whether or not a file was read.
void clampGeometry(WindowSettings &settings);

// Where a window goes so that it lies inside `available` (a screen's area free
// of panels): `client` is its inner rectangle, `frame` what the window system
// draws around it. A window that does not fit is moved in first, then shrunk
// (never below 100 x 100); one that fits is left as it is.
QRect fitWindowToArea(const QRect &client, const QMargins &frame, const QRect &available);

// The six lines, each ended by CR LF.
QByteArray formatSettings(int top, int left, int width, int height, int imeMode, bool wordWrap);

// Reads the file into `settings`; a missing or unreadable file leaves it as it is.
void readSettingsFile(const QString &path, WindowSettings &settings);
// Writes the file; false when it could not be written (callers do not report it).
bool writeSettingsFile(const QString &path, const QByteArray &content);
