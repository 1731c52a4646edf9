// The scripted edit session of the fault test, the same in the child that is
// killed and in the test that checks what it left: edits from a seed (inserts,
// deletions and replacements of Hangul, Latin, spaces and line breaks) with a
// save after every SaveEvery edits.
#pragma once

#include <QRandomGenerator>
#include <QString>

#include <vector>

struct FaultEdit
{
    qsizetype pos = 0;
    qsizetype removed = 0;
    QString added;
};

constexpr int SaveEvery = 25;
constexpr int ScriptEdits = 6000;

inline QString faultInitialText()
{
    return QStringLiteral("abc\n한글 text\n");
}

inline std::vector<FaultEdit> faultScript(quint32 seed)
{
    static const QString alphabet = QStringLiteral("ab 한글\ncé");
    QRandomGenerator rng(seed);
    std::vector<FaultEdit> edits;
    qsizetype length = faultInitialText().size();
    for (int i = 0; i < ScriptEdits; ++i) {
        FaultEdit e;
        e.pos = qsizetype(rng.bounded(quint32(length + 1)));
        const quint32 kind = rng.bounded(10u);
        if (kind < 3) // a deletion, at times a long one
            e.removed = std::min<qsizetype>(length - e.pos, rng.bounded(kind == 0 ? 200u : 4u));
        if (kind >= 2) {
            const int n = kind == 9 ? int(rng.bounded(300u)) : 1 + int(rng.bounded(3u));
            for (int k = 0; k < n; ++k)
                e.added += alphabet[int(rng.bounded(quint32(alphabet.size())))];
        }
        length += e.added.size() - e.removed;
        edits.push_back(std::move(e));
    }
    return edits;
}
