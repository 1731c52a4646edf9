// The main editor's Kanji to Hangul commands (context menu).
#include "app/app_state.h"
#include "app/main_window.h"
#include "convert/kanji_to_hangul.h"

// A conversion that changed the document marks it modified.

void TForm1::KanjiJapantoHangulSelectArea1Click()
{
    if (convertSelectionToHangul(m_memo, false) && !m_memo.isReadOnly())
        documentModified = true;
}

void TForm1::KanjiJapantoHangulSelectAreaType21Click()
{
    if (convertSelectionToHangul(m_memo, true) && !m_memo.isReadOnly())
        documentModified = true;
}
