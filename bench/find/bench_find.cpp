// The find command's search through a large document, from its start to a string
// near the end, against a bare QStringView::indexOf over the same text in the
// same run; median of several runs.
//   build/bin/bench_find [megabytes of UTF-16 text, default 100] [runs, default 7]
//                        [units per line, default 100]
// The search reads the editor's store in place.
#include "editor/memo_control.h"
#include "editor/memo_view.h"
#include "find/document_search.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

// Lines of mixed Latin, Hangul and kanji, like a real document.
QString makeDocument(qsizetype units, qsizetype lineUnits)
{
    const QString pieces[] = {
        QStringLiteral("The quick brown fox jumps over the lazy dog. "),
        u"\uD55C\uAD6D\uC5B4 \uBB38\uC7A5\uC744 \uC785\uB825\uD569\uB2C8\uB2E4. "_qs,
        u"\u65E5\u672C\u8A9E\u306E\u6587\u7AE0\u3067\u3059\u3002"_qs,
        QStringLiteral("0123456789 needl needle- "),
    };
    QString text;
    text.reserve(units + 200);
    std::size_t i = 0;
    qsizetype lineLength = 0;
    while (text.size() < units) {
        const QString &p = pieces[i++ % std::size(pieces)];
        text += p;
        lineLength += p.size();
        if (lineLength >= lineUnits) {
            text += u'\n';
            lineLength = 0;
        }
    }
    return text;
}

double medianMs(int runs, const std::function<qsizetype()> &work, qsizetype *result)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        *result = work();
        ms.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype megabytes = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 7;
    const qsizetype lineUnits = argc > 3 ? std::max(1, atoi(argv[3])) : 100;
    const QString needle = u"needle-\uB05D"_qs; // occurs once, near the end

    QString text = makeDocument(megabytes * 1024 * 1024 / 2, lineUnits);
    text += u"\nlast lines: "_qs + needle + u" and some more text after it.\n"_qs;
    Document document;
    MemoView edit{document};
    MemoControl control(&edit);
    QElapsedTimer load;
    load.start();
    control.setText(text);
    const double loadMs = load.nsecsElapsed() / 1e6;
    const QString editorText = control.text(); // what a bare search would be given

    qsizetype found = -1;
    qsizetype bare = -1;
    const double findMs = medianMs(
        runs, [&] { return findInStore(edit.store(), 0, needle); }, &found);
    const double bareMs = medianMs(
        runs, [&] { return QStringView(editorText).indexOf(needle); }, &bare);
    if (found != bare || found < 0) {
        std::fprintf(stderr, "mismatch: document search %lld, indexOf %lld\n",
                     static_cast<long long>(found), static_cast<long long>(bare));
        return 1;
    }
    std::printf("document of %lld code units (%.0f MB as UTF-16, %lld lines), loaded in %.0f ms\n",
                static_cast<long long>(editorText.size()), editorText.size() * 2 / 1048576.0,
                static_cast<long long>(edit.store().lineCount()), loadMs);
    std::printf("found at %lld; median of %d runs: find %.1f ms, bare indexOf %.1f ms, "
                "ratio %.2f\n",
                static_cast<long long>(found), runs, findMs, bareMs, findMs / bareMs);
    return 0;
}
