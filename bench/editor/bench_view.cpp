// The editor view with a large document, offscreen, each step timed to the end
// of its repaint: the first screen, page down (median), jump to the end and back
// to the start, word wrap switched on, a page down and a jump with wrapping, and
// a scroll-bar drag to the middle with wrapping.
//   build/bin/bench_view [megabytes of UTF-16 text, default 100] [page downs, default 50]
#include "editor/memo_control.h"
#include "editor/memo_view.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Mixed Latin, Hangul and kana lines of varying length, like a real document.
QString makeDocument(qsizetype units)
{
    const QString pieces[] = {
        QStringLiteral("Tavril line text 12 "),
        u"\uD55C\uAD6D\uC5B4 \uBB38\uC11C\uB97C \uD3B8\uC9D1\uD558\uB294 "_qs,
        u"\u65E5\u672C\u8A9E\u306E\u6587\u7AE0\u3067\u3059\u3002"_qs,
        QStringLiteral("0123456789 "),
    };
    QString text;
    text.reserve(units + 200);
    std::size_t i = 0;
    int lineParts = 0;
    while (text.size() < units) {
        text += pieces[i++ % std::size(pieces)];
        if (++lineParts >= 3 + int(i % 7)) {
            text += u'\n';
            lineParts = 0;
        }
    }
    return text;
}

double timedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

void key(MemoView &view, int k, Qt::KeyboardModifiers mods = {})
{
    QKeyEvent press(QEvent::KeyPress, k, mods);
    QApplication::sendEvent(&view, &press);
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const qsizetype megabytes = argc > 1 ? std::max(1, atoi(argv[1])) : 100;
    const int pages = argc > 2 ? std::max(1, atoi(argv[2])) : 50;

    Document document;
    MemoView view{document};
    MemoControl control(&view);
    QFont font(QStringLiteral("MS UI Gothic"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(19);
    view.setFont(font);
    view.resize(525, 301);
    view.show();
    QApplication::processEvents();
    const QString text = makeDocument(megabytes * 1024 * 1024 / 2);
    const double setMs = timedMs([&] { control.setText(text); });
    const double firstMs = timedMs([&] { view.viewport()->repaint(); });
    std::printf("document of %lld units, %lld lines: setText %.1f ms, first paint %.2f ms\n",
                static_cast<long long>(text.size()),
                static_cast<long long>(view.store().lineCount()), setMs, firstMs);

    for (bool wrap : {false, true}) {
        if (wrap) {
            const double wrapMs = timedMs([&] {
                control.setWordWrap(true);
                view.viewport()->repaint();
            });
            std::printf("word wrap on, to the first paint: %.2f ms\n", wrapMs);
        }
        std::vector<double> down;
        for (int i = 0; i < pages; ++i)
            down.push_back(timedMs([&] {
                key(view, Qt::Key_PageDown);
                view.viewport()->repaint();
            }));
        std::sort(down.begin(), down.end());
        const double endMs = timedMs([&] {
            key(view, Qt::Key_End, Qt::ControlModifier);
            view.viewport()->repaint();
        });
        const double homeMs = timedMs([&] {
            key(view, Qt::Key_Home, Qt::ControlModifier);
            view.viewport()->repaint();
        });
        std::printf("%s: page down median %.2f ms (max %.2f), jump to the end %.2f ms, to the "
                    "start %.2f ms\n",
                    wrap ? "wrapped" : "unwrapped", down[down.size() / 2], down.back(), endMs,
                    homeMs);
        if (wrap) {
            QScrollBar *bar = view.verticalScrollBar();
            const double dragMs = timedMs([&] {
                bar->setValue(bar->maximum() / 2);
                view.viewport()->repaint();
            });
            std::printf("wrapped: scroll bar to the middle %.2f ms (top line %lld of %lld)\n",
                        dragMs, static_cast<long long>(view.topLine()),
                        static_cast<long long>(view.store().lineCount()));
        }
    }
    return 0;
}
