// Ending without the window: SIGTERM and SIGHUP (a logout, `kill`) and the
// session manager's request to save its programs' data end the program without
// a question, after the recovery journal is on disk; the next start offers the
// text back. The signal only wakes the event loop; the work runs there.
#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

class SessionEnd : public QObject
{
    Q_OBJECT
public:
    // `endQuietly` runs on the event loop for each such request.
    explicit SessionEnd(std::function<void()> endQuietly, QObject *parent = nullptr);
    ~SessionEnd() override; // the signals' default actions again

private:
    std::function<void()> m_endQuietly;
    QSocketNotifier *m_notifier = nullptr;
};
