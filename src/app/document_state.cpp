#include "app/document_state.h"

#include "app/app_state.h"
#include "app/text_control.h"

DocumentState::DocumentState(TextControl &control) : m_control(control)
{
    m_control.setChangeListener([this](qsizetype, qsizetype, qsizetype) {
        if (m_loading == 0)
            documentModified = true;
    });
}

DocumentState::~DocumentState()
{
    m_control.setChangeListener({});
}

void DocumentState::setLoaded(LineBreakStyle style)
{
    m_lineBreak = style;
    documentModified = false;
}
