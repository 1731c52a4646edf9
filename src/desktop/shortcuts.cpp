#include "desktop/shortcuts.h"

#include "desktop/desktop_entry.h"
#include "platform/platform.h"

#include <QCoreApplication>

int CreateShellLink(QWidget *owner, const QString &linkPath, const QString &targetPath)
{
    const auto text = desktopEntryText(targetPath, installedIconPath(targetPath));
    if (linkPath.isEmpty() || !text || !writeDesktopEntry(linkPath, *text)) {
        // No caption of its own: the platform's default error caption.
        ErrorBox(owner, QCoreApplication::translate("Shortcuts", "ショートカット作成失敗"),
                 QString());
        return 0;
    }
    return 1;
}

int CreateProgramMenuShortcut(QWidget *owner, const QString &targetPath)
{
    // The applications folder is ordinary user data that simply may not exist yet
    // in a fresh home; a desktop folder that is missing means there is no desktop.
    const QString folder = platform().standardFolder(StandardFolder::Applications);
    return CreateShellLink(owner, desktopEntryPath(folder, true), targetPath);
}

int CreateDesktopShortcut(QWidget *owner, const QString &targetPath)
{
    const QString folder = platform().standardFolder(StandardFolder::Desktop);
    return CreateShellLink(owner, desktopEntryPath(folder, false), targetPath);
}
