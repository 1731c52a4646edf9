// The "Hangul to Hanja" command of one edit control (the editor or the find
// dialog's edit line): looks the reading up, offers the candidates at the caret
// and writes the chosen Hanja back.
#pragma once

#include "convert/hanja_lookup.h"

#include <QObject>

class HanjaDictionaries;
class HanjaPopup;
class QKeyEvent;
class QWidget;

// The keys that run the command: the Hanja key and F9 (without Ctrl, Alt or Meta).
bool isHanjaKey(const QKeyEvent *event);

class HanjaCommand : public QObject
{
    Q_OBJECT
public:
    // `host` is the control's widget: the popup stands at its caret, in its font,
    // and keys the popup does not take go back to it. The words are looked up in
    // `dictionaries` (which outlive the command); whether choices are learned
    // follows `state.options`.
    HanjaCommand(QWidget *host, TextControl &control, ComposerState &state,
                 HanjaDictionaries &dictionaries);

    // Runs the command. No dictionary: an error box says so. No match, or a control
    // that is disabled or read-only: nothing happens. Otherwise the candidate
    // window opens and the call returns at once.
    void run();

    // The candidate window, once the command has opened it.
    HanjaPopup *popup() const { return m_popup; }

private:
    void apply(qsizetype index);

    QWidget *m_host;
    TextControl &m_control;
    ComposerState &m_state;
    HanjaDictionaries &m_dictionaries;
    HanjaPopup *m_popup = nullptr; // a child of the host, like this command
    HanjaLookup m_lookup;
};
