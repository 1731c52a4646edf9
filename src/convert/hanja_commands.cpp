// The main editor's Hangul to Hanja command (the "IME" menu, the context menu and
// the keys). The chosen Hanja marks the document modified through the editor's
// change notification.
#include "app/main_window.h"
#include "app/memo_view.h"
#include "convert/hanja_command.h"

void TForm1::HangultoHanja1Click()
{
    if (!m_hanja)
        m_hanja = new HanjaCommand(Memo1, m_memo, memoComposer);
    m_hanja->run();
}

void TForm1::HangultoHanja2Click()
{
    HangultoHanja1Click();
}
