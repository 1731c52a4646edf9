#include "settings/font_record.h"

#include <QFile>

#include <cstring>

namespace {

void putInt32(char *out, std::int32_t value)
{
    const auto u = std::uint32_t(value);
    for (int i = 0; i < 4; ++i)
        out[i] = char((u >> (8 * i)) & 0xFF);
}

std::int32_t getInt32(const char *in)
{
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= std::uint32_t(std::uint8_t(in[i])) << (8 * i);
    return std::int32_t(u);
}

} // namespace

QString FontRecord::familyName() const
{
    const auto *end = static_cast<const char *>(std::memchr(name.data(), 0, name.size()));
    const qsizetype len = end ? end - name.data() : qsizetype(name.size());
    return QString::fromUtf8(name.data(), len);
}

void FontRecord::setFamilyName(const QString &family)
{
    QByteArray bytes = family.toUtf8();
    qsizetype len = std::min<qsizetype>(bytes.size(), NameSize - 1);
    // Never cut inside a multi-byte sequence: back up over continuation bytes.
    if (len < bytes.size())
        while (len > 0 && (std::uint8_t(bytes[len]) & 0xC0) == 0x80)
            --len;
    name.fill(0);
    std::memcpy(name.data(), bytes.constData(), size_t(len));
}

QByteArray FontRecord::toBytes() const
{
    QByteArray out(Size, '\0');
    char *p = out.data();
    putInt32(p + 0, color);
    putInt32(p + 4, height);
    std::memcpy(p + 8, name.data(), NameSize);
    p[208] = char(pitch);
    std::memcpy(p + 209, padding.data(), padding.size());
    putInt32(p + 212, charset);
    return out;
}

std::optional<FontRecord> FontRecord::fromBytes(QByteArrayView bytes)
{
    if (bytes.size() < Size)
        return std::nullopt;
    const char *p = bytes.data();
    FontRecord r;
    r.color = getInt32(p + 0);
    r.height = getInt32(p + 4);
    std::memcpy(r.name.data(), p + 8, NameSize);
    r.pitch = std::uint8_t(p[208]);
    std::memcpy(r.padding.data(), p + 209, r.padding.size());
    r.charset = getInt32(p + 212);
    return r;
}

FontRecord FontRecord::designFont()
{
    FontRecord r;
    r.setFamilyName(QStringLiteral("MS UI Gothic"));
    return r;
}

std::optional<FontRecord> readFontFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return FontRecord::fromBytes(file.read(FontRecord::Size));
}

bool writeFontFile(const QString &path, const FontRecord &record)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const QByteArray bytes = record.toBytes();
    return file.write(bytes) == bytes.size() && file.flush();
}
