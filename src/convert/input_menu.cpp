#include "convert/input_menu.h"

#include "convert/hanja_sources.h"
#include "ime/hangul_layout.h"
#include "platform/platform.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>

namespace {

QAction *addItem(QMenu *menu, const char *name, const QString &caption, bool checkable)
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setCheckable(checkable);
    return action;
}

} // namespace

InputOptionsMenu::InputOptionsMenu(QMenu *ime, std::function<QString()> settingsFolder,
                                   QWidget *window, HanjaDictionaries *dictionaries)
    : QObject(ime), m_settingsFolder(std::move(settingsFolder)), m_window(window),
      m_dictionaries(dictionaries), m_layouts(new QActionGroup(this))
{
    ime->addSeparator();
    directlayout1 = ime->addMenu(tr("direct layout"));
    directlayout1->setObjectName(QStringLiteral("directlayout1"));
    directlayout1->menuAction()->setObjectName(QStringLiteral("directlayout1Item"));
    m_layouts->setExclusive(true);
    // A layout whose keyboard file is missing is not offered.
    for (const layouts::Layout &layout : layouts::availableLayouts()) {
        QAction *item = addItem(directlayout1, layout.objectName,
                                QCoreApplication::translate("HangulLayout", layout.caption), true);
        item->setData(QByteArray(layout.id));
        m_layouts->addAction(item);
        layoutItems.append(item);
    }
    connect(m_layouts, &QActionGroup::triggered, this, [this](QAction *item) {
        m_options.directLayout = item->data().toByteArray();
        store();
    });
    autoreorder1 = addItem(ime, "autoreorder1", tr("auto reorder (moachigi)"), true);
    connect(autoreorder1, &QAction::toggled, this, [this](bool on) {
        if (m_options.autoReorder == on)
            return;
        m_options.autoReorder = on;
        store();
    });
    ime->addSeparator();
    learnHanja1 = addItem(ime, "learnHanja1", tr("learn Hanja choices"), true);
    connect(learnHanja1, &QAction::toggled, this, [this](bool on) {
        if (m_options.learnHanja == on)
            return;
        m_options.learnHanja = on;
        store();
    });
    forgetHanja1 = addItem(ime, "forgetHanja1", tr("forget Hanja choices"), false);
    connect(forgetHanja1, &QAction::triggered, this, &InputOptionsMenu::forgetChoices);
    editUserHanja1 = addItem(ime, "editUserHanja1", tr("edit user Hanja dictionary"), false);
    connect(editUserHanja1, &QAction::triggered, this, &InputOptionsMenu::editUserDictionary);
    sync();
}

void InputOptionsMenu::load()
{
    m_options = readInputOptions(m_settingsFolder());
    sync();
}

void InputOptionsMenu::sync()
{
    const InputOptions &options = m_options;
    for (QAction *item : std::as_const(layoutItems))
        item->setChecked(item->data().toByteArray() == options.directLayout);
    autoreorder1->setChecked(options.autoReorder);
    learnHanja1->setChecked(options.learnHanja);
}

void InputOptionsMenu::store()
{
    // A choice that cannot be kept still holds for this run.
    writeInputOptionsLater(m_settingsFolder(), m_options);
}

void InputOptionsMenu::forgetChoices()
{
    if (!ConfirmBox(m_window, tr("Forget every learned Hanja choice?"), tr("confirm")))
        return;
    HanjaHistory &history = m_dictionaries->history();
    history.clear();
    if (!history.save())
        ErrorBox(m_window,
                 tr("The Hanja choices could not be forgotten: %1 could not be removed.")
                     .arg(history.path()),
                 tr("ERROR"));
}

void InputOptionsMenu::editUserDictionary()
{
    const QString path = userHanjaDictionaryPath();
    if (!QFileInfo::exists(path)) {
        QSaveFile file(path);
        const QByteArray comment = userHanjaDictionaryTemplate();
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
            file.write(comment) != comment.size() || !file.commit()) {
            ErrorBox(m_window, tr("can't file open"), tr("ERROR"));
            return;
        }
    }
    emit openRequested(path);
}
