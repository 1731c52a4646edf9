#include "app/document_state.h"

#include "app/app_state.h"
#include "app/text_control.h"

#include <QFileInfo>

namespace {

// One file under two spellings of its path (a relative path, a link) is the same file.
bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

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

void DocumentState::setLoaded(LineBreakStyle style, const QString &file, std::uint64_t unreadable)
{
    m_lineBreak = style;
    m_file = file;
    m_unreadable = unreadable;
    documentModified = false;
}

bool DocumentState::replacesUnreadable(const QString &path) const
{
    return m_unreadable > 0 && !path.isEmpty() && sameFile(path, m_file);
}

void DocumentState::setWritten(const QString &path)
{
    if (replacesUnreadable(path))
        m_unreadable = 0;
}
