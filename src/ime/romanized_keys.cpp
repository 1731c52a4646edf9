// The romanized scheme: Latin letters spell the sounds; y, w and W are prefixes
// for the y- and w-vowels, and repeating a consonant letter cycles through its
// plain, aspirated and tense forms.
#include "document/text_control.h"
#include "ime/composer_p.h"
#include "ime/hangul.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <span>

namespace {

using composer::Context;

// Vowel offsets by prefix: none, after y, after w, after W.
struct VowelLetter
{
    char letter;
    int offset[4];
};
constexpr VowelLetter VowelLetters[] = {
    {'E', {28, 84, 280, 28}},    // ㅐ ㅒ ㅙ ㅐ
    {'O', {112, 168, 112, 112}}, // ㅓ ㅕ ㅓ ㅓ
    {'U', {504, 476, 504, 504}}, // ㅡ ㅠ ㅡ ㅡ
    {'a', {0, 56, 252, 0}},      // ㅏ ㅑ ㅘ ㅏ
    {'e', {140, 196, 308, 420}}, // ㅔ ㅖ ㅚ ㅞ
    {'i', {560, 560, 448, 532}}, // ㅣ ㅣ ㅟ ㅢ
    {'o', {224, 336, 392, 224}}, // ㅗ ㅛ ㅝ ㅗ
    {'u', {364, 476, 364, 364}}, // ㅜ ㅠ ㅜ ㅜ
};

struct CompoundVowel
{
    char letter;
    int prevMedial;
    int add;
};
// a after ㅗ: ㅘ; i after ㅜ, ㅡ, ㅗ: ㅟ, ㅢ, ㅚ; e after ㅜ: ㅞ; E after ㅗ: ㅙ; O after ㅜ: ㅝ.
constexpr CompoundVowel CompoundVowels[] = {
    {'E', 224, 56}, {'O', 364, 28}, {'a', 224, 28}, {'e', 364, 56},
    {'i', 224, 84}, {'i', 364, 84}, {'i', 504, 28},
};

struct Change
{
    int from;
    int to;
};
struct JamoChange
{
    char16_t from;
    char16_t to;
};

// Final rules (old final index -> new) and jamo rules, each sorted by `from`.
constexpr Change FinalsK[] = {{0, 1}, {1, 24}, {2, 1}, {8, 9}, {24, 2}};
constexpr JamoChange JamoK[] = {{0x3131, 0x314B}, {0x3132, 0x3131}, {0x314B, 0x3132}};
constexpr Change FinalsT[] = {{0, 7}, {7, 25}, {8, 13}, {25, 7}};
constexpr JamoChange JamoT[] = {{0x3137, 0x314C}, {0x3138, 0x3137}, {0x314C, 0x3138}};
constexpr Change FinalsB[] = {{0, 17}, {8, 11}, {11, 14}, {14, 11}, {17, 26}, {26, 17}};
constexpr JamoChange JamoB[] = {{0x3142, 0x314D}, {0x3143, 0x3142}, {0x314D, 0x3143}};
constexpr Change FinalsC[] = {{0, 22}, {4, 5}, {22, 23}, {23, 22}};
constexpr JamoChange JamoC[] = {{0x3148, 0x314A}, {0x3149, 0x3148}, {0x314A, 0x3149}};
// s: ㅅ, its compounds with the final or jamo before it (as the direct keys make
// them), then ㅅ <-> ㅆ.
constexpr auto FinalsS = [] {
    constexpr auto joinsSios = [](const hangul::CompoundFinal &e) {
        return e.second == hangul::FinalSios;
    };
    std::array<Change, 3 + std::count_if(std::begin(hangul::CompoundFinals),
                                         std::end(hangul::CompoundFinals), joinsSios)>
        rules{};
    std::size_t i = 0;
    rules[i++] = {0, hangul::FinalSios};
    for (const auto &e : hangul::CompoundFinals)
        if (joinsSios(e))
            rules[i++] = {e.first, e.compound};
    rules[i++] = {hangul::FinalSios, 20};
    rules[i++] = {20, hangul::FinalSios};
    return rules;
}();
constexpr auto JamoS = [] {
    std::array<JamoChange, std::size(hangul::SiosCombinations) + 2> rules{};
    std::size_t i = 0;
    for (const auto &e : hangul::SiosCombinations)
        rules[i++] = {e.first, e.combined};
    rules[i++] = {hangul::JamoSios, 0x3146};
    rules[i++] = {0x3146, hangul::JamoSios};
    return rules;
}();
constexpr Change FinalsM[] = {{0, 16}, {8, 10}};
constexpr Change FinalsN[] = {{0, 4}};
constexpr Change FinalsL[] = {{0, 8}};
constexpr Change FinalsH[] = {{0, 27}, {4, 6}, {8, 15}};
constexpr Change FinalsG[] = {{4, 21}}; // ng
constexpr JamoChange JamoG[] = {{0x3134, 0x3147}};

struct ConsonantLetter
{
    char letter;
    char16_t jamo; // inserted by default; 0: the letter itself passes through (g)
    std::span<const Change> finals;
    std::span<const JamoChange> jamoRules;
    bool finalsIgnoreDecide; // g joins ㄴ as ㅇ even after a decide space
};
constexpr ConsonantLetter ConsonantLetters[] = {
    {'b', 0x3142, FinalsB, JamoB, false}, {'c', 0x3148, FinalsC, JamoC, false},
    {'d', 0x3137, FinalsT, JamoT, false}, {'g', 0, FinalsG, JamoG, true},
    {'h', 0x314E, FinalsH, {}, false},    {'j', 0x3148, FinalsC, JamoC, false},
    {'k', 0x3131, FinalsK, JamoK, false}, {'l', 0x3139, FinalsL, {}, false},
    {'m', 0x3141, FinalsM, {}, false},    {'n', 0x3134, FinalsN, {}, false},
    {'p', 0x3142, FinalsB, JamoB, false}, {'r', 0x3139, FinalsL, {}, false},
    {'s', 0x3145, FinalsS, JamoS, false}, {'t', 0x3137, FinalsT, JamoT, false},
};

constexpr auto byLetter = [](const auto &a, const auto &b) { return a.letter < b.letter; };
constexpr auto byFrom = [](const auto &a, const auto &b) { return a.from < b.from; };
static_assert(std::is_sorted(std::begin(VowelLetters), std::end(VowelLetters), byLetter));
static_assert(std::is_sorted(std::begin(ConsonantLetters), std::end(ConsonantLetters), byLetter));
static_assert(std::is_sorted(std::begin(CompoundVowels), std::end(CompoundVowels),
                             [](auto a, auto b) {
                                 return a.letter != b.letter ? a.letter < b.letter
                                                             : a.prevMedial < b.prevMedial;
                             }));
static_assert(std::is_sorted(std::begin(FinalsK), std::end(FinalsK), byFrom) &&
              std::is_sorted(std::begin(FinalsT), std::end(FinalsT), byFrom) &&
              std::is_sorted(std::begin(FinalsB), std::end(FinalsB), byFrom) &&
              std::is_sorted(std::begin(FinalsC), std::end(FinalsC), byFrom) &&
              std::is_sorted(std::begin(FinalsS), std::end(FinalsS), byFrom) &&
              std::is_sorted(std::begin(FinalsM), std::end(FinalsM), byFrom) &&
              std::is_sorted(std::begin(FinalsH), std::end(FinalsH), byFrom));
static_assert(std::is_sorted(std::begin(JamoK), std::end(JamoK), byFrom) &&
              std::is_sorted(std::begin(JamoT), std::end(JamoT), byFrom) &&
              std::is_sorted(std::begin(JamoB), std::end(JamoB), byFrom) &&
              std::is_sorted(std::begin(JamoC), std::end(JamoC), byFrom) &&
              std::is_sorted(std::begin(JamoS), std::end(JamoS), byFrom));

template <typename Row, std::size_t N> const Row *findLetter(const Row (&rows)[N], int key)
{
    const auto it = std::lower_bound(std::begin(rows), std::end(rows), key,
                                     [](const Row &r, int k) { return int(r.letter) < k; });
    return it != std::end(rows) && int(it->letter) == key ? &*it : nullptr;
}

template <typename Rule, typename Key>
std::optional<decltype(Rule::to)> findChange(std::span<const Rule> rules, Key from)
{
    const auto it = std::lower_bound(rules.begin(), rules.end(), from,
                                     [](const Rule &r, Key k) { return r.from < k; });
    if (it == rules.end() || it->from != from)
        return std::nullopt;
    return it->to;
}

std::optional<int> compoundVowelAdd(int letter, int prevMedial)
{
    const auto it = std::lower_bound(std::begin(CompoundVowels), std::end(CompoundVowels),
                                     std::pair(letter, prevMedial),
                                     [](const CompoundVowel &e, std::pair<int, int> k) {
                                         return std::pair(int(e.letter), e.prevMedial) < k;
                                     });
    if (it == std::end(CompoundVowels) || int(it->letter) != letter || it->prevMedial != prevMedial)
        return std::nullopt;
    return it->add;
}

void clearPrefixes(ComposerState &state)
{
    state.PrefixY = state.PrefixW = state.PrefixCapitalW = 0;
}

void composeVowel(const VowelLetter &row, int key, TextControl &control, const Context &ctx,
                  ComposerState &state)
{
    // When two prefixes are set the first listed wins: y, then w, then W.
    const int column = state.PrefixY ? 1 : state.PrefixW ? 2 : state.PrefixCapitalW ? 3 : 0;
    const bool prefixPending = column != 0;
    const int offset = row.offset[column];
    const char16_t silent = char16_t(hangul::SilentBase + offset);

    // A pending prefix already gives the whole vowel: adding a compound vowel on
    // top of it would leave the syllable's block, so the prefixed vowel starts its
    // own syllable instead (o w a types 오와).
    std::optional<int> add;
    if (!prefixPending && state.RomanDecide == 0 && ctx.prevIsSyllable)
        add = compoundVowelAdd(key, ctx.medial);

    if (add) {
        composer::replacePrevious(control, ctx, char16_t(ctx.prev + *add));
    } else if (!ctx.hasPrev) {
        composer::insertAtCaret(control, ctx, silent);
    } else if (const auto base = hangul::baseOfInitialJamo(ctx.prev)) {
        composer::replacePrevious(control, ctx, char16_t(*base + offset));
    } else {
        composer::insertAtCaret(control, ctx, silent);
    }
    if (prefixPending || (ctx.prevIsSyllable && ctx.finalIndex == 0))
        state.RomanDecide = 0;
    clearPrefixes(state);
}

// Returns the key to let through (g with nothing to join) or 0.
int composeConsonant(const ConsonantLetter &row, int key, TextControl &control, const Context &ctx,
                     ComposerState &state)
{
    if (ctx.prevIsSyllable && (state.RomanDecide == 0 || row.finalsIgnoreDecide)) {
        if (const auto to = findChange(row.finals, ctx.finalIndex)) {
            composer::replacePrevious(control, ctx, char16_t(ctx.prev - ctx.finalIndex + *to));
            return 0;
        }
    }
    if (ctx.hasPrev) {
        if (const auto to = findChange(row.jamoRules, ctx.prev)) {
            composer::replacePrevious(control, ctx, *to);
            return 0;
        }
    }
    if (row.jamo == 0)
        return key;
    composer::insertAtCaret(control, ctx, row.jamo);
    state.RomanDecide = 0;
    return 0;
}

} // namespace

int ComposeRomanizedKey(int key, TextControl &control, ComposerState &state)
{
    const Context ctx = composer::readContext(control, composer::Scheme::Romanized);
    if (key == KeyBackspace) {
        const composer::BackspaceResult result = composer::backspace(control, ctx, false);
        state.RomanDecide = 0;
        if (result.clearsPrefixes)
            clearPrefixes(state);
        return result.key;
    }
    if (ctx.textLength < 1)
        state.RomanDecide = 0;
    else if (key == KeySpace)
        return composer::decide(ctx, state.RomanDecide);

    switch (key) {
    case 'y':
        state.PrefixY = 1;
        state.PrefixW = state.PrefixCapitalW = 0;
        if (ctx.prevIsSyllable && ctx.finalIndex == 0)
            state.RomanDecide = 1;
        return 0;
    case 'w':
        state.PrefixW = 1;
        state.PrefixY = state.PrefixCapitalW = 0;
        return 0;
    case 'W':
        state.PrefixCapitalW = 1;
        state.PrefixY = state.PrefixW = 0;
        return 0;
    default:
        break;
    }
    if (const VowelLetter *vowel = findLetter(VowelLetters, key)) {
        composeVowel(*vowel, key, control, ctx, state);
        return 0;
    }
    int result = key;
    if (const ConsonantLetter *consonant = findLetter(ConsonantLetters, key))
        result = composeConsonant(*consonant, key, control, ctx, state);
    clearPrefixes(state);
    return result;
}
