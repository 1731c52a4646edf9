// Building menus: an item carries its component name as the object name and
// stays disabled until its window connects a handler to it.
#pragma once

#include <QList>
#include <QString>

#include <initializer_list>
#include <span>
#include <utility>

class QAction;
class QActionGroup;
class QMenu;
class QObject;
class QWidget;

QAction *addMenuItem(QWidget *menu, const char *name, const QString &caption);

// The context menu of an edit field (the editor's PopupMenu1, the find dialog's
// PopupMenu2): its items by role, in their order. The find dialog's menu ends
// with Hangul to Hanja; the editor's goes on with the Hangul composition items.
enum ContextMenuRole : int {
    CutItem,
    CopyItem,
    PasteItem,
    ClearItem,
    SelectAllItem,
    ModesSeparator,
    RomanizedModeItem,
    DirectModeItem,
    NoModeItem,
    KanjiType1Item,
    KanjiType2Item,
    HanjaSeparator,
    HangulToHanjaItem,
    CompositionSeparator,
    ComposeItem,
    DecomposeItem,
    ContextMenuRoles
};

// Fills `menu` with the first names.size() roles, role i named names[i] (a
// separator with no name has none and is enabled, as QMenu::addSeparator makes
// it). Returns the items, indexed by role.
QList<QAction *> addContextMenuItems(QMenu *menu, std::span<const char *const> names);

// A window's input-mode items as one group, each carrying its mode (ImeRomanized,
// ImeDirect, ImeNone) as data: one handler hears the group's triggered(QAction *).
// No exclusion and nothing checkable: the mode items show no check mark. An item
// stays enabled or disabled as it was.
QActionGroup *groupImeModeItems(QObject *owner,
                                std::initializer_list<std::pair<QAction *, int>> items);
