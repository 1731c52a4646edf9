#include "document/state_folder.h"

#include <QDir>

QString userStateFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) {
        QString home = qEnvironmentVariable("HOME");
        if (!QDir::isAbsolutePath(home))
            home = QDir::homePath();
        state = home + QStringLiteral("/.local/state");
    }
    return QDir::cleanPath(state) + QLatin1Char('/');
}
