#include "convert/hanja_dictionary.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace {

// Far above any real dictionary, and within the index's 32-bit offsets.
constexpr qint64 MaxFileBytes = qint64(1) << 30;

int compareBytes(QByteArrayView a, QByteArrayView b)
{
    const int c = std::memcmp(a.data(), b.data(), size_t(std::min(a.size(), b.size())));
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// UTF-16 length of well-formed UTF-8: one unit per lead byte, two for a four-byte sequence.
qsizetype utf16Length(QByteArrayView utf8)
{
    qsizetype units = 0;
    for (char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        units += (b & 0xC0) != 0x80;
        units += b >= 0xF0;
    }
    return units;
}

} // namespace

QByteArrayView HanjaDictionary::reading(const Line &line) const
{
    return QByteArrayView(m_bytes.constData() + line.offset, line.readingBytes);
}

HanjaDictionary::Status HanjaDictionary::load(const QString &path)
{
    m_bytes.clear();
    m_index.clear();
    m_longestReading = 0;
    QFile file(path);
    if (!QFileInfo(path).isFile()) {
        m_status = QFileInfo::exists(path) ? Status::Unreadable : Status::Missing;
        return m_status;
    }
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes) {
        m_status = Status::Unreadable;
        return m_status;
    }
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        m_status = Status::Unreadable;
        return m_status;
    }
    return loadBytes(std::move(bytes));
}

HanjaDictionary::Status HanjaDictionary::loadBytes(QByteArray bytes)
{
    m_index.clear();
    m_longestReading = 0;
    if (bytes.size() > MaxFileBytes) {
        m_bytes.clear();
        m_status = Status::Unreadable;
        return m_status;
    }
    m_bytes = std::move(bytes);
    const char *const data = m_bytes.constData();
    const qsizetype size = m_bytes.size();
    m_index.reserve(size_t(size / 24));
    bool sorted = true;
    for (qsizetype pos = 0; pos < size;) {
        const char *nl =
            static_cast<const char *>(std::memchr(data + pos, '\n', size_t(size - pos)));
        const qsizetype end = nl ? nl - data : size;
        qsizetype lineEnd = end;
        if (lineEnd > pos && data[lineEnd - 1] == '\r')
            --lineEnd;
        const qsizetype start = pos;
        pos = end + 1;
        if (lineEnd == start || data[start] == '#')
            continue;
        const auto *c1 =
            static_cast<const char *>(std::memchr(data + start, ':', size_t(lineEnd - start)));
        if (!c1)
            continue;
        const qsizetype afterReading = c1 - data + 1;
        const auto *c2 = static_cast<const char *>(
            std::memchr(data + afterReading, ':', size_t(lineEnd - afterReading)));
        if (!c2)
            continue;
        const qsizetype readingBytes = c1 - data - start;
        const qsizetype hanjaBytes = c2 - c1 - 1;
        if (readingBytes == 0 || hanjaBytes == 0 ||
            readingBytes > std::numeric_limits<std::uint16_t>::max() ||
            hanjaBytes > std::numeric_limits<std::uint16_t>::max())
            continue;
        const Line line{std::uint32_t(start), std::uint16_t(readingBytes),
                        std::uint16_t(hanjaBytes), std::uint32_t(lineEnd - (c2 - data) - 1)};
        if (sorted && !m_index.empty() && compareBytes(reading(m_index.back()), reading(line)) > 0)
            sorted = false;
        m_index.push_back(line);
        m_longestReading =
            std::max(m_longestReading, utf16Length(QByteArrayView(data + start, readingBytes)));
    }
    // The file is normally in reading order already; otherwise readings are sorted
    // with each reading's entries kept in the file's order.
    if (!sorted)
        std::stable_sort(m_index.begin(), m_index.end(), [this](const Line &a, const Line &b) {
            return compareBytes(reading(a), reading(b)) < 0;
        });
    m_index.shrink_to_fit();
    m_status = Status::Loaded;
    return m_status;
}

QList<HanjaEntry> HanjaDictionary::lookUp(QStringView reading) const
{
    QList<HanjaEntry> result;
    if (reading.isEmpty() || reading.size() > m_longestReading)
        return result;
    const QByteArray key = reading.toUtf8();
    const auto less = [this](const Line &line, QByteArrayView k) {
        return compareBytes(this->reading(line), k) < 0;
    };
    auto it = std::lower_bound(m_index.begin(), m_index.end(), QByteArrayView(key), less);
    for (; it != m_index.end() && compareBytes(this->reading(*it), key) == 0; ++it) {
        const char *hanja = m_bytes.constData() + it->offset + it->readingBytes + 1;
        result.append({QString::fromUtf8(hanja, it->hanjaBytes),
                       QString::fromUtf8(hanja + it->hanjaBytes + 1, it->meaningBytes)});
    }
    return result;
}

QString defaultHanjaDictionaryPath()
{
    return QStringLiteral("/usr/share/libhangul/hanja/hanja.txt");
}
