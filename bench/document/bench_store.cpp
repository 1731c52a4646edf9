// The document store at the sizes the editor meets: a composed key (one unit
// rewritten before the caret, as the composer does) and plain typing at 1 KB and
// at a large text, loading a UTF-8 file through the reader straight into the
// store, find to the end against QStringView::indexOf over a contiguous copy, and
// line lookups. No display needed.
//
//   build/bin/bench_store [--mb N] [--dir FOLDER]
//
// N (default 100) is the size of the generated UTF-8 file of mixed Japanese and
// ASCII lines (--mb 1000 for 1 GB). The large text is loaded in a child process,
// so that its peak memory (VmHWM) starts from a fresh process.
#include "codec/store_loading.h"
#include "document/text_store.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

qint64 nowNs(clockid_t clock = CLOCK_MONOTONIC)
{
    timespec ts;
    clock_gettime(clock, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

double statusMb(const char *key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// Lines of 20 to 70 characters: kana and kanji, with ASCII letters and spaces.
bool generate(const QString &path, qint64 bytes)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    std::uint32_t seed = 12345;
    const auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u) >> 8; };
    qint64 written = 0;
    QByteArray chunk;
    while (written < bytes) {
        QString lines;
        while (lines.size() < (1 << 19)) {
            const int length = 20 + int(next() % 50);
            for (int i = 0; i < length; ++i) {
                const std::uint32_t r = next();
                lines.append(r % 8 == 0    ? QChar(u'a' + (r >> 3) % 26)
                             : r % 16 == 1 ? QChar(u' ')
                             : r % 2 == 0  ? QChar(char16_t(0x3041 + (r >> 4) % 83))
                                           : QChar(char16_t(0x4E00 + (r >> 4) % 3000)));
            }
            lines.append(u'\n');
        }
        chunk = lines.toUtf8();
        const qint64 cut = std::min<qint64>(chunk.size(), bytes - written);
        const qint64 end = cut < chunk.size() ? chunk.lastIndexOf('\n', cut - 1) + 1 : cut;
        if (end <= 0 || out.write(chunk.constData(), end) != end)
            return false;
        written += end;
        if (end < chunk.size())
            break;
    }
    return true;
}

double median(std::vector<qint64> &v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : double(v[v.size() / 2]);
}

struct KeyFigures
{
    double composedUs = 0; // median
    double composedP99Us = 0;
    double typingUs = 0;
    double typingP99Us = 0;
};

// One composed key: the syllable before the caret rewritten as one undo step;
// then plain typing at the caret. The document's modified state listens.
KeyFigures keys(TextStore &store, int count)
{
    bool modified = false;
    QObject::connect(&store, &TextStore::changed, &store, [&] { modified = true; });
    const char16_t syllables[] = {0xD55C, 0xD558, 0xD55C, 0xAE00};
    qsizetype caret = store.length() / 2;
    store.replace(caret, 0, u"\uD55C");
    ++caret;
    std::vector<qint64> ns;
    ns.reserve(std::size_t(count));
    KeyFigures f;
    for (int i = 0; i < count; ++i) {
        const char16_t unit = syllables[i % 4];
        const qint64 t0 = nowNs();
        {
            UndoGroup group(store);
            store.replace(caret - 1, 1, QStringView(&unit, 1));
        }
        ns.push_back(nowNs() - t0);
    }
    f.composedUs = median(ns) / 1000;
    f.composedP99Us = double(ns[ns.size() * 99 / 100]) / 1000;
    ns.clear();
    store.breakUndoMerge();
    for (int i = 0; i < count; ++i) {
        const char16_t unit = syllables[i % 4];
        const qint64 t0 = nowNs();
        store.replace(caret, 0, QStringView(&unit, 1));
        ns.push_back(nowNs() - t0);
        ++caret;
    }
    f.typingUs = median(ns) / 1000;
    f.typingP99Us = double(ns[ns.size() * 99 / 100]) / 1000;
    if (!modified)
        std::fprintf(stderr, "no change notification\n");
    return f;
}

void printKeys(const char *label, const KeyFigures &f)
{
    std::printf("%-22s composed key median %.2f us (p99 %.2f) | typing median %.2f us (p99 %.2f)\n",
                label, f.composedUs, f.composedP99Us, f.typingUs, f.typingP99Us);
}

// For comparison: the same file read into one contiguous buffer.
int bufferChild(const QString &path)
{
    TextBuffer buffer;
    const qint64 wall0 = nowNs();
    const qint64 cpu0 = nowNs(CLOCK_PROCESS_CPUTIME_ID);
    ReadTextFile(path, UTF8, buffer);
    std::printf("same file into a TextBuffer: %.3f s wall, %.3f s CPU; peak %.0f MB\n",
                double(nowNs() - wall0) / 1e9, double(nowNs(CLOCK_PROCESS_CPUTIME_ID) - cpu0) / 1e9,
                statusMb("VmHWM:"));
    return 0;
}

// The child: load, then measure on the loaded text.
int child(const QString &path, double smallComposedUs)
{
    const double before = statusMb("VmHWM:");
    TextStore store;
    const qint64 wall0 = nowNs();
    const qint64 cpu0 = nowNs(CLOCK_PROCESS_CPUTIME_ID);
    const FileReadResult result = LoadTextFile(path, UTF8, store);
    const double loadS = double(nowNs() - wall0) / 1e9;
    const double loadCpuS = double(nowNs(CLOCK_PROCESS_CPUTIME_ID) - cpu0) / 1e9;
    const double peak = statusMb("VmHWM:");
    if (result.status != ReadStatus::Read) {
        std::fprintf(stderr, "read failed\n");
        return 1;
    }
    const double utf16Mb = double(store.length()) * 2 / (1024.0 * 1024.0);
    std::printf("load %.1f M units (UTF-16 %.0f MB): %.3f s wall, %.3f s CPU; peak %.0f MB "
                "(%.0f MB before) = %.2fx UTF-16; goal 1.5x + 50 MB = %.0f MB\n",
                double(store.length()) / 1e6, utf16Mb, loadS, loadCpuS, peak, before,
                peak / utf16Mb, 1.5 * utf16Mb + 50);

    // Line lookups at random places.
    std::uint32_t seed = 7;
    const auto next = [&seed] { return (seed = seed * 1664525u + 1013904223u); };
    const int lookups = 1000000;
    qsizetype sink = 0;
    qint64 t0 = nowNs();
    for (int i = 0; i < lookups; ++i)
        sink += store.lineAt(qsizetype(next() % std::uint32_t(store.length())));
    const double lineAtNs = double(nowNs() - t0) / lookups;
    t0 = nowNs();
    for (int i = 0; i < lookups; ++i)
        sink += store.lineStart(qsizetype(next() % std::uint32_t(store.lineCount())));
    const double lineStartNs = double(nowNs() - t0) / lookups;
    // Lines as a view reads them: one after another from the middle.
    const qsizetype firstLine = store.lineCount() / 2;
    const qsizetype screenful = std::min<qsizetype>(100000, store.lineCount() - firstLine);
    t0 = nowNs();
    for (qsizetype line = firstLine; line < firstLine + screenful; ++line)
        sink += store.lineAt(store.lineStart(line));
    const double nearbyNs = double(nowNs() - t0) / double(screenful);
    t0 = nowNs();
    const qsizetype mid = store.length() / 2;
    for (int i = 0; i < lookups; ++i)
        sink += store.at(mid + i % 4096);
    const double atNs = double(nowNs() - t0) / lookups;
    std::printf("%.1f M lines: offset->line %.0f ns, line->offset %.0f ns (random); both for "
                "consecutive lines %.0f ns; at() nearby %.1f ns%s\n",
                double(store.lineCount()) / 1e6, lineAtNs, lineStartNs, nearbyNs, atNs,
                sink == 42 ? " " : "");

    // Find to the end: a needle the text does not hold.
    const QString needle = QStringLiteral("Tavril\u3042needle");
    const QString copy = store.text();
    // Called through a volatile pointer: Qt declares the search pure, and the
    // compiler would otherwise hoist it out of the timed loop.
    qsizetype (*volatile plainFind)(QStringView, QStringView) = [](QStringView h, QStringView n) {
        return h.indexOf(n);
    };
    double bestStore = 1e18, bestPlain = 1e18;
    for (int round = 0; round < 5; ++round) {
        t0 = nowNs(CLOCK_PROCESS_CPUTIME_ID);
        sink += store.indexOf(needle, 0);
        bestStore = std::min(bestStore, double(nowNs(CLOCK_PROCESS_CPUTIME_ID) - t0));
        t0 = nowNs(CLOCK_PROCESS_CPUTIME_ID);
        sink += plainFind(copy, needle);
        bestPlain = std::min(bestPlain, double(nowNs(CLOCK_PROCESS_CPUTIME_ID) - t0));
    }
    std::printf("find to the end: store %.1f ms, QStringView::indexOf %.1f ms: ratio %.2f "
                "(best of 5, CPU time)\n",
                bestStore / 1e6, bestPlain / 1e6, bestStore / bestPlain);

    const KeyFigures big = keys(store, 20000);
    printKeys("large text:", big);
    std::printf("composed key large / 1 KB: %.2f\n", big.composedUs / smallComposedUs);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    double mb = 100;
    QString dir;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (qstrcmp(argv[i], "--mb") == 0)
            mb = QByteArray(argv[i + 1]).toDouble();
        else if (qstrcmp(argv[i], "--dir") == 0)
            dir = QString::fromLocal8Bit(argv[i + 1]);
    }
    QTemporaryDir temp(dir.isEmpty() ? QDir::tempPath() + QStringLiteral("/bench_store")
                                     : dir + QStringLiteral("/bench_store"));
    const QString path = temp.filePath(QStringLiteral("text.txt"));
    if (!generate(path, qint64(mb * 1024 * 1024))) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }
    {
        QFile warm(path); // into the page cache
        if (warm.open(QIODevice::ReadOnly))
            while (!warm.read(1 << 20).isEmpty()) {
            }
    }
    QFile load(QStringLiteral("/proc/loadavg"));
    std::printf("bench_store --mb %g: %s", mb,
                load.open(QIODevice::ReadOnly) ? load.readAll().constData() : "\n");

    // 1 KB of the same text.
    TextStore small;
    {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return 1;
        QString text = QString::fromUtf8(f.read(1024));
        small.setText(text.first(text.lastIndexOf(u'\n') + 1));
    }
    const KeyFigures tiny = keys(small, 20000);
    printKeys("1 KB:", tiny);
    std::fflush(stdout);

    int rc = 0;
    for (int which = 0; which < 2; ++which) {
        const pid_t pid = fork();
        if (pid == 0) {
            const int result = which == 0 ? bufferChild(path) : child(path, tiny.composedUs);
            std::fflush(stdout);
            _exit(result);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        rc |= WIFEXITED(status) ? WEXITSTATUS(status) : 1;
    }
    return rc;
}
