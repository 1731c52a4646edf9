// Building menus: an item carries its component name as the object name and
// stays disabled until its window connects a handler to it.
#pragma once

#include <QString>

class QAction;
class QWidget;

QAction *addMenuItem(QWidget *menu, const char *name, const QString &caption);
