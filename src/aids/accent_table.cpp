#include "aids/accent_table.h"

// clang-format off
const AccentCell accentCells[AccentRows][AccentColumns] = {
    {{0x00E4, "ButtonAc0"}, {0x00EF, "ButtonIc0"}, {0x00FC, "ButtonUc0"}, {0x00EB, "ButtonEc0"},
     {0x00F6, "ButtonOc0"}, {0x00C4, "ButtonA0"}, {0x00CF, "ButtonI0"}, {0x00DC, "ButtonU0"},
     {0x00CB, "ButtonE0"}, {0x00D6, "ButtonO0"}, {0x00DF, "ButtonSs"}, {0x0294, "ButtonSeimon"},
     {0x02A4, "ButtonD3s"}, {0x0190, "ButtonEEd"}},
    {{0x00E1, "ButtonAc2"}, {0x00ED, "ButtonIc2"}, {0x00FA, "ButtonUc2"}, {0x00E9, "ButtonEc2"},
     {0x00F3, "ButtonOc2"}, {0x00C1, "ButtonA2"}, {0x00CD, "ButtonI2"}, {0x00DA, "ButtonU2"},
     {0x00C9, "ButtonE2"}, {0x00D3, "ButtonO2"}, {0x025B, "ButtonEEE"}, {0x028A, "ButtonOu"},
     {0x00F0, "ButtonDd"}, {0x01B9, "ButtonZ3cg"}},
    {{0x00E0, "ButtonAc4"}, {0x00EC, "ButtonIc4"}, {0x00F9, "ButtonUc4"}, {0x00E8, "ButtonEc4"},
     {0x00F2, "ButtonOc4"}, {0x00C0, "ButtonA4"}, {0x00CC, "ButtonI4"}, {0x00D9, "ButtonU4"},
     {0x00C8, "ButtonE4"}, {0x00D2, "ButtonO4"}, {0x0259, "ButtonEr"}, {0x02D0, "ButtonChou"},
     {0x03C7, "ButtonXs"}, {0x03B8, "ButtonSt"}},
    {{0x00E2, "ButtonAc5"}, {0x00EE, "ButtonIc5"}, {0x00FB, "ButtonUc5"}, {0x00EA, "ButtonEc5"},
     {0x00F4, "ButtonOc5"}, {0x00C2, "ButtonA5"}, {0x00CE, "ButtonI5"}, {0x00DB, "ButtonU5"},
     {0x00CA, "ButtonE5"}, {0x00D4, "ButtonO5"}, {0x026F, "ButtonUu"}, {0x02B7, "ButtonWu"},
     {0x028E, "ButtonYg"}, {0x0301, "ButtonX301"}},
    {{0x0101, "ButtonAc1"}, {0x012B, "ButtonIc1"}, {0x016B, "ButtonUc1"}, {0x0113, "ButtonEc1"},
     {0x014D, "ButtonOc1"}, {0x0100, "ButtonA1"}, {0x012A, "ButtonI1"}, {0x016A, "ButtonU1"},
     {0x0112, "ButtonE1"}, {0x014C, "ButtonO1"}, {0x0254, "ButtonOo"}, {0x02B0, "ButtonHu"},
     {0x03B2, "ButtonBeta"}, {0x0300, "ButtonX300"}},
    {{0x01CE, "ButtonAc3"}, {0x01D0, "ButtonIc3"}, {0x01D4, "ButtonUc3"}, {0x011B, "ButtonEc3"},
     {0x01D2, "ButtonOc3"}, {0x01CD, "ButtonA3"}, {0x01CF, "ButtonI3"}, {0x01D3, "ButtonU3"},
     {0x011A, "ButtonE3"}, {0x01D1, "ButtonO3"}, {0x014B, "ButtonNg"}, {0x02D1, "ButtonTenu"},
     {0x1D27, "ButtonAh"}, {0x0302, "ButtonX302"}},
    {{0x00E6, "ButtonAec"}, {0x0153, "ButtonOec"}, {0x00E7, "ButtonCdc"}, {0x00C6, "ButtonAE"},
     {0x0152, "ButtonOE"}, {0x00C7, "ButtonCd"}, {0x00F1, "ButtonNnc"}, {0x00D1, "ButtonNn"},
     {0x00BF, "ButtonHatenag"}, {0x00A1, "ButtonBikkurig"}, {0x0272, "ButtonNy"},
     {0x02A7, "ButtonTf"}, {0x1D23, "ButtonZ33"}, {0x030C, "ButtonX30c"}},
    {{0x0109, "ButtonCc5"}, {0x011D, "Buttongc5"}, {0x0125, "ButtonHc5"}, {0x0135, "ButtonJc5"},
     {0x015D, "ButtonSc5"}, {0x016D, "ButtonUc6"}, {0x0108, "ButtonC5"}, {0x011C, "ButtonG5"},
     {0x0124, "ButtonH5"}, {0x0134, "ButtonJ5"}, {0x015C, "ButtonS5"}, {0x016C, "ButtonU6"},
     {0x01B7, "ButtonZ3dd"}, {0x0304, "ButtonX304"}},
};
// clang-format on

QString accentCaption(char16_t code)
{
    if (isCombiningMark(code)) {
        const QChar pair[2] = {QChar(0x25CC), QChar(code)};
        return QString(pair, 2);
    }
    return QString(QChar(code));
}

int accentImageRow(int y)
{
    if (y <= 25)
        return 0;
    if (y >= 196)
        return 7;
    const int row = y / 28;               // 1..6 here
    return y - 28 * row <= 25 ? row : -1; // the last two pixels of each pitch are a dead band
}

int accentImageColumn(int x)
{
    if (x <= 26)
        return 0;
    if (x > 390)
        return -1;
    return (x + 1) / 28; // column c spans 28c - 1 .. 28c + 26
}

char16_t accentImageCodeAt(int x, int y)
{
    const int row = accentImageRow(y);
    if (row < 0)
        return 0;
    const int column = accentImageColumn(x);
    if (column < 0)
        return 0;
    return accentCells[row][column].code;
}
