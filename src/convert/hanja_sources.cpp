#include "convert/hanja_sources.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <memory>

QString userHanjaDictionaryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tavriledit/hanja-user.txt");
}

QByteArray userHanjaDictionaryTemplate()
{
    return QByteArrayLiteral("# One word a line, reading:hanja:meaning (the meaning may be empty), "
                             "e.g. \xED\x95\x9C\xEA\xB5\xAD:\xE9\x9F\x93\xE5\x9C\x8B:Korea; "
                             "lines starting with # are comments.\n");
}

const HanjaDictionary &ReloadingHanjaDictionary::get(const QString &path)
{
    const QFileInfo info(path);
    const bool exists = info.exists();
    const qint64 size = exists ? info.size() : -1;
    const QDateTime modified = exists ? info.lastModified() : QDateTime();
    if (path != m_path || size != m_size || modified != m_modified) {
        m_path = path;
        m_size = size;
        m_modified = modified;
        if (exists)
            m_dictionary.load(path);
        else
            m_dictionary.loadBytes({});
    }
    return m_dictionary;
}

HanjaDictionaries::HanjaDictionaries(const QString &path) : m_path(path) {}

void HanjaDictionaries::setPath(const QString &path)
{
    m_path = path;
    m_system.reset();
}

const HanjaDictionary &HanjaDictionaries::system()
{
    if (!m_system)
        m_system = std::make_unique<HanjaDictionary>();
    if (m_system->status() != HanjaDictionary::Status::Loaded)
        m_system->load(m_path);
    return *m_system;
}

QString HanjaDictionaries::symbolTablePath() const
{
    return QFileInfo(m_path).absolutePath() + QStringLiteral("/mssymbol.txt");
}

const HanjaDictionary &HanjaDictionaries::symbols()
{
    const QString path = symbolTablePath();
    if (m_symbols.status() != HanjaDictionary::Status::Loaded || m_symbolsFrom != path) {
        m_symbols.load(path);
        m_symbolsFrom = path;
    }
    return m_symbols;
}

const HanjaDictionary &HanjaDictionaries::user()
{
    return m_user.get(userHanjaDictionaryPath());
}

HanjaHistory &HanjaDictionaries::history()
{
    const QString path = hanjaHistoryPath();
    if (!m_history || m_history->path() != path) {
        waitForHanjaHistorySaved(); // what another window learned is read back whole
        m_history = std::make_unique<HanjaHistory>();
        m_history->load(path);
    }
    return *m_history;
}
