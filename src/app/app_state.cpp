#include "app/app_state.h"

#include <QCoreApplication>

int ImeMode = ImeRomanized;
QString currentFileName;
bool documentModified = false;
bool saveToCurrentFile = false;
int exitChoice = 0;
bool appClosing = false;
bool openingFromCommandLine = false;
bool isWin9x = false;
bool isNt6OrLater = false;
bool accentPadCreated = false;
QString programDir;

int windowTop = 86;
int windowLeft = 357;
int windowWidth = 416;
int windowHeight = 480;

FontRecord storedFont;
bool storedFontRead = false;

namespace {
QString programDirOverride;
}

void resetAppState()
{
    ImeMode = ImeRomanized;
    currentFileName.clear();
    documentModified = false;
    saveToCurrentFile = false;
    exitChoice = 0;
    appClosing = false;
    openingFromCommandLine = false;
    isWin9x = false;
    isNt6OrLater = false;
    accentPadCreated = false;
    programDir.clear();
    windowTop = 86;
    windowLeft = 357;
    windowWidth = 416;
    windowHeight = 480;
    storedFont = FontRecord();
    storedFontRead = false;
}

void setProgramDirOverride(const QString &dir)
{
    programDirOverride = dir;
}

QString detectProgramDir()
{
    QString dir =
        programDirOverride.isEmpty() ? QCoreApplication::applicationDirPath() : programDirOverride;
    if (!dir.endsWith(u'/') && !dir.endsWith(u'\\'))
        dir += u'/';
    return dir;
}
