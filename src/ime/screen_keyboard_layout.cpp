#include "ime/screen_keyboard_layout.h"

#include <QCoreApplication>

#include <array>

namespace {

constexpr int KeyWidth = 37; // every letter key, inclusive bounds left .. left + 36

struct LetterKey
{
    int left;
    char16_t key;     // the lower-case key character
    char16_t shifted; // the shifted key character, 0 when Shift gives no jamo of its own
    char16_t shiftedJamo;
    char16_t plainJamo;
};

// Q row: the upper half sends the shifted letter, the lower half the plain one.
constexpr LetterKey qRow[] = {
    {62, u'q', u'Q', u'ㅃ', u'ㅂ'},  {103, u'w', u'W', u'ㅉ', u'ㅈ'},
    {144, u'e', u'E', u'ㄸ', u'ㄷ'}, {184, u'r', u'R', u'ㄲ', u'ㄱ'},
    {225, u't', u'T', u'ㅆ', u'ㅅ'}, {266, u'y', 0, 0, u'ㅛ'},
    {307, u'u', 0, 0, u'ㅕ'},        {348, u'i', 0, 0, u'ㅑ'},
    {388, u'o', u'O', u'ㅒ', u'ㅐ'}, {429, u'p', u'P', u'ㅖ', u'ㅔ'},
};
constexpr LetterKey aRow[] = {
    {72, u'a', 0, 0, u'ㅁ'},  {112, u's', 0, 0, u'ㄴ'}, {153, u'd', 0, 0, u'ㅇ'},
    {194, u'f', 0, 0, u'ㄹ'}, {235, u'g', 0, 0, u'ㅎ'}, {276, u'h', 0, 0, u'ㅗ'},
    {316, u'j', 0, 0, u'ㅓ'}, {357, u'k', 0, 0, u'ㅏ'}, {398, u'l', 0, 0, u'ㅣ'},
};
constexpr LetterKey zRow[] = {
    {93, u'z', 0, 0, u'ㅋ'},  {134, u'x', 0, 0, u'ㅌ'}, {175, u'c', 0, 0, u'ㅊ'},
    {216, u'v', 0, 0, u'ㅍ'}, {256, u'b', 0, 0, u'ㅠ'}, {297, u'n', 0, 0, u'ㅜ'},
    {338, u'm', 0, 0, u'ㅡ'},
};

constexpr int TopRowTop = 0, TopRowBottom = 37;
constexpr int QRowTop = 40, QRowSplit = 58, QRowBottom = 76; // upper half ends at the split
constexpr int ARowTop = 80, ARowBottom = 116;
constexpr int ZRowTop = 121, ZRowBottom = 157;

constexpr int EnterLeft = 552, EnterRight = 608, EnterTop = 41, EnterBottom = 116;
constexpr int BsLeft = 572, BsRight = 608;
constexpr int SpaceLeft = 420, SpaceRight = 608;

constexpr bool within(int v, int lo, int hi)
{
    return v >= lo && v <= hi;
}

template <std::size_t N> constexpr const LetterKey *keyAt(const LetterKey (&row)[N], int x)
{
    for (const LetterKey &k : row)
        if (within(x, k.left, k.left + KeyWidth - 1))
            return &k;
    return nullptr;
}

// Digits 1..0 sit half a key left of the Q row, as on a real keyboard.
constexpr int DigitLeft = 42, DigitPitch = 41;

constexpr auto buildCaps()
{
    std::array<KeyCap, 52> caps{};
    std::size_t n = 0;
    const auto blank = [&](int l, int t, int r, int b) {
        caps[n++] = {l, t, r, b, KeyCapKind::Blank, 0, 0, 0};
    };
    // Top row: a blank key, the ten digits, two blank keys, one narrow blank, BS.
    blank(1, TopRowTop, 37, TopRowBottom);
    constexpr char16_t digits[] = u"1234567890";
    for (int i = 0; i < 10; ++i) {
        const int l = DigitLeft + DigitPitch * i;
        caps[n++] = {l, TopRowTop, l + KeyWidth - 1, TopRowBottom, KeyCapKind::Digit, digits[i],
                     0, 0};
    }
    blank(452, TopRowTop, 488, TopRowBottom);
    blank(493, TopRowTop, 529, TopRowBottom);
    blank(534, TopRowTop, 567, TopRowBottom);
    caps[n++] = {BsLeft, TopRowTop, BsRight, TopRowBottom, KeyCapKind::Backspace, 0, 0, 0};
    // Q row with Tab and two blank keys before Enter.
    blank(1, QRowTop, 57, QRowBottom);
    for (const LetterKey &k : qRow)
        caps[n++] = {k.left,
                     QRowTop,
                     k.left + KeyWidth - 1,
                     QRowBottom,
                     KeyCapKind::Letter,
                     char16_t(k.key - 0x20),
                     k.shiftedJamo,
                     k.plainJamo};
    blank(470, QRowTop, 506, QRowBottom);
    blank(511, QRowTop, 547, QRowBottom);
    caps[n++] = {EnterLeft, EnterTop, EnterRight, EnterBottom, KeyCapKind::Enter, 0, 0, 0};
    // A row with Caps Lock and the blank keys up to Enter.
    blank(1, ARowTop, 67, ARowBottom);
    for (const LetterKey &k : aRow)
        caps[n++] = {k.left,
                     ARowTop,
                     k.left + KeyWidth - 1,
                     ARowBottom,
                     KeyCapKind::Letter,
                     char16_t(k.key - 0x20),
                     0,
                     k.plainJamo};
    blank(439, ARowTop, 475, ARowBottom);
    blank(480, ARowTop, 516, ARowBottom);
    blank(521, ARowTop, 547, ARowBottom);
    // Z row with Shift, one blank key and the decide key.
    blank(1, ZRowTop, 88, ZRowBottom);
    for (const LetterKey &k : zRow)
        caps[n++] = {k.left,
                     ZRowTop,
                     k.left + KeyWidth - 1,
                     ZRowBottom,
                     KeyCapKind::Letter,
                     char16_t(k.key - 0x20),
                     0,
                     k.plainJamo};
    blank(379, ZRowTop, 415, ZRowBottom);
    caps[n++] = {SpaceLeft, ZRowTop, SpaceRight, ZRowBottom, KeyCapKind::Space, 0, 0, 0};
    return std::pair{caps, n};
}

constexpr auto capsAndCount = buildCaps();
static_assert(capsAndCount.second == capsAndCount.first.size(), "every cap slot is used");

} // namespace

int screenKeyboardKeyAt(int x, int y)
{
    if (x < 40 || y < 0)
        return 0;
    if (within(x, EnterLeft, EnterRight) && within(y, EnterTop, EnterBottom))
        return ScreenKeyEnter;
    if (within(x, BsLeft, BsRight) && y <= TopRowBottom)
        return ScreenKeyBackspace;
    if (within(y, QRowTop, QRowSplit)) {
        const LetterKey *k = keyAt(qRow, x);
        return k ? (k->shifted ? k->shifted : k->key) : 0;
    }
    if (within(y, QRowSplit + 1, QRowBottom)) {
        const LetterKey *k = keyAt(qRow, x);
        return k ? k->key : 0;
    }
    if (within(y, ARowTop, ARowBottom)) {
        const LetterKey *k = keyAt(aRow, x);
        return k ? k->key : 0;
    }
    if (within(y, ZRowTop, ZRowBottom)) {
        if (within(x, SpaceLeft, SpaceRight))
            return ' ';
        const LetterKey *k = keyAt(zRow, x);
        return k ? k->key : 0;
    }
    return 0;
}

std::span<const KeyCap> screenKeyboardCaps()
{
    return {capsAndCount.first.data(), capsAndCount.second};
}

QString keyCapLabel(KeyCapKind kind)
{
    switch (kind) {
    case KeyCapKind::Backspace:
        return QStringLiteral("BS");
    case KeyCapKind::Enter:
        return QStringLiteral("Enter");
    case KeyCapKind::Space:
        return QCoreApplication::translate("ScreenKeyboard", "decide");
    default:
        return QString();
    }
}
