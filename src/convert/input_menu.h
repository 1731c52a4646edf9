// The "IME" menu's lasting choices: the direct mode's layout, reordering for the
// three-set layouts, learning Hanja choices, forgetting them, and the user's own
// Hanja dictionary. The menu owns the program's one InputOptions and is its only
// writer; every choice is written to "tavriledit.ini" at once.
#pragma once

#include "ime/input_options.h"

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class HanjaDictionaries;
class QActionGroup;
class QMenu;
class QWidget;

class InputOptionsMenu : public QObject
{
    Q_OBJECT
public:
    // Adds the items at the end of `ime`. `settingsFolder` tells where
    // "tavriledit.ini" lives; `window` parents the question of "forget", which
    // clears the learned choices of `dictionaries`.
    InputOptionsMenu(QMenu *ime, std::function<QString()> settingsFolder, QWidget *window,
                     HanjaDictionaries *dictionaries);

    // Reads the stored choices into options() and shows them.
    void load();
    // Shows options() in the check marks.
    void sync();
    // The choices in force: the composers and the Hangul to Hanja commands read
    // them (ComposerState::options points here).
    const InputOptions &options() const { return m_options; }

    QMenu *directlayout1 = nullptr;
    QList<QAction *> layoutItems; // in menu order, the written layout first
    QAction *autoreorder1 = nullptr;
    QAction *learnHanja1 = nullptr;
    QAction *forgetHanja1 = nullptr;
    QAction *editUserHanja1 = nullptr;

signals:
    // "edit user Hanja dictionary": the file, made when missing, to open in the editor.
    void openRequested(const QString &path);

private:
    void store();
    void editUserDictionary();
    void forgetChoices();

    InputOptions m_options;
    std::function<QString()> m_settingsFolder;
    QWidget *m_window;
    HanjaDictionaries *m_dictionaries;
    QActionGroup *m_layouts;
};
