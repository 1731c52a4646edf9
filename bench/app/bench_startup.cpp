// Start-up time: from starting the editor's process to its main window shown,
// offscreen, median of several runs.
//   build/bin/bench_startup [runs]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 15;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TAVRIL_EXIT_WHEN_SHOWN"), QStringLiteral("1"));
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
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
    }
    std::sort(ms.begin(), ms.end());
    std::printf("startup to window shown (offscreen), %d runs: median %.1f ms, min %.1f ms, "
                "max %.1f ms\n",
                runs, ms[ms.size() / 2], ms.front(), ms.back());
    return 0;
}
