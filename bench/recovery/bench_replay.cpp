// Replaying a recovery journal: a document of N MB (UTF-16 size of mixed Hangul
// and ASCII text) in the store, a journal of M edit records written by the
// journal's own writer thread (typing with deletions and line breaks at caret
// positions that wander through the text), then the time to read, check and
// apply every record to the store. Also the cost of queueing one record (what a
// key press pays). No display needed.
//
//   build/bin/bench_replay [--mb N] [--records M]      (defaults 100 and 1000000)
#include "document/text_store.h"
#include "recovery/document_journal.h"
#include "recovery/recovery_journal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qint64 mb = 100;
    qint64 records = 1000000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--mb") == 0)
            mb = QByteArray(argv[i + 1]).toLongLong();
        else if (qstrcmp(argv[i], "--records") == 0)
            records = QByteArray(argv[i + 1]).toLongLong();
    }

    const QString line = QStringLiteral("journal replay 한국어 문서를 편집하는 시험 줄 abc 12345\n");
    QString text;
    text.reserve(qsizetype(mb * 1024 * 1024 / 2 + line.size()));
    while (text.size() * 2 < mb * 1024 * 1024)
        text += line;

    QTemporaryDir dir;
    JournalHead head;
    head.path = dir.filePath(QStringLiteral("doc.txt"));
    head.baseLength = text.size();

    // The edits: runs of typing at a caret that jumps now and then.
    QRandomGenerator rng(7);
    auto journal = RecoveryJournal::start(dir.path() + QStringLiteral("/recovery/"), head, false);
    if (!journal) {
        std::fprintf(stderr, "no journal\n");
        return 1;
    }
    qint64 length = text.size();
    qint64 caret = length / 2;
    std::vector<double> queueNs;
    queueNs.reserve(std::size_t(records));
    QElapsedTimer t;
    static const char16_t units[] = u"가나다라 abc\n";
    for (qint64 i = 0; i < records; ++i) {
        if (rng.bounded(64u) == 0)
            caret = qint64(rng.bounded(quint32(length)));
        const bool erase = rng.bounded(8u) == 0 && caret > 0;
        const QChar unit(units[rng.bounded(10u)]);
        t.start();
        if (erase)
            journal->appendEdit(caret - 1, 1, {});
        else
            journal->appendEdit(caret, 0, QStringView(&unit, 1));
        queueNs.push_back(double(t.nsecsElapsed()));
        if (erase) {
            --caret;
            --length;
        } else {
            ++caret;
            ++length;
        }
    }
    journal->keep();
    std::nth_element(queueNs.begin(), queueNs.begin() + queueNs.size() / 2, queueNs.end());
    const QString file = journal->filePath();
    std::printf("journal: %lld records, %.1f MB on disk; queueing a record: median %.0f ns\n",
                records, double(QFileInfo(file).size()) / 1e6, queueNs[queueNs.size() / 2]);

    TextStore store;
    store.setUndoEnabled(false);
    store.setText(text);
    text = QString();
    StoreReplay replay(store);
    t.start();
    const JournalScan scan = scanJournalFile(file, &replay);
    const double seconds = double(t.nsecsElapsed()) / 1e9;
    std::printf("replay of %lld records over a %lld MB document: %.3f s (%s; length %lld == %lld)\n",
                scan.edits, mb, seconds, scan.torn ? "torn" : "whole", qint64(store.length()),
                length);
    return scan.edits == records && store.length() == length ? 0 : 1;
}
