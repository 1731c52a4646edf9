#include "platform/platform.h"

#include "platform/qt_platform.h"

namespace {
Platform *installed = nullptr;
}

Platform::~Platform() = default;

Platform &platform()
{
    if (installed)
        return *installed;
    static QtPlatform qtPlatform;
    return qtPlatform;
}

void setPlatform(Platform *p)
{
    installed = p;
}

void ErrorBox(QWidget *parent, const QString &text, const QString &caption)
{
    platform().errorBox(parent, text, caption);
}

bool ConfirmBox(QWidget *parent, const QString &text, const QString &caption)
{
    return platform().confirmBox(parent, text, caption);
}

void InformationBox(QWidget *parent, const QString &text, const QString &caption)
{
    platform().informationBox(parent, text, caption);
}

bool ConfirmBoxDefaultNo(QWidget *parent, const QString &text, const QString &caption)
{
    return platform().confirmBox(parent, text, caption, true);
}
