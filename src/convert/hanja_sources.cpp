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

QString symbolTablePath()
{
    return QFileInfo(hanjaDictionaryPath()).absolutePath() + QStringLiteral("/mssymbol.txt");
}

const HanjaDictionary &programUserHanjaDictionary()
{
    static ReloadingHanjaDictionary user;
    return user.get(userHanjaDictionaryPath());
}

const HanjaDictionary &programSymbolTable()
{
    static HanjaDictionary symbols;
    static QString loadedFrom;
    const QString path = symbolTablePath();
    if (symbols.status() != HanjaDictionary::Status::Loaded || loadedFrom != path) {
        symbols.load(path);
        loadedFrom = path;
    }
    return symbols;
}

HanjaHistory &programHanjaHistory()
{
    static std::unique_ptr<HanjaHistory> history;
    const QString path = hanjaHistoryPath();
    if (!history || history->path() != path) {
        history = std::make_unique<HanjaHistory>();
        history->load(path);
    }
    return *history;
}
