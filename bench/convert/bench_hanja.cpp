// The Hanja dictionary: time to load the installed dictionary (read and index),
// time to gather the candidates for readings of one to six syllables before the
// caret, as the Hanja key does, and time to fill and show the candidate window
// with them (offscreen); medians.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_hanja [dictionary] [loads, default 7]
#include "convert/hanja_dictionary.h"
#include "convert/hanja_lookup.h"
#include "convert/hanja_popup.h"
#include "document/memory_text_control.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The offscreen platform warns on every popup it shows; the figures are what counts.
void quietPlatform(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtWarningMsg || !message.startsWith(u"This plugin does not support"))
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char *argv[])
{
    qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    const QString path = argc > 1 ? QString::fromLocal8Bit(argv[1]) : defaultHanjaDictionaryPath();
    const int loads = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    HanjaDictionary dictionary;
    std::vector<double> loadMs;
    for (int i = 0; i < loads; ++i) {
        QElapsedTimer t;
        t.start();
        if (dictionary.load(path) != HanjaDictionary::Status::Loaded) {
            std::fprintf(stderr, "cannot load %s\n", qPrintable(path));
            return 1;
        }
        loadMs.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("load %s: %lld entries, longest reading %lld, median of %d loads %.1f ms "
                "(goal <= 200 ms)\n",
                qPrintable(path), static_cast<long long>(dictionary.entryCount()),
                static_cast<long long>(dictionary.longestReading()), loads, median(loadMs));

    // Readings of 1..6 syllables after a line of other text, the caret behind them.
    const char16_t *const readings[] = {u"한",       u"한국",       u"대학교",
                                        u"국민학교", u"가감승합제", u"가격유지제도"};
    for (const char16_t *r : readings) {
        const QString reading = QString::fromUtf16(r);
        MemoryTextControl control;
        control.setText(QStringLiteral("Some text, then ") + reading);
        control.setSelStart(control.length());
        constexpr int Runs = 2001;
        std::vector<double> us;
        us.reserve(Runs);
        qsizetype found = 0;
        for (int i = 0; i < Runs; ++i) {
            QElapsedTimer t;
            t.start();
            found = lookUpHanja(dictionary, control).candidates.size();
            us.push_back(t.nsecsElapsed() / 1e3);
        }
        std::printf("candidates for a reading of %lld syllables (%lld offered): median %.1f us "
                    "(goal <= 1000 us)\n",
                    static_cast<long long>(reading.size()), static_cast<long long>(found),
                    median(us));
    }

    // The window: filled and shown at a caret, then closed, as each Hanja key does.
    QWidget host;
    host.resize(400, 300);
    host.show();
    HanjaPopup popup(&host);
    for (const char16_t *r : readings) {
        MemoryTextControl control;
        control.setText(QString::fromUtf16(r));
        control.setSelStart(control.length());
        const HanjaLookup lookup = lookUpHanja(dictionary, control);
        std::vector<double> us;
        for (int i = 0; i < 101; ++i) {
            QElapsedTimer t;
            t.start();
            popup.showCandidates(lookup.candidates,
                                 QRect(host.mapToGlobal(QPoint(20, 20)), QSize(1, 20)),
                                 host.font());
            us.push_back(t.nsecsElapsed() / 1e3);
            popup.hide();
        }
        std::printf("window with the candidates of %lld syllables shown: median %.1f us\n",
                    static_cast<long long>(lookup.text.size()), median(us));
    }
    return 0;
}
