#include "document/document.h"

#include <QFileInfo>

namespace {

// The program document's state as the program-wide reads see it.
QString programFileName;
bool programModified = false;

// One file under two spellings of its path (a relative path, a link) is the same file.
bool sameFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

const QString &currentFileName = programFileName;
const bool &documentModified = programModified;

Document::Document(Scope scope, QObject *parent) : QObject(parent), m_scope(scope)
{
    connect(&m_store, &TextStore::changed, this, &Document::onStoreChanged);
    announce();
}

Document::~Document()
{
    if (m_scope == ProgramWide) {
        programFileName.clear();
        programModified = false;
    }
}

void Document::onStoreChanged(qsizetype pos, qsizetype removed, qsizetype added)
{
    emit textChanged(pos, removed, added);
    if (m_loading == 0)
        setModified(true);
}

void Document::setModified(bool on)
{
    if (m_modified == on)
        return;
    m_modified = on;
    announce();
}

void Document::announce()
{
    if (m_scope == ProgramWide) {
        programFileName = m_fileName;
        programModified = m_modified;
    }
    emit stateChanged();
}

void Document::setFileName(const QString &path)
{
    if (m_fileName == path)
        return;
    m_fileName = path;
    announce();
}

void Document::setLoaded(LineBreakStyle style, const QString &file, std::uint64_t unreadable,
                         DocumentEncoding encoding)
{
    m_lineBreak = style;
    m_unreadable = file.isEmpty() ? 0 : unreadable;
    m_identity = FileIdentity::of(file);
    m_encoding = encoding;
    m_modified = false;
    announce();
}

bool Document::replacesUnreadable(const QString &path) const
{
    return m_unreadable > 0 && !path.isEmpty() && sameFile(path, m_fileName);
}

void Document::setWritten(const QString &path)
{
    if (path.isEmpty() || m_fileName.isEmpty() || !sameFile(path, m_fileName))
        return;
    m_unreadable = 0;
    m_identity = FileIdentity::of(path);
    announce();
}

void Document::setSaved(const QString &path)
{
    setWritten(path);
    setModified(false);
}

void Document::abandonChanges()
{
    setModified(false);
}

void Document::keyTyped()
{
    setModified(true);
}
