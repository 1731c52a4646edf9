// Tsearchform: the find dialog. Its edit line Edit1 takes the search string with
// the same built-in Korean input as the editor; the search itself runs in the
// main window's find command, which waits for this dialog to be hidden.
#pragma once

#include "editor/line_edit_control.h"
#include "ime/composer.h"

#include <QDialog>
#include <QPointer>

#include <memory>

struct EditorContext;
class HanjaCommand;
class HanjaDictionaries;
class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QTimer;

// The dialog's caption for an input mode: "KoreaRomaIME", "KoreaDirectIME", "nonIME".
QString imeModeLabel(int mode);

class Tsearchform : public QDialog
{
    Q_OBJECT
public:
    // `editor`: the main window's editor; the dialog's mode commands show the mode
    // in its status bar, Edit1 follows its font and the dialog is centred on it,
    // and Edit1 types with the input options of the editor's composer.
    // `hanjaDictionaries`: the main window's, for Hangul to Hanja on Edit1 (which
    // reads dictionaries of its own when none are given).
    explicit Tsearchform(QWidget *parent = nullptr, EditorContext *editor = nullptr,
                         HanjaDictionaries *hanjaDictionaries = nullptr);
    ~Tsearchform() override;

    QMenuBar *MainMenu1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Button1 = nullptr;
    QTimer *TimerEdit = nullptr;

    // The dialog's menu item (its menu bar's and its context menu's) or menu with
    // this object name; nullptr when it has none.
    QAction *action(const QString &objectName) const;
    QMenu *menu(const QString &objectName) const;

    // Edit1 as a TextControl, for the composer, the pads and the edit commands.
    TextControl &edit1() { return m_edit1; }
    // Edit1's own composer flags, never saved.
    ComposerState edit1Composer;

public slots:
    // The find request: remembers it and hides the dialog.
    void Button1Click();

    // Input modes: the main window's operation, then this dialog's label.
    void KoreaRomaIME1Click();
    void KoreaDirectIME1Click();
    void nonIME1Click();
    void MenuItem1Click();
    void MenuItem2Click();
    void MenuItem3Click();

    void Cut1Click();
    void Copy1Click();
    void Past1Click();
    void Clear1Click();
    void SelectAll1Click();
    void TimerEditTimer();
    void KanjiJapantoHangulSelectAreaType11Click();
    void KanjiJapantoHangulSelectAreaType21Click();
    // Hangul to Hanja on Edit1 (the context menu, the Hanja key and F9).
    void HangultoHanja1Click();

signals:
    // The dialog was hidden: the waiting find command carries on.
    void hidden();
    // Find was pressed (the button, the line-feed key or the screen keyboard's Enter).
    void findPressed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void FormCreate();
    void createMenus();
    void connectCommands();
    // Key handling of Edit1; true when the key was consumed.
    bool Edit1KeyPress(QKeyEvent *event);
    void FormShortCut(int key, Qt::KeyboardModifiers shift);
    // Chooses the input mode through ImeModeCommand and shows it in Label2.
    void setMode(int mode);
    // The one handler of the input-mode items: sets the mode the item carries.
    void imeModeItemTriggered(QAction *item);

    QMenu *PopupMenu2 = nullptr;
    QAction *KoreaRomaIME1 = nullptr, *KoreaDirectIME1 = nullptr, *nonIME1 = nullptr;
    QAction *Cut1 = nullptr, *Copy1 = nullptr, *Past1 = nullptr, *Clear1 = nullptr,
            *SelectAll1 = nullptr, *MenuItem1 = nullptr, *MenuItem2 = nullptr, *MenuItem3 = nullptr,
            *KanjiJapantoHangulSelectAreaType11 = nullptr,
            *KanjiJapantoHangulSelectAreaType21 = nullptr, *N1 = nullptr, *HangultoHanja1 = nullptr;

    LineEditControl m_edit1;
    HanjaCommand *m_hanja = nullptr; // made on the first Hangul to Hanja
    HanjaDictionaries *m_hanjaDictionaries = nullptr;
    std::unique_ptr<HanjaDictionaries> m_ownHanjaDictionaries; // when none were given
    EditorContext *m_editor = nullptr;
    QPointer<QWidget> m_fontSource; // the editor whose font Edit1 follows
};
