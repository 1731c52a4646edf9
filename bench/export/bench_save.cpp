// Saving a large document, offscreen, in one run:
//  - encode throughput of the UTF-8 writer's steps against iconv (UTF-16LE to
//    UTF-8) on the same data, run as a subprocess;
//  - the whole over-write save command on the main window (no dialog) and the
//    two exports: time, and the process's peak memory during each.
//   build/bin/bench_save [megabytes of UTF-16 text, default 100] [folder for the files]
#include "app/main_window.h"
#include "export/output_format.h"
#include "settings/app_state.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include <sys/resource.h>
#include <time.h>

namespace {

// Peak and current resident memory of this process in MiB; the peak can be
// reset so that it covers one command only.
long statusKiB(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::strlen(field)));
    return -1;
}

void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

double mib(long kib)
{
    return kib / 1024.0;
}

// Korean prose with ASCII, Latin-1, a few characters outside the BMP and a line
// break every 60 units or so: the mix a document of this editor holds.
QString makeDocument(qsizetype units)
{
    QString text;
    text.reserve(units + 64);
    quint32 seed = 12345;
    const auto next = [&seed] {
        seed = seed * 1664525u + 1013904223u;
        return seed >> 8;
    };
    while (text.size() < units) {
        const qsizetype lineEnd = text.size() + 40 + next() % 40;
        while (text.size() < lineEnd) {
            const quint32 r = next() % 100;
            if (r < 55)
                text.append(QChar(char16_t(0xAC00 + next() % 11172)));
            else if (r < 65)
                text.append(QChar(u' '));
            else if (r < 90)
                text.append(QChar(char16_t('a' + next() % 26)));
            else if (r < 97)
                text.append(QChar(char16_t(0xC0 + next() % 0x40)));
            else {
                const char32_t c = 0x1F600 + next() % 64;
                text.append(QString::fromUcs4(&c, 1));
            }
        }
        text.append(QChar(u'\n'));
    }
    return text;
}

double seconds(const QElapsedTimer &t)
{
    return t.nsecsElapsed() / 1e9;
}

// CPU seconds of this process and of its finished children: on a shared
// machine these compare fairly where wall-clock times do not.
double ownCpu()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

double childrenCpu()
{
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return r.ru_utime.tv_sec + r.ru_utime.tv_usec / 1e6 + r.ru_stime.tv_sec +
           r.ru_stime.tv_usec / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 100.0;
    QTemporaryDir tmp(argc > 2 ? QString::fromLocal8Bit(argv[2]) + QStringLiteral("/bench_save")
                               : QDir::tempPath() + QStringLiteral("/bench_save"));
    if (!tmp.isValid()) {
        std::fprintf(stderr, "no folder for the files\n");
        return 1;
    }

    const QString text = makeDocument(qsizetype(megabytes * 1024 * 1024 / 2));
    const double inputMB = text.size() * 2 / 1e6;
    std::printf("document: %lld code units (%.1f MB as UTF-16)\n", (long long)text.size(), inputMB);

    // 1. Encoding alone: the steps of the UTF-8 save into the one buffer.
    {
        auto buffer = std::make_unique<char[]>(StepBufferSize);
        const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
        double best = 1e9, bestCpu = 1e9;
        std::size_t bytes = 0;
        for (int round = 0; round < 3; ++round) {
            QElapsedTimer t;
            t.start();
            const double cpu0 = ownCpu();
            bytes = 0;
            for (std::size_t offset = 0; offset < std::size_t(text.size());) {
                const StepResult step = encodeStep(OutputFormat::Utf8, buffer.get(), units + offset,
                                                   std::size_t(text.size()) - offset);
                offset += step.consumed;
                bytes += step.bytes;
            }
            best = std::min(best, seconds(t));
            bestCpu = std::min(bestCpu, ownCpu() - cpu0);
        }
        std::printf("encode UTF-16 -> UTF-8 (CR LF breaks), in memory: wall %.3f s, CPU %.3f s = "
                    "%.0f MB/s of input per CPU second; %zu bytes out\n",
                    best, bestCpu, inputMB / bestCpu, bytes);
    }

    // 2. iconv on the same data, from a file in the page cache to /dev/null.
    {
        QString crlf = text;
        crlf.replace(QChar(u'\n'), QStringLiteral("\r\n"));
        const QString input = tmp.filePath(QStringLiteral("input.utf16le"));
        QFile f(input);
        if (!f.open(QIODevice::WriteOnly) || f.write(reinterpret_cast<const char *>(crlf.utf16()),
                                                     crlf.size() * 2) != crlf.size() * 2) {
            std::fprintf(stderr, "cannot write the iconv input\n");
            return 1;
        }
        f.close();
        crlf = QString();
        double best = 1e9, bestCpu = 1e9;
        for (int round = 0; round < 3; ++round) {
            QProcess iconv;
            const double cpu0 = childrenCpu();
            iconv.setStandardInputFile(input);
            iconv.setStandardOutputFile(QProcess::nullDevice());
            QElapsedTimer t;
            t.start();
            iconv.start(QStringLiteral("iconv"), {"-f", "UTF-16LE", "-t", "UTF-8"});
            if (!iconv.waitForFinished(600000) || iconv.exitCode() != 0) {
                std::fprintf(stderr, "iconv failed\n");
                return 1;
            }
            best = std::min(best, seconds(t));
            bestCpu = std::min(bestCpu, childrenCpu() - cpu0);
        }
        std::printf("iconv -f UTF-16LE -t UTF-8, same data (file to /dev/null): wall %.3f s, CPU "
                    "%.3f s = %.0f MB/s of input per CPU second\n",
                    best, bestCpu, inputMB / bestCpu);
        QFile::remove(input);
    }

    // 3. The real commands on the main window.
    TForm1 form({QStringLiteral("tavriledit")}, tmp.path());
    form.show();
    {
        QElapsedTimer t;
        t.start();
        form.memo().setText(text);
        app.processEvents();
        std::printf("document put into the editor: %.2f s\n", seconds(t));
    }
    const QString target = tmp.filePath(QStringLiteral("saved.txt"));
    form.document().setFileName(target);
    const long before = statusKiB("VmRSS:");
    const auto run = [&](const char *what, QAction *action) {
        resetPeak();
        const long base = statusKiB("VmRSS:");
        QElapsedTimer t;
        t.start();
        const double cpu0 = ownCpu();
        action->trigger();
        const double s = seconds(t);
        const double cpu = ownCpu() - cpu0;
        const long peak = statusKiB("VmHWM:");
        std::printf("%s: wall %.2f s, CPU %.2f s, peak memory %.0f MiB (%.0f MiB above the %.0f "
                    "MiB before)\n",
                    what, s, cpu, mib(peak), mib(peak - base), mib(base));
    };
    run("save command (UTF-8, over write)", form.action("overwritesavefileUTF81"));
    const qint64 expected = text.toUtf8().size() + text.count(QChar(u'\n'));
    std::printf("  file: %lld bytes (expected %lld)%s\n", (long long)QFileInfo(target).size(),
                (long long)expected, QFileInfo(target).size() == expected ? "" : "  MISMATCH");
    QFile::remove(target);
    form.setWordWrap(true);
    app.processEvents();
    run("save command with word wrap on", form.action("overwritesavefileUTF81"));
    form.setWordWrap(false);
    QFile::remove(target);
    saveToCurrentFile = true; // the export commands write to the same file, no dialog
    run("HTML export", form.action("saveHTML99tagASCII1"));
    std::printf("  file: %lld bytes\n", (long long)QFileInfo(target).size());
    QFile::remove(target);
    run("C array export", form.action("saveUnicodenumberlanguageC0x1"));
    std::printf("  file: %lld bytes\n", (long long)QFileInfo(target).size());
    saveToCurrentFile = false;
    std::printf("resident before the saves: %.0f MiB\n", mib(before));
    return 0;
}
