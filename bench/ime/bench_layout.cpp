// Choosing a direct-mode layout: the input library loading its keyboard files
// (once, when the menu is built), and each choice from the "direct layout" menu
// followed by the first key typed with it (the library's context made or switched,
// "tavriledit.ini" written), offscreen.
//   QT_QPA_PLATFORM=offscreen build/bin/bench_layout [rounds]
#include "app/main_window.h"
#include "editor/memo_view.h"
#include "ime/hangul_layout.h"
#include "settings/app_state.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QMenu>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    QTemporaryDir dir;

    QElapsedTimer timer;
    timer.start();
    const qsizetype offered = layouts::availableLayouts().size();
    std::printf("keyboard files loaded: %.2f ms (%lld layouts offered)\n",
                timer.nsecsElapsed() / 1e6, (long long)offered);

    TForm1 form({QStringLiteral("tavriledit")}, dir.path());
    form.show();
    form.setImeMode(ImeDirect);
    QApplication::processEvents();
    auto *menu = form.findChild<QMenu *>(QStringLiteral("directlayout1"));
    if (!menu)
        return 1;
    std::vector<double> ms;
    for (int round = 0; round < rounds; ++round) {
        for (QAction *item : menu->actions()) {
            timer.restart();
            item->trigger();
            QKeyEvent press(QEvent::KeyPress, Qt::Key_K, Qt::NoModifier, QStringLiteral("k"));
            QApplication::sendEvent(form.Memo1, &press);
            QApplication::processEvents();
            ms.push_back(timer.nsecsElapsed() / 1e6);
        }
    }
    std::sort(ms.begin(), ms.end());
    std::printf("layout chosen and first key typed: median %.3f ms, p90 %.3f ms, max %.3f ms "
                "(%zu choices)\n",
                ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back(), ms.size());
    return 0;
}
