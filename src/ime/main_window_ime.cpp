// The main window's input-method commands: the three modes and the editor's key
// dispatch.
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/memo_view.h"
#include "convert/hanja_command.h"
#include "ime/composer.h"
#include "ime/key_event.h"

#include <QKeyEvent>

void TForm1::setImeMode(int mode)
{
    ImeMode = mode;
    setPanelText(0, mode == ImeRomanized ? QStringLiteral("R")
                    : mode == ImeDirect  ? QStringLiteral("H")
                                         : QString());
}

void TForm1::KoreaRomaIME1Click()
{
    setImeMode(ImeRomanized);
}

void TForm1::KoreaDirectIME1Click()
{
    setImeMode(ImeDirect);
}

void TForm1::nonIME1Click()
{
    setImeMode(ImeNone);
}

void TForm1::KoreanRomanizedinput1Click()
{
    setImeMode(ImeRomanized);
}

void TForm1::KoreanDirectinput1Click()
{
    setImeMode(ImeDirect);
}

void TForm1::dontuseIME1Click()
{
    setImeMode(ImeNone);
}

void TForm1::MenuItem7Click()
{
    setImeMode(ImeRomanized);
}

void TForm1::MenuItem8Click()
{
    setImeMode(ImeDirect);
}

void TForm1::MenuItem9Click()
{
    setImeMode(ImeNone);
}

int TForm1::Memo1KeyPress(int key)
{
    documentModified = true;
    switch (ImeMode) {
    case ImeDirect:
        return ComposeDirectKey(key, m_memo, memoComposer, false);
    case ImeRomanized:
        return ComposeRomanizedKey(key, m_memo, memoComposer);
    default:
        return key;
    }
}

bool TForm1::memoKeyConsumed(QKeyEvent *event)
{
    // The Hanja key and F9 are commands, not typed keys.
    if (isHanjaKey(event)) {
        HangultoHanja1Click();
        return true;
    }
    const int key = composerKeyFromEvent(event);
    if (key == 0)
        return false;
    return Memo1KeyPress(key) == 0;
}
