#include "recovery/journal_format.h"

#include <QFile>
#include <QtEndian>

#include <array>
#include <cstring>

namespace {

using Table = std::array<std::array<std::uint32_t, 256>, 8>;

// Slicing-by-8 tables of the reflected Castagnoli polynomial.
const Table &crcTable()
{
    static const Table table = [] {
        Table t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? (c >> 1) ^ 0x82F63B78u : c >> 1;
            t[0][i] = c;
        }
        for (std::uint32_t i = 0; i < 256; ++i)
            for (std::size_t s = 1; s < 8; ++s)
                t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
        return t;
    }();
    return table;
}

constexpr char Magic[] = "TAVRILJ1\n"; // the format's version is its last digit
constexpr qsizetype MagicSize = sizeof(Magic) - 1;
constexpr qsizetype FrameSize = 9; // length, checksum, type
constexpr quint32 HeadVersion = 1;
// A record longer than this is damage, not text (a snapshot holds at most 2 GiB units).
constexpr quint64 MaxPayload = quint64(1) << 33;

void putU32(QByteArray &out, quint32 v)
{
    char b[4];
    for (int i = 0; i < 4; ++i)
        b[i] = char(v >> (8 * i));
    out.append(b, 4);
}

void putI64(QByteArray &out, qint64 v)
{
    char b[8];
    for (int i = 0; i < 8; ++i)
        b[i] = char(quint64(v) >> (8 * i));
    out.append(b, 8);
}

void putUnits(QByteArray &out, QStringView units)
{
    // Code units as stored, little-endian (this is a journal for the same machine,
    // but it stays readable if the home folder moves).
    const qsizetype at = out.size();
    out.resize(at + units.size() * 2);
    char *p = out.data() + at;
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        std::memcpy(p, units.utf16(), std::size_t(units.size()) * 2);
    } else {
        for (QChar c : units) {
            *p++ = char(c.unicode() & 0xFF);
            *p++ = char(c.unicode() >> 8);
        }
    }
}

// Frames the payload written after `start` (where FrameSize bytes were reserved).
void frame(QByteArray &out, qsizetype start, JournalRecord type)
{
    const quint64 payload = quint64(out.size() - start - FrameSize);
    out[start + 8] = char(type);
    const std::uint32_t crc = crc32c(out.constData() + start + 8, std::size_t(payload) + 1);
    for (int i = 0; i < 4; ++i) {
        out[start + i] = char(quint32(payload) >> (8 * i));
        out[start + 4 + i] = char(crc >> (8 * i));
    }
}

qsizetype beginRecord(QByteArray &out)
{
    const qsizetype start = out.size();
    out.append(FrameSize, '\0');
    return start;
}

class Reader
{
public:
    Reader(const char *p, qsizetype size) : m_p(p), m_end(p + size) {}
    bool ok() const { return m_ok; }
    qsizetype left() const { return m_end - m_p; }
    quint64 u64(int bytes)
    {
        if (left() < bytes) {
            m_ok = false;
            return 0;
        }
        quint64 v = 0;
        for (int i = 0; i < bytes; ++i)
            v |= quint64(quint8(m_p[i])) << (8 * i);
        m_p += bytes;
        return v;
    }
    QByteArray bytes()
    {
        const quint64 n = u64(4);
        if (!m_ok || quint64(left()) < n) {
            m_ok = false;
            return {};
        }
        QByteArray b(m_p, qsizetype(n));
        m_p += n;
        return b;
    }
    QString units()
    {
        const QByteArray b = bytes();
        if (b.size() % 2) {
            m_ok = false;
            return {};
        }
        return unitsOf(b.constData(), b.size() / 2);
    }
    static QString unitsOf(const char *p, qsizetype count)
    {
        QString s(count, Qt::Uninitialized);
        if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
            std::memcpy(s.data(), p, std::size_t(count) * 2);
        } else {
            for (qsizetype i = 0; i < count; ++i)
                s[i] = QChar(char16_t(quint8(p[2 * i]) | (quint8(p[2 * i + 1]) << 8)));
        }
        return s;
    }

private:
    const char *m_p;
    const char *m_end;
    bool m_ok = true;
};

bool readHead(const char *p, qsizetype size, JournalHead &head)
{
    Reader r(p, size);
    if (r.u64(4) != HeadVersion)
        return false;
    QByteArray path = r.bytes();
    if (path.size() % 2)
        return false;
    head.path = Reader::unitsOf(path.constData(), path.size() / 2);
    head.identity.device = r.u64(8);
    head.identity.inode = r.u64(8);
    head.identity.size = qint64(r.u64(8));
    head.identity.modifiedNsecs = qint64(r.u64(8));
    head.hash = r.bytes();
    head.encoding = qint32(r.u64(4));
    head.bomKind = qint32(r.u64(4));
    head.lineBreak = qint32(r.u64(4));
    head.baseLength = qint64(r.u64(8));
    head.createdMs = qint64(r.u64(8));
    return r.ok() && head.baseLength >= 0;
}

} // namespace

std::uint32_t crc32c(const void *data, std::size_t size, std::uint32_t crc)
{
    const Table &t = crcTable();
    const auto *p = static_cast<const unsigned char *>(data);
    crc = ~crc;
    while (size >= 8) {
        std::uint32_t lo;
        std::uint32_t hi;
        std::memcpy(&lo, p, 4);
        std::memcpy(&hi, p + 4, 4);
        if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian) {
            lo = qFromLittleEndian(lo);
            hi = qFromLittleEndian(hi);
        }
        lo ^= crc;
        crc = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
              t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
        p += 8;
        size -= 8;
    }
    while (size--)
        crc = (crc >> 8) ^ t[0][(crc ^ *p++) & 0xFF];
    return ~crc;
}

QByteArrayView journalMagic()
{
    return QByteArrayView(Magic, MagicSize);
}

JournalSink::~JournalSink() = default;

void appendHeadRecord(QByteArray &out, const JournalHead &head)
{
    const qsizetype start = beginRecord(out);
    putU32(out, HeadVersion);
    putU32(out, quint32(head.path.size() * 2));
    putUnits(out, head.path);
    putI64(out, qint64(head.identity.device));
    putI64(out, qint64(head.identity.inode));
    putI64(out, head.identity.size);
    putI64(out, head.identity.modifiedNsecs);
    putU32(out, quint32(head.hash.size()));
    out.append(head.hash);
    putU32(out, quint32(head.encoding));
    putU32(out, quint32(head.bomKind));
    putU32(out, quint32(head.lineBreak));
    putI64(out, head.baseLength);
    putI64(out, head.createdMs);
    frame(out, start, JournalRecord::Head);
}

void appendEditRecord(QByteArray &out, qint64 pos, qint64 removed, QStringView added)
{
    const qsizetype start = beginRecord(out);
    putI64(out, pos);
    putI64(out, removed);
    putUnits(out, added);
    frame(out, start, JournalRecord::Edit);
}

void appendSnapshotRecord(QByteArray &out, QStringView text)
{
    const qsizetype start = beginRecord(out);
    putUnits(out, text);
    frame(out, start, JournalRecord::Snapshot);
}

qint64 editRecordSize(qint64 added)
{
    return FrameSize + 16 + 2 * added;
}

JournalScan scanJournal(QByteArrayView data, JournalSink *sink)
{
    JournalScan scan;
    if (!data.startsWith(journalMagic()))
        return scan;
    const char *const base = data.data();
    qsizetype at = MagicSize;
    scan.validBytes = at;
    while (data.size() - at >= FrameSize) {
        const char *p = base + at;
        Reader frameReader(p, FrameSize);
        const quint64 payload = frameReader.u64(4);
        const auto crc = std::uint32_t(frameReader.u64(4));
        const auto type = JournalRecord(quint8(p[8]));
        if (payload > MaxPayload || payload > quint64(data.size() - at - FrameSize) ||
            crc32c(p + 8, std::size_t(payload) + 1) != crc)
            break;
        const char *body = p + FrameSize;
        bool fits = true;
        if (!scan.headOk) {
            fits = type == JournalRecord::Head && readHead(body, qsizetype(payload), scan.head);
            if (fits) {
                scan.headOk = true;
                scan.length = scan.head.baseLength;
            }
        } else if (type == JournalRecord::Edit && payload >= 16 && payload % 2 == 0) {
            Reader r(body, 16);
            const auto pos = qint64(r.u64(8));
            const auto removed = qint64(r.u64(8));
            const qint64 added = qint64(payload - 16) / 2;
            fits = pos >= 0 && removed >= 0 && removed <= scan.length - pos;
            if (fits) {
                if (sink) // records are not aligned: the units are copied out
                    sink->edit(pos, removed, Reader::unitsOf(body + 16, qsizetype(added)));
                scan.length += added - removed;
                ++scan.edits;
            }
        } else if (type == JournalRecord::Snapshot && payload % 2 == 0) {
            if (sink)
                sink->snapshot(Reader::unitsOf(body, qsizetype(payload / 2)));
            scan.length = qint64(payload / 2);
            ++scan.snapshots;
        } else {
            fits = false;
        }
        if (!fits)
            break;
        at += FrameSize + qsizetype(payload);
        scan.validBytes = at;
    }
    scan.torn = scan.validBytes < data.size();
    return scan;
}

bool journalMatchesFile(const JournalHead &head)
{
    const FileIdentity now = FileIdentity::of(head.path);
    if (!now.exists() || !head.identity.exists())
        return !now.exists() && !head.identity.exists();
    return !head.hash.isEmpty() && now.size == head.identity.size &&
           fileContentHash(head.path) == head.hash;
}

JournalScan scanJournalFile(const QString &path, JournalSink *sink)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    if (size == 0)
        return {};
    if (uchar *map = file.map(0, size))
        return scanJournal(QByteArrayView(reinterpret_cast<const char *>(map), size), sink);
    return scanJournal(file.readAll(), sink);
}
