#include "settings/settings_file.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <climits>

namespace {

constexpr qsizetype MaxLineChars = 499;

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

int leadingNumber(QByteArrayView line)
{
    qsizetype i = 0;
    while (i < line.size() && isSpace(line[i]))
        ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        value = value * 10 + (line[i] - '0');
        if (value > 1LL + INT_MAX)
            value = 1LL + INT_MAX; // saturate; the limits below clamp it anyway
    }
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return int(value);
}

void parseSettings(QByteArrayView data, WindowSettings &settings)
{
    // Text mode: the byte 0x1A ends the data, CR LF reads as LF.
    if (const qsizetype eof = data.indexOf('\x1a'); eof >= 0)
        data = data.first(eof);
    qsizetype pos = 0;
    for (int lineNo = 1; lineNo <= 6 && pos < data.size(); ++lineNo) {
        QByteArray line;
        bool cut = false;
        while (pos < data.size()) {
            char c = data[pos];
            if (c == '\r' && pos + 1 < data.size() && data[pos + 1] == '\n') {
                ++pos;
                c = '\n';
            }
            ++pos;
            if (c == '\n')
                break;
            if (line.size() == MaxLineChars) {
                cut = true; // the rest of this line is never read
                break;
            }
            line.append(c);
        }
        if (line.isEmpty())
            break;
        const int n = leadingNumber(line);
        switch (lineNo) {
        case 1:
            settings.top = n;
            break;
        case 2:
            settings.left = n;
            break;
        case 3:
            settings.width = n;
            break;
        case 4:
            settings.height = n;
            break;
        case 5:
            settings.imeMode = (n < 0 || n > 2) ? 0 : n;
            break;
        case 6:
            settings.wordWrap = n != 0;
            break;
        }
        if (cut)
            break;
    }
}

void clampGeometry(WindowSettings &s)
{
    if (s.top < 0 || s.top > 700)
        s.top = 0;
    if (s.left < 0 || s.left > 1000)
        s.left = 0;
    if (s.width < 100)
        s.width = 100;
    else if (s.width > 2000)
        s.width = 1024;
    if (s.height < 100)
        s.height = 100;
    else if (s.height > 3000)
        s.height = 700;
}

QRect fitWindowToArea(const QRect &client, const QMargins &frame, const QRect &available)
{
    QRect outer = client.marginsAdded(frame);
    if (available.isEmpty() || available.contains(outer))
        return client;
    // Moved first: the right and bottom edges in, then the left and top.
    outer.moveRight(std::min(outer.right(), available.right()));
    outer.moveBottom(std::min(outer.bottom(), available.bottom()));
    outer.moveLeft(std::max(outer.left(), available.left()));
    outer.moveTop(std::max(outer.top(), available.top()));
    // Then shrunk to what is left.
    QRect inner = outer.marginsRemoved(frame);
    inner.setWidth(std::max(
        100, std::min(inner.width(), available.right() - frame.right() - inner.left() + 1)));
    inner.setHeight(std::max(
        100, std::min(inner.height(), available.bottom() - frame.bottom() - inner.top() + 1)));
    return inner;
}

QByteArray formatSettings(int top, int left, int width, int height, int imeMode, bool wordWrap)
{
    QByteArray out;
    for (int v : {top, left, width, height, imeMode, wordWrap ? 1 : 0}) {
        out += QByteArray::number(v);
        out += "\r\n";
    }
    return out;
}

void readSettingsFile(const QString &path, WindowSettings &settings)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    // Six short lines are all that is read; a huge file costs no more than this.
    parseSettings(file.read(64 * 1024), settings);
}

bool writeSettingsFile(const QString &path, const QByteArray &content)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(content);
    return file.commit();
}
