#include "settings/app_state.h"

#include "settings/settings_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

int ImeMode = ImeRomanized;
bool saveToCurrentFile = false;
int exitChoice = 0;
bool appClosing = false;
bool findRequested = false;
bool openingFromCommandLine = false;
bool isWin9x = false;
bool isNt6OrLater = false;
bool accentPadCreated = false;
QString programDir;

int windowTop = DefaultWindowTop;
int windowLeft = DefaultWindowLeft;
int windowWidth = DefaultWindowWidth;
int windowHeight = DefaultWindowHeight;

FontRecord storedFont;
bool storedFontRead = false;

QString modePanelText(int mode)
{
    return mode == ImeRomanized ? QStringLiteral("R")
           : mode == ImeDirect  ? QStringLiteral("H")
                                : QString();
}

QString caretPositionText(int line, int column)
{
    return QCoreApplication::translate("StatusBar", "Line:%1  Col:%2").arg(line).arg(column);
}

QString wrapStateText(bool on)
{
    return on ? QCoreApplication::translate("StatusBar", "WrapLine")
              : QCoreApplication::translate("StatusBar", "noWrapLine");
}

void resetAppState()
{
    ImeMode = ImeRomanized;
    saveToCurrentFile = false;
    exitChoice = 0;
    appClosing = false;
    findRequested = false;
    openingFromCommandLine = false;
    isWin9x = false;
    isNt6OrLater = false;
    accentPadCreated = false;
    programDir.clear();
    windowTop = DefaultWindowTop;
    windowLeft = DefaultWindowLeft;
    windowWidth = DefaultWindowWidth;
    windowHeight = DefaultWindowHeight;
    storedFont = FontRecord();
    storedFontRead = false;
}

namespace {

QString withSeparator(QString dir)
{
    if (!dir.endsWith(u'/') && !dir.endsWith(u'\\'))
        dir += u'/';
    return dir;
}

bool isSystemFolder(const QString &dir)
{
    const QString clean = QDir::cleanPath(dir);
    for (const char *root : {"/usr", "/opt", "/bin", "/sbin"}) {
        const QString r = QString::fromLatin1(root);
        if (clean == r || clean.startsWith(r + u'/'))
            return true;
    }
    return false;
}

} // namespace

QString chooseSettingsFolder(const QString &executableDir, bool executableDirWritable,
                             const QString &userConfigDir)
{
    // A portable copy keeps its settings beside itself; an installed one cannot.
    if (executableDirWritable && !isSystemFolder(executableDir))
        return withSeparator(executableDir);
    return withSeparator(withSeparator(userConfigDir) + QStringLiteral("tavriledit"));
}

QString detectProgramDir(const QString &chosen)
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString dir = !chosen.isEmpty()
                            ? withSeparator(chosen)
                            : chooseSettingsFolder(exeDir, QFileInfo(exeDir).isWritable(),
                                                   QStandardPaths::writableLocation(
                                                       QStandardPaths::GenericConfigLocation));
    QDir().mkpath(dir); // the user's folder is made when missing
    return dir;
}
