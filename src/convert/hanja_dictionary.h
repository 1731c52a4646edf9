// The Hangul to Hanja dictionary: lines "reading:hanja:meaning" read from a text
// file once, kept as the file's bytes with a sorted index for binary search.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

struct HanjaEntry
{
    QString hanja;
    QString meaning; // may be empty
};

class HanjaDictionary
{
public:
    enum class Status {
        NotLoaded,
        Loaded,
        Missing,    // no file at the path
        Unreadable, // the file exists but could not be read (or is too large)
    };

    // Reads the file at `path` and indexes it, dropping what was loaded before.
    // Lines starting with '#', empty lines and lines without two colons or with
    // an empty reading or Hanja are skipped. Line ends may be LF or CR LF.
    Status load(const QString &path);
    // Indexes `bytes` as the contents of such a file (any bytes at all).
    Status loadBytes(QByteArray bytes);
    Status status() const { return m_status; }

    qsizetype entryCount() const { return qsizetype(m_index.size()); }
    // The longest reading in UTF-16 code units (0 when nothing is loaded): no
    // lookup needs to look back further than this.
    qsizetype longestReading() const { return m_longestReading; }

    // The entries whose reading is exactly `reading`, in the file's order.
    QList<HanjaEntry> lookUp(QStringView reading) const;

private:
    // One line of the file: the reading starts at `offset`, the Hanja follows its
    // colon, the meaning follows the Hanja's colon.
    struct Line
    {
        std::uint32_t offset;
        std::uint16_t readingBytes;
        std::uint16_t hanjaBytes;
        std::uint32_t meaningBytes;
    };
    QByteArrayView reading(const Line &line) const;

    QByteArray m_bytes;
    std::vector<Line> m_index; // sorted by reading bytes, stable
    qsizetype m_longestReading = 0;
    Status m_status = Status::NotLoaded;
};

// Where the program's dictionary is read from: the Hangul input library's data
// (HanjaDictionaries in hanja_sources.h loads it).
QString defaultHanjaDictionaryPath();
