// One line of any length in the main window, offscreen: opening a file that is a
// single line of many megabytes (processor time to the first paint, peak memory
// against the text's UTF-16 size), then End, Home, Ctrl+End and a key typed at the
// line's end, each timed to the end of its repaint, with word wrap off and on (and
// the switch itself), and page by page down a wrapped line.
//   build/bin/bench_long_line [MB of the one-line file, default 100] [MB of the wrapped line,
//   default 10] [repeats, default 20]
#include "app/main_window.h"
#include "editor/memo_control.h"
#include "editor/memo_view.h"
#include "settings/app_state.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + ts.tv_nsec / 1e9;
}

double statusMb(const char *field)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(int(qstrlen(field))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

void resetPeak()
{
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly))
        f.write("5");
}

// Minified data without a line break: ASCII with some Hangul, like an export.
QByteArray oneLine(qint64 bytes)
{
    const QByteArray record =
        QStringLiteral(
            "{\"id\":12345,\"name\":\"Tavril 편집기\",\"tags\":[\"a\",\"bc\"],\"ok\":true},")
            .toUtf8();
    QByteArray data;
    data.reserve(bytes + record.size());
    while (data.size() < bytes)
        data += record;
    data.truncate(bytes - 8);
    data += "\"end\"}]"; // whole characters at the end
    return data;
}

class PaintCounter : public QObject
{
public:
    int paints = 0;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

// Milliseconds of one key with the repaint it asks for.
double keyMs(MemoView *view, int key, Qt::KeyboardModifiers mods, const QString &text = {})
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(view, &press);
    QApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

struct Figures
{
    double median, worst;
};

Figures figures(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return {v[v.size() / 2], v.back()};
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double mb = argc > 1 ? std::max(1.0, atof(argv[1])) : 100.0;
    const double wrappedMb = argc > 2 ? std::max(1.0, atof(argv[2])) : 10.0;
    const int repeats = argc > 3 ? std::max(3, atoi(argv[3])) : 20;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("one-line.json"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(oneLine(qint64(mb * 1e6))) < 0)
            return 1;
    }

    // Open at start-up, as with the file on the command line, to the first paint.
    const double rssBefore = statusMb("VmRSS:");
    resetPeak();
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    TForm1 form({QStringLiteral("tavriledit"), path}, dir.path());
    PaintCounter painted;
    form.Memo1->viewport()->installEventFilter(&painted);
    form.show();
    while (painted.paints == 0)
        QApplication::processEvents();
    const double openCpu = cpuSeconds() - cpu0;
    const double openWall = wall.nsecsElapsed() / 1e9;
    const double peak = statusMb("VmHWM:") - rssBefore;
    MemoView *view = form.Memo1;
    const qsizetype units = view->store().length();
    std::printf("open %.0f MB one line (%lld units, %.0f MB as UTF-16, %lld line): cpu %.3f s, "
                "wall %.3f s to the first paint; peak %.0f MB above the start, %.2f x UTF-16\n",
                mb, (long long)units, units * 2 / 1e6, (long long)view->store().lineCount(),
                openCpu, openWall, peak, peak * 1024 * 1024 / (units * 2.0));

    for (bool wrap : {false, true}) {
        QElapsedTimer toggle;
        toggle.start();
        form.memo().setWordWrap(wrap);
        QApplication::processEvents();
        const double toggleMs = toggle.nsecsElapsed() / 1e6;
        std::vector<double> end, home, ctrlEnd, typed;
        for (int i = 0; i < repeats; ++i) {
            home.push_back(keyMs(view, Qt::Key_Home, Qt::ControlModifier));
            end.push_back(keyMs(view, Qt::Key_End, {}));
            home.push_back(keyMs(view, Qt::Key_Home, {}));
            keyMs(view, Qt::Key_Home, Qt::ControlModifier);
            ctrlEnd.push_back(keyMs(view, Qt::Key_End, Qt::ControlModifier));
            typed.push_back(keyMs(view, Qt::Key_X, {}, QStringLiteral("x")));
            keyMs(view, Qt::Key_Backspace, {}, QStringLiteral("\b"));
        }
        const Figures f[4] = {figures(end), figures(home), figures(ctrlEnd), figures(typed)};
        std::printf("word wrap %s (switched in %.1f ms with its repaint): End %.2f ms (worst "
                    "%.2f), Home %.2f (%.2f), Ctrl+End %.2f "
                    "(%.2f), key typed at the end %.2f (%.2f)\n",
                    wrap ? "on " : "off", toggleMs, f[0].median, f[0].worst, f[1].median,
                    f[1].worst, f[2].median, f[2].worst, f[3].median, f[3].worst);
    }
    if (view->store().length() != units)
        std::fprintf(stderr, "warning: the document changed length\n");

    // Page by page down a wrapped line.
    form.memo().setText(QString::fromUtf8(oneLine(qint64(wrappedMb * 1e6))));
    form.memo().setWordWrap(true);
    QApplication::processEvents();
    std::vector<double> pages;
    for (int i = 0; i < 10 * repeats; ++i)
        pages.push_back(keyMs(view, Qt::Key_PageDown, {}));
    const Figures p = figures(pages);
    std::printf("%.0f MB wrapped line: page down %.2f ms (worst %.2f) over %d pages, "
                "caret at unit %lld\n",
                wrappedMb, p.median, p.worst, int(pages.size()), (long long)view->cursorPosition());
    return 0;
}
