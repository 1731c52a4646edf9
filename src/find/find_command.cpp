#include "find/find_command.h"

#include "document/text_control.h"
#include "editor/editor_context.h"
#include "editor/memo_view.h"
#include "find/document_search.h"
#include "find/search_form.h"
#include "settings/app_state.h"

#include <QAction>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
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

void findCommand(EditorContext &editor, Tsearchform *searchform,
                 const std::function<void(bool)> &setCommandsEnabled)
{
    if (!searchform)
        return;
    QPointer<Tsearchform> dialog = searchform; // may go while the loop runs
    findRequested = false;
    TextControl &memo = *editor.memo;
    memo.setEnabled(false);
    setCommandsEnabled(false);

    searchform->show();  // keeps the string typed the previous time
    searchform->raise(); // above the main window, also when it was raised meanwhile
    searchform->activateWindow();
    // Find pressed while the command waits is its request (its one writer).
    const QMetaObject::Connection pressed = QObject::connect(
        searchform, &Tsearchform::findPressed, searchform, [] { findRequested = true; });
    waitWhileVisible(searchform);
    QObject::disconnect(pressed);

    memo.setEnabled(true);
    setCommandsEnabled(true);
    if (!findRequested || !dialog)
        return;
    const QString needle = dialog->Edit1->text();
    if (needle.isEmpty())
        return;

    if (memo.wordWrap())
        memo.setWordWrap(false); // the menu caption and status text follow
    memo.setVisible(false);
    memo.setSelLength(0);
    const qsizetype start = memo.selStart();
    // The whole text after the caret is searched in place, as one sequence: an
    // occurrence is found wherever it lies, also inside very long lines.
    const qsizetype found = findInStore(editor.view->store(), start, needle);
    memo.setSelLength(0);
    memo.setSelStart(found >= 0 ? start + found : start);
    memo.setVisible(true);
    memo.setFocus();
}
