// Byte helpers shared by the file tests: hex literals, spans, UTF-16 byte
// orders and whole-file reads and writes.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <initializer_list>
#include <span>

inline QByteArray hex(const char *h)
{
    return QByteArray::fromHex(h);
}

inline std::span<const std::uint8_t> span(const QByteArray &b)
{
    return {reinterpret_cast<const std::uint8_t *>(b.constData()), std::size_t(b.size())};
}

// A string of the given code units, unpaired surrogates included.
inline QString units(std::initializer_list<char16_t> list)
{
    QString s;
    for (char16_t u : list)
        s.append(QChar(u));
    return s;
}

// The code units of `s` as little-endian (le) or big-endian (be) bytes.
inline QByteArray le(const QString &s)
{
    QByteArray out;
    for (QChar c : s)
        out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return out;
}

inline QByteArray be(const QString &s)
{
    QByteArray out;
    for (QChar c : s)
        out.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    return out;
}

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}
