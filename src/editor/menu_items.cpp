#include "editor/menu_items.h"

#include <QAction>
#include <QWidget>

QAction *addMenuItem(QWidget *menu, const char *name, const QString &caption)
{
    auto *action = new QAction(caption, menu);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(false);
    menu->addAction(action);
    return action;
}
