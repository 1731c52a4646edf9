// Hangul to Hanja on a text control: which text before the caret (or which
// selection) has Hanja, the candidates in the order they are offered, and the
// replacement of the reading by the chosen Hanja.
#pragma once

#include "convert/hanja_dictionary.h"
#include "convert/hanja_history.h"

#include <QList>
#include <QString>

class TextControl;
struct ComposerState;

struct HanjaCandidate
{
    QString hanja;
    QString meaning;
    qsizetype readingLength; // code units of the reading, which ends at HanjaLookup::end
};

struct HanjaLookup
{
    qsizetype end = 0; // where every candidate's reading ends (the caret, or the selection's end)
    QString text;      // the longest text looked at, ending at `end`
    QList<HanjaCandidate> candidates;
};

// Where candidates come from besides the system dictionary; each may be absent.
struct HanjaSources
{
    const HanjaDictionary *user = nullptr; // offered after the learned choice, before the system's
    const HanjaDictionary *symbols = nullptr; // for a consonant jamo before the caret
    const HanjaHistory *history = nullptr;    // a reading's last choice offered first
};

// The reading candidate `index` of `lookup` replaces.
QString readingOf(const HanjaLookup &lookup, qsizetype index);

// True for a syllable U+AC00..U+D7A3.
constexpr bool isHangulSyllable(char16_t c)
{
    return c >= 0xAC00 && c <= 0xD7A3;
}

// With a selection, the selected text is looked up whole. Without one, the run of
// syllables ending at the caret (no longer than the dictionary's longest reading)
// is looked up: every reading that ends at the caret, the longest first, each
// reading's candidates in this order: the choice learned for it, the user
// dictionary's entries, the system dictionary's (each in its file's order); a
// Hanja already offered is dropped. Without syllables, a consonant jamo (ㄱ-ㅎ)
// before the caret offers its symbols. No candidates: nothing matched.
HanjaLookup lookUpHanja(const HanjaDictionary &dictionary, const TextControl &control,
                        const HanjaSources &sources = {});

// Replaces the reading of candidate `index` with its Hanja in one edit, and leaves
// `state` so that the next key starts a new syllable (both decide flags set, the
// romanized prefixes cleared). False, changing nothing, when the index is out of
// range or the text no longer holds the reading where it was found.
bool applyHanjaCandidate(TextControl &control, const HanjaLookup &lookup, qsizetype index,
                         ComposerState &state);
