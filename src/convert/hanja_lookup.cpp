#include "convert/hanja_lookup.h"

#include "document/text_control.h"
#include "ime/composer.h"

#include <QSet>

#include <algorithm>

namespace {

// One reading's candidates in the order they are offered.
QList<HanjaEntry> entriesFor(QStringView reading, const HanjaDictionary &dictionary,
                             const HanjaSources &sources)
{
    QList<HanjaEntry> entries;
    if (sources.user)
        entries = sources.user->lookUp(reading);
    entries.append(dictionary.lookUp(reading));
    const QString learned = sources.history ? sources.history->preferred(reading) : QString();
    if (!learned.isEmpty()) {
        const auto it = std::find_if(entries.begin(), entries.end(),
                                     [&](const HanjaEntry &e) { return e.hanja == learned; });
        if (it != entries.end())
            std::rotate(entries.begin(), it, it + 1);
    }
    return entries;
}

bool isConsonantJamo(char16_t c)
{
    return c >= 0x3131 && c <= 0x314E;
}

} // namespace

QString readingOf(const HanjaLookup &lookup, qsizetype index)
{
    if (index < 0 || index >= lookup.candidates.size())
        return {};
    return lookup.text.right(lookup.candidates.at(index).readingLength);
}

HanjaLookup lookUpHanja(const HanjaDictionary &dictionary, const TextControl &control,
                        const HanjaSources &sources)
{
    HanjaLookup result;
    const qsizetype longest =
        std::max(dictionary.longestReading(), sources.user ? sources.user->longestReading() : 0);
    const qsizetype start = control.selStart();
    const qsizetype selected = control.selLength();
    if (selected > 0) {
        result.end = start + selected;
        // A selection longer than any reading cannot match: it is not even read.
        if (selected > longest)
            return result;
        result.text = control.selText();
        for (HanjaEntry &e : entriesFor(result.text, dictionary, sources))
            result.candidates.append({std::move(e.hanja), std::move(e.meaning), selected});
        return result;
    }

    result.end = start;
    qsizetype from = start;
    while (from > 0 && start - from < longest && isHangulSyllable(control.charAt(from - 1)))
        --from;
    if (from == start && sources.symbols && isConsonantJamo(control.charBefore(start))) {
        // A consonant jamo and the Hanja key: the symbols filed under it.
        result.text = QString(QChar(control.charBefore(start)));
        for (HanjaEntry &e :
             entriesFor(result.text, *sources.symbols, {nullptr, nullptr, sources.history}))
            result.candidates.append({std::move(e.hanja), std::move(e.meaning), 1});
        return result;
    }
    result.text.reserve(start - from);
    for (qsizetype pos = from; pos < start; ++pos)
        result.text.append(QChar(control.charAt(pos)));

    QSet<QString> offered;
    for (qsizetype length = result.text.size(); length > 0; --length) {
        const QStringView reading = QStringView(result.text).right(length);
        for (HanjaEntry &e : entriesFor(reading, dictionary, sources)) {
            if (offered.contains(e.hanja))
                continue;
            offered.insert(e.hanja);
            result.candidates.append({std::move(e.hanja), std::move(e.meaning), length});
        }
    }
    return result;
}

bool applyHanjaCandidate(TextControl &control, const HanjaLookup &lookup, qsizetype index,
                         ComposerState &state)
{
    if (index < 0 || index >= lookup.candidates.size())
        return false;
    const HanjaCandidate &c = lookup.candidates.at(index);
    const qsizetype from = lookup.end - c.readingLength;
    if (from < 0 || lookup.end > control.length() || c.readingLength > lookup.text.size())
        return false;
    const QStringView reading = QStringView(lookup.text).right(c.readingLength);
    for (qsizetype i = 0; i < c.readingLength; ++i) {
        if (control.charAt(from + i) != reading.at(i).unicode())
            return false;
    }
    control.replaceRange(from, c.readingLength, c.hanja);
    state.DirectDecide = 1;
    state.RomanDecide = 1;
    state.PrefixY = 0;
    state.PrefixW = 0;
    state.PrefixCapitalW = 0;
    return true;
}
