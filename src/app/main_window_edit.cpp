// The main editor's edit commands (context menu), the Ctrl+V interception and its
// read-only timer.
#include "app/app_state.h"
#include "app/edit_commands.h"
#include "app/main_window.h"
#include "platform/platform.h"

#include <QTimer>

// Commands that change the document mark it modified, so that closing the
// window offers to save what was pasted, cut or cleared.

void TForm1::MenuItem1Click()
{
    const bool changes = m_memo.selLength() > 0;
    cutToClipboard(m_memo);
    if (changes)
        documentModified = true;
}

void TForm1::MenuItem2Click()
{
    copyToClipboard(m_memo);
}

void TForm1::MenuItem3Click()
{
    if (pasteFromClipboard(m_memo) == PasteOutcome::Pasted && !m_memo.isReadOnly())
        documentModified = true;
}

void TForm1::MenuItem4Click()
{
    if (!ConfirmBox(this, QStringLiteral("Clear OK?"), QStringLiteral("confirm")))
        return;
    if (m_memo.length() > 0)
        documentModified = true;
    m_memo.setText(QString());
}

void TForm1::MenuItem5Click()
{
    m_memo.selectAll();
}

void TForm1::FormShortCut(int key, Qt::KeyboardModifiers shift)
{
    connect(TimerMemo, &QTimer::timeout, this, &TForm1::TimerMemoTimer, Qt::UniqueConnection);
    if (interceptPasteShortcut(m_memo, TimerMemo, key, shift) == PasteOutcome::Pasted)
        documentModified = true;
}

void TForm1::TimerMemoTimer()
{
    m_memo.setReadOnly(false);
    TimerMemo->stop();
}
