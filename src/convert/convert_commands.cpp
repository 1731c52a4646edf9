// The main editor's Kanji to Hangul commands (context menu).
#include "app/main_window.h"
#include "convert/kanji_to_hangul.h"

// A conversion that changes the document marks it modified through the editor's
// change notification.

void TForm1::KanjiJapantoHangulSelectArea1Click()
{
    convertSelectionToHangul(m_memo, false);
}

void TForm1::KanjiJapantoHangulSelectAreaType21Click()
{
    convertSelectionToHangul(m_memo, true);
}
