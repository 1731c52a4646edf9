// The characters of the accent pads: one 8 x 14 grid shared by the button pad and
// the image pad, the button names, and the image pad's cell boundaries.
#pragma once

#include <QString>

inline constexpr int AccentRows = 8;
inline constexpr int AccentColumns = 14;

struct AccentCell
{
    char16_t code;    // the one code unit the cell inserts
    const char *name; // object name of the button that inserts it
};

// Row-major: accentCells[row][column].
extern const AccentCell accentCells[AccentRows][AccentColumns];

// Combining diacritical marks attach to whatever precedes the caret.
constexpr bool isCombiningMark(char16_t c)
{
    return c >= 0x0300 && c <= 0x036F;
}

// What a pad shows for a cell: the character itself, a combining mark on a
// dotted circle (U+25CC) so that it has something to sit on.
QString accentCaption(char16_t code);

// Image pad, in image coordinates. Columns are 28 pixels wide without gaps,
// column 0 reaching any x left of the picture and nothing beyond x = 390; rows are
// 26 pixels high with 2-pixel dead bands between them, row 0 reaching any y above
// the picture and row 7 any y below it. -1 where nothing is hit.
int accentImageRow(int y);
int accentImageColumn(int x);
// The code unit under (x, y), or 0 in a dead band or right of the grid.
char16_t accentImageCodeAt(int x, int y);
