#include "app/session_end.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int wakePipe[2] = {-1, -1};

// Async-signal-safe: one byte into the pipe the event loop watches.
void onSignal(int)
{
    const int saved = errno;
    const char byte = 1;
    (void)!::write(wakePipe[1], &byte, 1);
    errno = saved;
}

} // namespace

SessionEnd::SessionEnd(std::function<void()> endQuietly, QObject *parent)
    : QObject(parent), m_endQuietly(std::move(endQuietly))
{
    if (wakePipe[0] < 0 && ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0)
        wakePipe[0] = wakePipe[1] = -1;
    if (wakePipe[0] >= 0) {
        m_notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
            }
            m_endQuietly();
        });
        struct sigaction action = {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(SIGTERM, &action, nullptr);
        ::sigaction(SIGHUP, &action, nullptr);
    }
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance())) {
        // The session manager asks before it ends the session; the window must
        // not put a question in its way. The end runs once this request returns.
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager &) {
            QTimer::singleShot(0, this, [this] { m_endQuietly(); });
        });
    }
}

SessionEnd::~SessionEnd()
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGHUP, SIG_DFL);
}
