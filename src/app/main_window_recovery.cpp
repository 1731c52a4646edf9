// The main window's part in keeping the user's text: the reload question when
// the window becomes active, and the quiet end a signal or the session asks for.
#include "app/main_window.h"
#include "codec/recovery_offer.h"

#include <QEvent>
#include <QTimer>

void TForm1::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Asked after the activation has settled, not inside it.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QTimer::singleShot(0, this, [this] {
            if (isActiveWindow())
                checkFileOnDisk();
        });
}

void TForm1::checkFileOnDisk()
{
    offerReloadIfChanged(m_context, m_askedAbout);
}

void TForm1::endWithoutQuestions()
{
    if (m_quietEnd)
        return;
    m_quietEnd = true;
    m_journal.keep(); // on disk; the next start offers it back
    close();
}
