// Time of one composer key in the main editor, with a small and a large document
// and the caret in the middle, offscreen: the median over many keys of the key
// press and release events sent to Memo1 and the repaint they ask for (the edited
// line is laid out when it is painted), and of the events alone, for both
// schemes and, for comparison,
// the same keys typed without input method; with the caret's line like the others
// and with it the widest line of the document. Last, the direct mode's layouts
// side by side: a three-set key against a two-set key.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_keystroke [large-MB] [keys]
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "ime/hangul_layout.h"
#include "ime/input_options.h"
#include "settings/app_state.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// One line of mixed text: 20 Latin units and 40 syllables, 141 bytes as saved
// (UTF-8 with CR LF).
const QString Line = QStringLiteral(
    "Tavril line text 12 한국어 문서를 편집하는 시험 줄입니다 가나다라마바사아자차카타파하 "
    "한글 입력 편집기의 성능을 재는 문장입니다\n");

int savedBytes(QStringView text)
{
    int bytes = 0;
    for (QChar c : text)
        bytes += c == u'\n' ? 2 : c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
    return bytes;
}

QString document(qint64 bytes, bool widestAtCaret, qsizetype *caret)
{
    const qint64 lineBytes = savedBytes(Line);
    const qint64 lines = std::max<qint64>(2, bytes / lineBytes);
    QString text;
    text.reserve(qsizetype(lines * Line.size() + Line.size()));
    for (qint64 i = 0; i < lines; ++i) {
        if (i == lines / 2) {
            QString middle = Line;
            if (widestAtCaret)
                middle.insert(middle.size() - 1, QStringLiteral(" 더 긴 줄"));
            // The caret goes after the space in the middle of this line.
            *caret = text.size() + middle.indexOf(u' ', middle.size() / 2) + 1;
            text += middle;
        } else {
            text += Line;
        }
    }
    return text;
}

void sendKey(QWidget *w, char c)
{
    const int key = c == '\b' ? int(Qt::Key_Backspace) : int(Qt::Key_A) + (c - 'a');
    const QString text = c == '\b' ? QStringLiteral("\b") : QString(QChar(c));
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

struct Result
{
    double medianUs; // wall-clock time, key and repaint
    double p90Us;
    double cpuMedianUs; // this thread's processor time: what a shared machine does not inflate
    double keyOnlyUs;   // the key events alone, without the repaint
};

// Counts the paints of a widget, to make sure each timed key included one.
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

double threadCpuUs()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

struct Host
{
    TForm1 *form;
    QString text;
    qsizetype caret = 0;
    std::vector<double> us, cpu, keyOnly;
    PaintCounter painted;
};

Result summary(const Host &h)
{
    std::vector<double> us = h.us, cpu = h.cpu, keyOnly = h.keyOnly;
    std::sort(us.begin(), us.end());
    std::sort(cpu.begin(), cpu.end());
    std::sort(keyOnly.begin(), keyOnly.end());
    return {us[us.size() / 2], us[us.size() * 9 / 10], cpu[cpu.size() / 2],
            keyOnly[keyOnly.size() / 2]};
}

// The direct mode's layout chosen in the window's "IME" menu (the choice is
// written before the keys are timed).
void chooseLayout(TForm1 &form, const QByteArray &layout)
{
    for (QAction *item : form.findChild<QMenu *>(QStringLiteral("directlayout1"))->actions()) {
        if (item->data().toByteArray() == layout)
            item->trigger();
    }
    waitForInputOptionsWritten();
}

// Keys compose one syllable and take it apart again: insert, two replacements,
// two reductions, and a Backspace the editor itself carries out. The small and the
// large document take turns, one cycle of keys each, so that both see the same
// load of a shared machine.
void measure(Host (&hosts)[2], int mode, int keys, const QByteArray &layout = {})
{
    // Without an input method the same keys are typed as they are: the editor's own
    // cost of a key, for comparison. ㅎ, 하, 한 on both two-set layouts and on the
    // three-set one (m f s).
    const char *cycle = mode != ImeDirect ? "han\b\b\b"
                        : layout == "39"  ? "mfs\b\b\b"
                                          : "gks\b\b\b";
    for (Host &h : hosts) {
        chooseLayout(*h.form, layout);
        h.form->setImeMode(mode);
        h.form->memo().setSelStart(h.caret);
        // Fresh flags; the window's input options stay.
        const InputOptions *options = h.form->memoComposer.options;
        h.form->memoComposer = ComposerState();
        h.form->memoComposer.options = options;
        h.us.clear();
        h.cpu.clear();
        h.keyOnly.clear();
    }
    QApplication::processEvents();
    for (int round = 0; round < keys / 6; ++round) {
        for (Host &h : hosts) {
            for (int i = 0; i < 6; ++i) {
                const int paintsBefore = h.painted.paints;
                QElapsedTimer timer;
                const double cpuStart = threadCpuUs();
                timer.start();
                sendKey(h.form->Memo1, cycle[i]);
                h.keyOnly.push_back(timer.nsecsElapsed() / 1e3);
                // The repaint the key asked for, as the event loop delivers it.
                QApplication::processEvents();
                h.us.push_back(timer.nsecsElapsed() / 1e3);
                h.cpu.push_back(threadCpuUs() - cpuStart);
                if (h.painted.paints == paintsBefore)
                    std::fprintf(stderr, "warning: a key was not repainted\n");
            }
        }
    }
    for (Host &h : hosts) {
        if (h.form->memo().length() != h.text.size())
            std::fprintf(stderr, "warning: the document changed length\n");
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const double largeMb = argc > 1 ? std::max(1.0, atof(argv[1])) : 50.0;
    const int keys = argc > 2 ? std::max(60, atoi(argv[2])) : 3000;
    QTemporaryDir dir;
    // The recovery journals go to the temporary folder, not the user's.
    qputenv("XDG_STATE_HOME", dir.path().toUtf8());
    TForm1 smallForm({QStringLiteral("tavriledit")}, dir.path());
    TForm1 largeForm({QStringLiteral("tavriledit")}, dir.path());
    Host hosts[2] = {{&smallForm, {}, 0, {}, {}, {}, {}}, {&largeForm, {}, 0, {}, {}, {}, {}}};
    const qint64 sizes[2] = {1024, qint64(largeMb * 1024 * 1024)};
    for (Host &h : hosts) {
        h.form->show();
        h.form->move(0, 0);
        h.form->Memo1->viewport()->installEventFilter(&h.painted);
    }
    QApplication::processEvents();

    for (bool widest : {false, true}) {
        for (int s = 0; s < 2; ++s) {
            hosts[s].text = document(sizes[s], widest, &hosts[s].caret);
            hosts[s].form->memo().setText(hosts[s].text);
        }
        for (int mode : {ImeRomanized, ImeDirect, ImeNone}) {
            measure(hosts, mode, keys);
            const Result r[2] = {summary(hosts[0]), summary(hosts[1])};
            std::printf("%-9s %-13s | small %lld units: median %.1f us, p90 %.1f, cpu %.1f, "
                        "key alone %.1f | large %lld units: median %.1f us, p90 %.1f, cpu %.1f, "
                        "key alone %.1f | ratio %.2f, cpu %.2f, key alone %.2f\n",
                        mode == ImeRomanized ? "romanized"
                        : mode == ImeDirect  ? "direct"
                                             : "no IME",
                        widest ? "widest line" : "uniform lines", (long long)hosts[0].text.size(),
                        r[0].medianUs, r[0].p90Us, r[0].cpuMedianUs, r[0].keyOnlyUs,
                        (long long)hosts[1].text.size(), r[1].medianUs, r[1].p90Us,
                        r[1].cpuMedianUs, r[1].keyOnlyUs, r[1].medianUs / r[0].medianUs,
                        r[1].cpuMedianUs / r[0].cpuMedianUs, r[1].keyOnlyUs / r[0].keyOnlyUs);
            std::fflush(stdout);
        }
    }
    // The direct mode's layouts: the written two-set, the library's two-set and
    // its three-set 390, the caret's line like the others.
    for (int s = 0; s < 2; ++s) {
        hosts[s].text = document(sizes[s], false, &hosts[s].caret);
        hosts[s].form->memo().setText(hosts[s].text);
    }
    double median[3][2] = {};
    const QByteArray ids[3] = {"", "2", "39"};
    for (int l = 0; l < 3; ++l) {
        if (!layouts::isAvailable(ids[l]))
            continue;
        measure(hosts, ImeDirect, keys, ids[l]);
        const Result r[2] = {summary(hosts[0]), summary(hosts[1])};
        std::printf("direct layout %-3s | small: median %.1f us, cpu %.1f, key alone %.1f | "
                    "large: median %.1f us, cpu %.1f, key alone %.1f\n",
                    ids[l].isEmpty() ? "(written)" : ids[l].constData(), r[0].medianUs,
                    r[0].cpuMedianUs, r[0].keyOnlyUs, r[1].medianUs, r[1].cpuMedianUs,
                    r[1].keyOnlyUs);
        median[l][0] = r[0].medianUs;
        median[l][1] = r[0].keyOnlyUs;
        std::fflush(stdout);
    }
    if (median[1][0] > 0 && median[2][0] > 0)
        std::printf("three-set key vs two-set key (small document): library 390 / library "
                    "two-set %.2f (key alone %.2f), 390 / written two-set %.2f (key alone %.2f)\n",
                    median[2][0] / median[1][0], median[2][1] / median[1][1],
                    median[2][0] / median[0][0], median[2][1] / median[0][1]);
    // The recovery journal's share of a composed key: the same keys with the
    // journal kept and without, taking turns on both documents.
    std::vector<double> keyWith, keyWithout, allWith, allWithout;
    for (int turn = 0; turn < 6; ++turn) {
        const bool on = turn % 2 == 0;
        for (Host &h : hosts)
            h.form->journal().setEnabled(on);
        measure(hosts, ImeRomanized, keys);
        const Result r = summary(hosts[1]);
        (on ? keyWith : keyWithout).push_back(r.keyOnlyUs);
        (on ? allWith : allWithout).push_back(r.medianUs);
    }
    auto middle = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("journal   romanized, large   | composed key alone: with the journal %.2f us, "
                "without %.2f us, added %.2f us | with its repaint: %.1f us, %.1f us\n",
                middle(keyWith), middle(keyWithout), middle(keyWith) - middle(keyWithout),
                middle(allWith), middle(allWithout));
    for (Host &h : hosts)
        h.form->memo().setText(QString());
    return 0;
}
