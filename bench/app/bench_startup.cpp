// Start-up time: from starting the editor's process to its main window shown,
// offscreen, median of several runs, with the processor time each run used and
// the machine's load (a busy machine stretches the wall time, not the processor
// time).
//   build/bin/bench_startup [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

double childrenCpuMs()
{
    rusage r{};
    getrusage(RUSAGE_CHILDREN, &r);
    return (r.ru_utime.tv_sec + r.ru_stime.tv_sec) * 1e3 +
           (r.ru_utime.tv_usec + r.ru_stime.tv_usec) / 1e3;
}

void printLoad(const char *when)
{
    double load[3] = {};
    if (getloadavg(load, 3) == 3)
        std::printf("load average %s: %.2f %.2f %.2f\n", when, load[0], load[1], load[2]);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TAVRIL_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
    std::vector<double> ms, cpu;
    printLoad("at start");
    for (int i = 0; i < runs; ++i) {
        const double cpu0 = childrenCpuMs();
        QProcess editor;
        editor.setProcessEnvironment(env);
        editor.setProcessChannelMode(QProcess::SeparateChannels);
        QElapsedTimer timer;
        timer.start();
        editor.start(QStringLiteral(TAVRILEDIT_PATH), {});
        QByteArray out;
        while (!out.contains("shown") && editor.waitForReadyRead(30000))
            out += editor.readAllStandardOutput();
        const double elapsed = timer.nsecsElapsed() / 1e6;
        editor.waitForFinished(30000);
        if (!out.contains("shown")) {
            std::fprintf(stderr, "run %d: the editor did not report its window\n", i);
            return 1;
        }
        ms.push_back(elapsed);
        cpu.push_back(childrenCpuMs() - cpu0);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("startup to window shown (offscreen), %d runs: median %.1f ms, min %.1f ms, "
                "max %.1f ms\n",
                runs, ms[ms.size() / 2], ms.front(), ms.back());
    std::printf("processor time per run (to the end of the process): median %.1f ms\n",
                cpu[cpu.size() / 2]);
    printLoad("at end");
    return 0;
}
