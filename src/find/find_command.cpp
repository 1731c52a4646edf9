// The main window's find command: shows the find dialog, waits for it, then moves
// the caret in front of the next occurrence of the search string.
#include "app/app_state.h"
#include "app/forms.h"
#include "app/main_window.h"
#include "app/memo_view.h"
#include "find/document_search.h"
#include "find/search_form.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

namespace {

// Runs the event loop until the dialog is hidden or the program starts to close,
// so the dialog and the rest of the program stay responsive meanwhile.
void waitWhileVisible(Tsearchform *dialog)
{
    QEventLoop loop;
    QObject::connect(dialog, &Tsearchform::hidden, &loop, &QEventLoop::quit);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    // The close handler only sets a flag; it is looked at ten times a second.
    QTimer closing;
    closing.setInterval(100);
    QObject::connect(&closing, &QTimer::timeout, &loop, [&loop] {
        if (appClosing)
            loop.quit();
    });
    closing.start();
    if (dialog->isVisible() && !appClosing)
        loop.exec();
}

} // namespace

void TForm1::find1Click()
{
    if (!searchform)
        return;
    findRequested = false;
    m_memo.setEnabled(false);
    FILE1->setEnabled(false);
    find1->setEnabled(false);

    searchform->show();  // keeps the string typed the previous time
    searchform->raise(); // above the main window, also when it was raised meanwhile
    searchform->activateWindow();
    waitWhileVisible(searchform);

    m_memo.setEnabled(true);
    FILE1->setEnabled(true);
    find1->setEnabled(true);
    if (!findRequested || !searchform)
        return;
    const QString needle = searchform->Edit1->text();
    if (needle.isEmpty())
        return;

    if (wordWrap())
        setWordWrap(false); // with its menu caption and status text
    m_memo.setVisible(false);
    m_memo.setSelLength(0);
    const qsizetype start = m_memo.selStart();
    // The whole text after the caret is searched in place, as one sequence: an
    // occurrence is found wherever it lies, also inside very long lines.
    const qsizetype found = findInStore(Memo1->store(), start, needle);
    m_memo.setSelLength(0);
    m_memo.setSelStart(found >= 0 ? start + found : start);
    m_memo.setVisible(true);
    m_memo.setFocus();
}
