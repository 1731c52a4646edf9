#include "ime/direct_keys.h"

#include "document/text_control.h"
#include "ime/composer_p.h"
#include "ime/hangul.h"

#include <algorithm>
#include <iterator>

namespace direct {

namespace {

// Sorted by key character.
constexpr KeyJamo KeyTable[] = {
    {'E', 0x3138, false, 0, 0},  {'O', 0x3152, true, 84, 0},  {'P', 0x3156, true, 196, 0},
    {'Q', 0x3143, false, 0, 0},  {'R', 0x3132, false, 0, 2},  {'T', 0x3146, false, 0, 20},
    {'W', 0x3149, false, 0, 0},  {'a', 0x3141, false, 0, 16}, {'b', 0x3160, true, 476, 0},
    {'c', 0x314A, false, 0, 23}, {'d', 0x3147, false, 0, 21}, {'e', 0x3137, false, 0, 7},
    {'f', 0x3139, false, 0, 8},  {'g', 0x314E, false, 0, 27}, {'h', 0x3157, true, 224, 0},
    {'i', 0x3151, true, 56, 0},  {'j', 0x3153, true, 112, 0}, {'k', 0x314F, true, 0, 0},
    {'l', 0x3163, true, 560, 0}, {'m', 0x3161, true, 504, 0}, {'n', 0x315C, true, 364, 0},
    {'o', 0x3150, true, 28, 0},  {'p', 0x3154, true, 140, 0}, {'q', 0x3142, false, 0, 17},
    {'r', 0x3131, false, 0, 1},  {'s', 0x3134, false, 0, 4},  {'t', 0x3145, false, 0, 19},
    {'u', 0x3155, true, 168, 0}, {'v', 0x314D, false, 0, 26}, {'w', 0x3148, false, 0, 22},
    {'x', 0x314C, false, 0, 25}, {'y', 0x315B, true, 336, 0}, {'z', 0x314B, false, 0, 24},
};

using hangul::CompoundFinal;
using hangul::CompoundFinals;
using hangul::JamoSios;
using hangul::SiosCombination;
using hangul::SiosCombinations;

struct CompoundVowel
{
    int keyVowel; // offset of the typed vowel
    int prevMedial;
    int add;
};
// Sorted by (key vowel, previous medial): ㅗ+ㅏ, ㅗ+ㅐ, ㅜ+ㅓ, ㅜ+ㅔ, ㅜ+ㅣ, ㅡ+ㅣ, ㅗ+ㅣ.
constexpr CompoundVowel CompoundVowels[] = {
    {0, 224, 28},   {28, 224, 56},  {112, 364, 28}, {140, 364, 56},
    {560, 224, 84}, {560, 364, 84}, {560, 504, 28},
};

static_assert(std::is_sorted(std::begin(KeyTable), std::end(KeyTable),
                             [](auto a, auto b) { return a.key < b.key; }));
static_assert(std::is_sorted(std::begin(CompoundFinals), std::end(CompoundFinals),
                             [](auto a, auto b) {
                                 return a.first != b.first ? a.first < b.first
                                                           : a.second < b.second;
                             }));
static_assert(std::is_sorted(std::begin(CompoundVowels), std::end(CompoundVowels),
                             [](auto a, auto b) {
                                 return a.keyVowel != b.keyVowel ? a.keyVowel < b.keyVowel
                                                                 : a.prevMedial < b.prevMedial;
                             }));
static_assert(std::is_sorted(std::begin(SiosCombinations), std::end(SiosCombinations),
                             [](auto a, auto b) { return a.first < b.first; }));

std::optional<int> compoundVowelAdd(int keyVowel, int prevMedial)
{
    const auto it = std::lower_bound(std::begin(CompoundVowels), std::end(CompoundVowels),
                                     std::pair(keyVowel, prevMedial),
                                     [](const CompoundVowel &e, std::pair<int, int> k) {
                                         return std::pair(e.keyVowel, e.prevMedial) < k;
                                     });
    if (it == std::end(CompoundVowels) || it->keyVowel != keyVowel || it->prevMedial != prevMedial)
        return std::nullopt;
    return it->add;
}

std::optional<char16_t> combinedWithSios(char16_t first)
{
    const auto it =
        std::lower_bound(std::begin(SiosCombinations), std::end(SiosCombinations), first,
                         [](const SiosCombination &e, char16_t k) { return e.first < k; });
    if (it == std::end(SiosCombinations) || it->first != first)
        return std::nullopt;
    return it->combined;
}

using composer::Context;

void composeVowel(const KeyJamo &entry, TextControl &control, const Context &ctx,
                  ComposerState &state)
{
    const char16_t silent = char16_t(hangul::SilentBase + entry.vowelOffset);
    if (state.DirectDecide == 0 && ctx.prevIsSyllable) {
        if (const auto add = compoundVowelAdd(entry.vowelOffset, ctx.medial)) {
            composer::replacePrevious(control, ctx, char16_t(ctx.prev + *add));
            state.DirectDecide = 0;
            return;
        }
    }
    if (!ctx.hasPrev || state.DirectDecide == 1) {
        composer::insertAtCaret(control, ctx, silent);
    } else if (const auto base = hangul::baseOfInitialJamo(ctx.prev)) {
        composer::replacePrevious(control, ctx, char16_t(*base + entry.vowelOffset));
    } else {
        composer::insertAtCaret(control, ctx, silent);
    }
    state.DirectDecide = 0;
}

void composeConsonant(const KeyJamo &entry, TextControl &control, const Context &ctx,
                      ComposerState &state)
{
    // ㄸ, ㅃ and ㅉ never close a syllable.
    if (entry.finalIndex == 0) {
        composer::insertAtCaret(control, ctx, entry.jamo);
        state.DirectDecide = 0;
        return;
    }
    if (state.DirectDecide == 0 && ctx.prevIsSyllable) {
        if (ctx.finalIndex == 0) {
            composer::replacePrevious(control, ctx, char16_t(ctx.prev + entry.finalIndex));
            return;
        }
        if (const auto compound = compoundFinal(ctx.finalIndex, entry.finalIndex)) {
            composer::replacePrevious(control, ctx,
                                      char16_t(ctx.prev - ctx.finalIndex + *compound));
            return;
        }
    }
    if (entry.jamo == JamoSios && ctx.hasPrev) {
        if (const auto combined = combinedWithSios(ctx.prev)) {
            composer::replacePrevious(control, ctx, *combined);
            return;
        }
    }
    composer::insertAtCaret(control, ctx, entry.jamo);
    state.DirectDecide = 0;
}

} // namespace

const KeyJamo *lookupKey(int key)
{
    const auto it = std::lower_bound(std::begin(KeyTable), std::end(KeyTable), key,
                                     [](const KeyJamo &e, int k) { return int(e.key) < k; });
    if (it == std::end(KeyTable) || int(it->key) != key)
        return nullptr;
    return &*it;
}

std::optional<int> compoundFinal(int first, int second)
{
    const auto it = std::lower_bound(std::begin(CompoundFinals), std::end(CompoundFinals),
                                     std::pair(first, second),
                                     [](const CompoundFinal &e, std::pair<int, int> k) {
                                         return std::pair(e.first, e.second) < k;
                                     });
    if (it == std::end(CompoundFinals) || it->first != first || it->second != second)
        return std::nullopt;
    return it->compound;
}

} // namespace direct

int ComposeDirectKey(int key, TextControl &control, ComposerState &state, bool selfDelete)
{
    const composer::Context ctx = composer::readContext(control, composer::Scheme::Direct);
    if (ctx.textLength < 1)
        state.DirectDecide = 0;
    if (key == KeyBackspace) {
        const composer::BackspaceResult result = composer::backspace(control, ctx, selfDelete);
        state.DirectDecide = 0;
        return result.key;
    }
    if (key == KeySpace)
        return composer::decide(ctx, state.DirectDecide);
    const direct::KeyJamo *entry = direct::lookupKey(key);
    if (!entry)
        return key;
    if (entry->vowel)
        direct::composeVowel(*entry, control, ctx, state);
    else
        direct::composeConsonant(*entry, control, ctx, state);
    return 0;
}
