#include "convert/hanja_command.h"

#include "convert/hanja_popup.h"
#include "convert/hanja_sources.h"
#include "document/text_control.h"
#include "ime/composer.h"
#include "ime/input_options.h"
#include "platform/platform.h"

#include <QKeyEvent>
#include <QWidget>

bool isHanjaKey(const QKeyEvent *event)
{
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    return event->key() == Qt::Key_Hangul_Hanja || event->key() == Qt::Key_F9;
}

HanjaCommand::HanjaCommand(QWidget *host, TextControl &control, ComposerState &state,
                           HanjaDictionaries &dictionaries)
    : QObject(host), m_host(host), m_control(control), m_state(state), m_dictionaries(dictionaries)
{
}

void HanjaCommand::run()
{
    // A control that takes no typing (disabled while the find dialog waits, or
    // read-only for a moment after an intercepted paste) is not changed either.
    if (!m_control.isEnabled() || m_control.isReadOnly())
        return;
    const HanjaDictionary &dictionary = m_dictionaries.system();
    switch (dictionary.status()) {
    case HanjaDictionary::Status::Loaded:
        break;
    case HanjaDictionary::Status::Missing:
        ErrorBox(m_host->window(),
                 tr("The Hanja dictionary is not installed: %1 was not found.")
                     .arg(m_dictionaries.path()),
                 tr("ERROR"));
        return;
    default:
        ErrorBox(m_host->window(),
                 tr("The Hanja dictionary %1 could not be read.").arg(m_dictionaries.path()),
                 tr("ERROR"));
        return;
    }

    const bool learn = inputOptionsOrDefaults(m_state.options).learnHanja;
    const HanjaSources sources{&m_dictionaries.user(), &m_dictionaries.symbols(),
                               learn ? &m_dictionaries.history() : nullptr};
    m_lookup = lookUpHanja(dictionary, m_control, sources);
    if (m_lookup.candidates.isEmpty())
        return;

    if (!m_popup) {
        m_popup = new HanjaPopup(m_host);
        connect(m_popup, &HanjaPopup::chosen, this, &HanjaCommand::apply);
    }
    QRect caret = m_host->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    if (!caret.isValid())
        caret = QRect(0, 0, 1, m_host->fontMetrics().height());
    caret.moveTopLeft(m_host->mapToGlobal(caret.topLeft()));
    m_popup->showCandidates(m_lookup.candidates, caret, m_host->font());
}

void HanjaCommand::apply(qsizetype index)
{
    const QString reading = readingOf(m_lookup, index);
    // The choice is its own undo step, and ends any open syllable.
    m_control.endComposition();
    if (!applyHanjaCandidate(m_control, m_lookup, index, m_state))
        return;
    m_control.endComposition();
    if (inputOptionsOrDefaults(m_state.options).learnHanja) {
        HanjaHistory &history = m_dictionaries.history();
        history.record(reading, m_lookup.candidates.at(index).hanja);
        history.saveLater();
    }
}
