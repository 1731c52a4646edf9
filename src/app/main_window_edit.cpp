// The main editor's edit commands (context menu), the Ctrl+V interception and its
// read-only timer.
#include "app/main_window.h"
#include "editor/edit_commands.h"
#include "platform/platform.h"
#include "settings/app_state.h"

#include <QTimer>

// What these commands change marks the document modified through the editor's
// change notification.

void TForm1::MenuItem1Click()
{
    cutToClipboard(m_memo);
}

void TForm1::MenuItem2Click()
{
    copyToClipboard(m_memo);
}

void TForm1::MenuItem3Click()
{
    pasteFromClipboard(m_memo);
}

void TForm1::MenuItem4Click()
{
    if (!ConfirmBox(this, tr("Clear OK?"), tr("confirm")))
        return;
    m_memo.setText(QString());
}

void TForm1::MenuItem5Click()
{
    m_memo.selectAll();
}

void TForm1::FormShortCut(int key, Qt::KeyboardModifiers shift)
{
    connect(TimerMemo, &QTimer::timeout, this, &TForm1::TimerMemoTimer, Qt::UniqueConnection);
    interceptPasteShortcut(m_memo, TimerMemo, key, shift);
}

void TForm1::TimerMemoTimer()
{
    m_memo.setReadOnly(false);
    TimerMemo->stop();
}
