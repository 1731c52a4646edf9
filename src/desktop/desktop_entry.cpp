#include "desktop/desktop_entry.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A desktop entry is UTF-8 text of lines; control characters other than those
// with an escape (tab, newline, carriage return) have no way into a value.
bool representable(QStringView value)
{
    for (const QChar c : value) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\t' && u != u'\n' && u != u'\r') || u == 0x7F)
            return false;
    }
    return true;
}

// Makes the missing folders of `path` one by one, private to the user.
bool makeFolders(const QString &path)
{
    QStringList missing;
    QString existing = QDir::cleanPath(path);
    while (!QFileInfo::exists(existing)) {
        missing.prepend(existing);
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            return false;
        existing = parent;
    }
    if (!QFileInfo(existing).isDir())
        return false;
    const QDir root;
    for (const QString &folder : std::as_const(missing)) {
        if (!root.mkdir(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
    }
    return true;
}

} // namespace

QString escapeDesktopString(QStringView value)
{
    QString out;
    out.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        switch (c.unicode()) {
        case u'\\':
            out += QLatin1String("\\\\");
            break;
        case u'\n':
            out += QLatin1String("\\n");
            break;
        case u'\t':
            out += QLatin1String("\\t");
            break;
        case u'\r':
            out += QLatin1String("\\r");
            break;
        case u' ':
            // Readers strip blanks after the equals sign; a leading space must be kept.
            out += i == 0 ? QLatin1String("\\s") : QLatin1String(" ");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString quoteExecArgument(QStringView argument)
{
    QString out;
    out.reserve(argument.size() + 8);
    out += u'"';
    for (const QChar c : argument) {
        switch (c.unicode()) {
        case u'"':
        case u'`':
        case u'$':
        case u'\\':
            out += u'\\';
            out += c;
            break;
        case u'%':
            out += QLatin1String("%%");
            break;
        default:
            out += c;
        }
    }
    out += u'"';
    return out;
}

std::optional<QString> desktopEntryText(const QString &executablePath, const QString &iconPath)
{
    if (!QDir::isAbsolutePath(executablePath) || !representable(executablePath) ||
        !representable(iconPath))
        return std::nullopt;
    QString text =
        QStringLiteral("[Desktop Entry]\n"
                       "Type=Application\n"
                       "Name=Tavril Korean Editor\n"
                       "Comment=Plain-text editor with a built-in Korean input method\n");
    // Quoting comes first, the string escapes on top of it: a backslash in the
    // path ends up as four backslashes, a dollar sign as \\$.
    text += QLatin1String("Exec=") + escapeDesktopString(quoteExecArgument(executablePath)) +
            QLatin1String(" %f\n");
    if (!iconPath.isEmpty())
        text += QLatin1String("Icon=") + escapeDesktopString(iconPath) + u'\n';
    text += QStringLiteral("Terminal=false\n"
                           "Categories=Utility;TextEditor;\n"
                           "MimeType=text/plain;\n"
                           "Keywords=Korean;Hangul;Hanja;Japanese;Kanji;encoding;Shift JIS;"
                           "EUC-JP;UTF-8;text;editor;\n");
    return text;
}

bool writeDesktopEntry(const QString &filePath, const QString &content)
{
    if (filePath.isEmpty())
        return false;
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = content.toUtf8();
    if (file.write(bytes) != bytes.size())
        return false; // the temporary file is discarded, an earlier entry stays
    // Executable before it takes the final name, so no desktop ever sees it without.
    const auto executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                            QFile::ReadUser | QFile::WriteUser | QFile::ExeUser | QFile::ReadGroup |
                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    if (!file.setPermissions(executable))
        return false;
    return file.commit();
}

QString desktopEntryPath(const QString &folder, bool createFolder)
{
    if (folder.isEmpty())
        return {};
    if (!QFileInfo(folder).isDir() && !(createFolder && makeFolders(folder)))
        return {};
    QString path = QDir::cleanPath(folder);
    if (!path.endsWith(u'/'))
        path += u'/';
    return path + QLatin1String(DesktopEntryFileName);
}

QString installedIconPath(const QString &executablePath)
{
    if (executablePath.isEmpty())
        return {};
    const QString icon = QDir::cleanPath(QFileInfo(executablePath).absolutePath() +
                                         QLatin1String("/../share/icons/hicolor/scalable/apps/") +
                                         QLatin1String(ApplicationId) + QLatin1String(".svg"));
    return QFileInfo(icon).isFile() ? icon : QString();
}
