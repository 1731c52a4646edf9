#include "editor/menu_items.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>
#include <QWidget>

QAction *addMenuItem(QWidget *menu, const char *name, const QString &caption)
{
    auto *action = new QAction(caption, menu);
    action->setObjectName(QString::fromLatin1(name));
    action->setEnabled(false);
    menu->addAction(action);
    return action;
}

namespace {

// The captions of the context menu's roles (none: a separator), written once.
constexpr const char *contextMenuCaptions[ContextMenuRoles] = {
    QT_TRANSLATE_NOOP("ContextMenu", "Cut"),
    QT_TRANSLATE_NOOP("ContextMenu", "Copy"),
    QT_TRANSLATE_NOOP("ContextMenu", "Paste"),
    QT_TRANSLATE_NOOP("ContextMenu", "Clear"),
    QT_TRANSLATE_NOOP("ContextMenu", "Select All"),
    nullptr,
    QT_TRANSLATE_NOOP("ContextMenu", "Korea Roma IME"),
    QT_TRANSLATE_NOOP("ContextMenu", "Korea Direct IME"),
    QT_TRANSLATE_NOOP("ContextMenu", "nonIME"),
    QT_TRANSLATE_NOOP("ContextMenu", "Kanji(Japan) to Hangul(SelectArea)Type1"),
    QT_TRANSLATE_NOOP("ContextMenu", "Kanji(Japan) to Hangul(SelectArea)Type2"),
    nullptr,
    QT_TRANSLATE_NOOP("ContextMenu", "Hangul to Hanja"),
    nullptr,
    QT_TRANSLATE_NOOP("ContextMenu", "compose Hangul (NFC)"),
    QT_TRANSLATE_NOOP("ContextMenu", "decompose Hangul (NFD)"),
};

} // namespace

QList<QAction *> addContextMenuItems(QMenu *menu, std::span<const char *const> names)
{
    Q_ASSERT(names.size() <= std::size(contextMenuCaptions));
    QList<QAction *> items;
    for (std::size_t role = 0; role < names.size(); ++role) {
        const char *caption = contextMenuCaptions[role];
        QAction *item = nullptr;
        if (caption) {
            item =
                addMenuItem(menu, names[role], QCoreApplication::translate("ContextMenu", caption));
        } else if (names[role]) {
            item = addMenuItem(menu, names[role], QString());
            item->setSeparator(true);
        } else {
            item = menu->addSeparator();
        }
        items.append(item);
    }
    return items;
}

QActionGroup *groupImeModeItems(QObject *owner,
                                std::initializer_list<std::pair<QAction *, int>> items)
{
    auto *group = new QActionGroup(owner);
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::None);
    for (const auto &[item, mode] : items) {
        item->setData(mode);
        // Joining a group forgets that the item was disabled on purpose.
        const bool enabled = item->isEnabled();
        group->addAction(item);
        item->setEnabled(enabled);
    }
    return group;
}
