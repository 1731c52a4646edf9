// "fontedit.dat": the 216-byte little-endian record of the editor font.
//
// Layout: 0 color (int32), 4 height (int32), 8 name (200 bytes, zero-ended),
// 208 pitch (byte), 209 padding (3 bytes), 212 charset (int32, sign-extended).
// Units on this platform: color is 0x00BBGGRR (black is 0); height is the
// font's pixel size (19 for the design font). The name is UTF-8, the
// platform's own code page, cut at a character boundary to at most 199 bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

struct FontRecord
{
    static constexpr int Size = 216;
    static constexpr int NameSize = 200;

    std::int32_t color = 0;
    std::int32_t height = 19;
    std::array<char, NameSize> name{}; // zero after the name in a new record
    std::uint8_t pitch = 1;            // 0 default, 1 variable, 2 fixed
    std::array<std::uint8_t, 3> padding{};
    std::int32_t charset = -128; // character set 128, sign-extended as stored

    // The family name: the bytes up to the first zero byte (all 200 when none).
    QString familyName() const;
    // Stores a family name, cut at a character boundary to fit 199 bytes;
    // the rest of the field becomes zero.
    void setFamilyName(const QString &family);
    // Only the low byte of the charset field is meaningful when read back.
    std::uint8_t charsetByte() const { return std::uint8_t(charset & 0xFF); }
    // Stores an 8-bit character set number sign-extended, as the file holds it.
    void setCharsetByte(std::uint8_t value) { charset = std::int8_t(value); }

    QByteArray toBytes() const;
    // Empty when fewer than 216 bytes are given; bytes after 216 are ignored.
    static std::optional<FontRecord> fromBytes(QByteArrayView bytes);

    // The design font of the editor: "MS UI Gothic", 19, variable pitch, black.
    static FontRecord designFont();
};

// Reads the record from a file; empty when the file is missing, unreadable or short.
std::optional<FontRecord> readFontFile(const QString &path);
// Writes the record; false when the file could not be written.
bool writeFontFile(const QString &path, const FontRecord &record);
