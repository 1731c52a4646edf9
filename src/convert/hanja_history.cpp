#include "convert/hanja_history.h"

#include "document/state_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThreadPool>

#include <algorithm>
#include <vector>

namespace {

// Longer lines are not a choice of ours: skipped rather than kept.
constexpr qsizetype MaxField = 256;

// One worker, so that saves happen in the order they were asked for.
QThreadPool &writer()
{
    static QThreadPool pool;
    pool.setMaxThreadCount(1);
    return pool;
}

bool writeHistory(const QString &path, const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return !QFileInfo::exists(path) || QFile::remove(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

void HanjaHistory::load(const QString &path)
{
    m_path = path;
    m_entries.clear();
    m_clock = 0;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    for (qsizetype from = 0; from < bytes.size();) {
        qsizetype to = bytes.indexOf('\n', from);
        if (to < 0)
            to = bytes.size();
        QByteArrayView line = QByteArrayView(bytes).sliced(from, to - from);
        from = to + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype tab = line.indexOf('\t');
        if (tab <= 0 || tab + 1 >= line.size())
            continue;
        const QString reading = QString::fromUtf8(line.first(tab));
        const QString hanja = QString::fromUtf8(line.sliced(tab + 1));
        if (reading.size() > MaxField || hanja.size() > MaxField)
            continue;
        record(reading, hanja);
    }
}

void HanjaHistory::record(QStringView reading, QStringView hanja)
{
    if (reading.isEmpty() || hanja.isEmpty())
        return;
    m_entries.insert(reading.toString(), Entry{hanja.toString(), ++m_clock});
    if (m_entries.size() > Limit + Limit / 10)
        prune();
}

QString HanjaHistory::preferred(QStringView reading) const
{
    const auto it = m_entries.constFind(reading.toString());
    return it == m_entries.cend() ? QString() : it->hanja;
}

void HanjaHistory::clear()
{
    m_entries.clear();
    m_clock = 0;
}

void HanjaHistory::prune()
{
    if (m_entries.size() <= Limit)
        return;
    std::vector<quint64> stamps;
    stamps.reserve(m_entries.size());
    for (const Entry &e : std::as_const(m_entries))
        stamps.push_back(e.stamp);
    std::nth_element(stamps.begin(), stamps.end() - Limit, stamps.end());
    const quint64 oldestKept = *(stamps.end() - Limit);
    m_entries.removeIf([&](const auto &it) { return it.value().stamp < oldestKept; });
}

QByteArray HanjaHistory::serialized() const
{
    std::vector<std::pair<quint64, const QString *>> order;
    order.reserve(m_entries.size());
    for (auto it = m_entries.cbegin(); it != m_entries.cend(); ++it)
        order.emplace_back(it->stamp, &it.key());
    std::sort(order.begin(), order.end());
    const size_t first = order.size() > size_t(Limit) ? order.size() - size_t(Limit) : 0;
    QByteArray out;
    for (size_t i = first; i < order.size(); ++i) {
        const QString &reading = *order[i].second;
        out += reading.toUtf8() + '\t' + m_entries.value(reading).hanja.toUtf8() + '\n';
    }
    return out;
}

bool HanjaHistory::save() const
{
    if (m_path.isEmpty())
        return false;
    waitForHanjaHistorySaved(); // an older save must not land after this one
    return writeHistory(m_path, serialized());
}

void HanjaHistory::saveLater() const
{
    if (m_path.isEmpty())
        return;
    // A history that cannot be written only costs the order of candidates.
    writer().start([path = m_path, bytes = serialized()] { writeHistory(path, bytes); });
}

void waitForHanjaHistorySaved()
{
    writer().waitForDone();
}

QString hanjaHistoryPath()
{
    return userStateFolder() + QStringLiteral("tavriledit/hanja-history");
}
