#include "ime/hangul.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace hangul {

namespace {

// Compatibility jamo of the 19 initials, in initial-index order (ascending codes).
constexpr std::array<char16_t, 19> InitialJamo = {
    0x3131, 0x3132, 0x3134, 0x3137, 0x3138, 0x3139, 0x3141, 0x3142, 0x3143, 0x3145,
    0x3146, 0x3147, 0x3148, 0x3149, 0x314A, 0x314B, 0x314C, 0x314D, 0x314E,
};

struct JamoFinal
{
    char16_t jamo;
    int finalIndex;
};
// Consonant jamo that can stand as a final, by code.
constexpr JamoFinal FinalOfJamo[] = {
    {0x3131, 1},  {0x3132, 2},  {0x3133, 3},  {0x3134, 4},  {0x3135, 5},  {0x3136, 6},
    {0x3137, 7},  {0x3139, 8},  {0x313A, 9},  {0x313B, 10}, {0x313C, 11}, {0x313D, 12},
    {0x313E, 13}, {0x313F, 14}, {0x3140, 15}, {0x3141, 16}, {0x3142, 17}, {0x3144, 18},
    {0x3145, 19}, {0x3146, 20}, {0x3147, 21}, {0x3148, 22}, {0x314A, 23}, {0x314B, 24},
    {0x314C, 25}, {0x314D, 26}, {0x314E, 27},
};

struct JamoPair
{
    char16_t from;
    char16_t to;
};
// Double and compound consonants and the plain consonant they start with, by code.
constexpr JamoPair FirstComponent[] = {
    {0x3132, 0x3131}, {0x3133, 0x3131}, {0x3135, 0x3134}, {0x3136, 0x3134},
    {0x3138, 0x3137}, {0x313A, 0x3139}, {0x313B, 0x3139}, {0x313C, 0x3139},
    {0x313D, 0x3139}, {0x313E, 0x3139}, {0x313F, 0x3139}, {0x3140, 0x3139},
    {0x3143, 0x3142}, {0x3144, 0x3142}, {0x3146, 0x3145}, {0x3149, 0x3148},
};

// Final index reached by one Backspace, indexed by the final index 0..27.
constexpr std::array<int, 28> ReducedFinal = {
    0, 0, 1, 1, 0, 4, 4, 0, 0, 8, 8, 8, 8, 8, 8, 8, 0, 0, 17, 0, 19, 0, 0, 0, 0, 0, 0, 0,
};

template <typename Range, typename Key, typename Proj>
auto findSorted(const Range &range, Key key, Proj proj)
{
    const auto it = std::lower_bound(std::begin(range), std::end(range), key,
                                     [&](const auto &e, Key k) { return proj(e) < k; });
    return (it != std::end(range) && proj(*it) == key) ? it : std::end(range);
}

static_assert(std::is_sorted(InitialJamo.begin(), InitialJamo.end()));
static_assert(std::is_sorted(std::begin(FinalOfJamo), std::end(FinalOfJamo),
                             [](auto a, auto b) { return a.jamo < b.jamo; }));
static_assert(std::is_sorted(std::begin(FirstComponent), std::end(FirstComponent),
                             [](auto a, auto b) { return a.from < b.from; }));

} // namespace

bool isListedJamo(char16_t c)
{
    return (c >= 0x3131 && c <= 0x3163) || c == JamoNieunSios || c == JamoMieumSios;
}

std::optional<char16_t> baseOfInitialJamo(char16_t jamo)
{
    const auto it = std::lower_bound(InitialJamo.begin(), InitialJamo.end(), jamo);
    if (it == InitialJamo.end() || *it != jamo)
        return std::nullopt;
    return char16_t(SyllableFirst + (it - InitialJamo.begin()) * SyllablesPerInitial);
}

char16_t initialJamo(int initialIndex)
{
    return InitialJamo[std::size_t(initialIndex)];
}

std::optional<int> finalIndexOfJamo(char16_t jamo)
{
    const auto it = findSorted(FinalOfJamo, jamo, [](const JamoFinal &e) { return e.jamo; });
    if (it == std::end(FinalOfJamo))
        return std::nullopt;
    return it->finalIndex;
}

std::optional<char16_t> firstComponentOfJamo(char16_t jamo)
{
    const auto it = findSorted(FirstComponent, jamo, [](const JamoPair &e) { return e.from; });
    if (it == std::end(FirstComponent))
        return std::nullopt;
    return it->to;
}

int reducedFinal(int finalIndex)
{
    return finalIndex >= 0 && finalIndex < 28 ? ReducedFinal[std::size_t(finalIndex)] : 0;
}

} // namespace hangul
