#include "find/search_form.h"

#include "convert/hanja_command.h"
#include "convert/hanja_sources.h"
#include "convert/kanji_to_hangul.h"
#include "editor/edit_commands.h"
#include "editor/editor_context.h"
#include "editor/memo_view.h"
#include "editor/menu_items.h"
#include "ime/ime_mode.h"
#include "ime/key_event.h"
#include "settings/app_state.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include <climits>

QString imeModeLabel(int mode)
{
    switch (mode) {
    case ImeRomanized:
        return QCoreApplication::translate("Tsearchform", "KoreaRomaIME");
    case ImeDirect:
        return QCoreApplication::translate("Tsearchform", "KoreaDirectIME");
    default:
        return QCoreApplication::translate("Tsearchform", "nonIME");
    }
}

Tsearchform::Tsearchform(QWidget *parent, EditorContext *editor,
                         HanjaDictionaries *hanjaDictionaries)
    : QDialog(parent), Edit1(new QLineEdit), m_edit1(Edit1), m_hanjaDictionaries(hanjaDictionaries),
      m_editor(editor)
{
    // One set of input options for the editor and Edit1.
    if (m_editor && m_editor->composer)
        edit1Composer.options = m_editor->composer->options;
    setObjectName(QStringLiteral("searchform"));
    setWindowTitle(tr("find (search)"));
    resize(350, 151);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setParent(this);
    // Long strings pasted from the editor are kept whole.
    Edit1->setMaxLength(INT_MAX);
    Edit1->setAccessibleName(tr("Find what"));
    Button1 = new QPushButton(tr("Find"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setAutoDefault(false);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(tr("Sorry. auto change to noWrapLine mode."), this);
    Label1->setObjectName(QStringLiteral("Label1"));

    auto *layout = new QGridLayout(this);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Edit1, 0, 0);
    layout->addWidget(Button1, 0, 1);
    layout->addWidget(Label2, 1, 0, 1, 2);
    layout->addWidget(Label1, 2, 0, 1, 2);
    layout->setColumnStretch(0, 1);

    TimerEdit = new QTimer(this);
    TimerEdit->setObjectName(QStringLiteral("TimerEdit"));
    TimerEdit->setSingleShot(true);

    createMenus();
    connectCommands();
    Edit1->installEventFilter(this);
    FormCreate();
}

Tsearchform::~Tsearchform() {}

void Tsearchform::createMenus()
{
    KoreaRomaIME1 = addMenuItem(MainMenu1, "KoreaRomaIME1", tr("KoreaRomaIME"));
    KoreaDirectIME1 = addMenuItem(MainMenu1, "KoreaDirectIME1", tr("KoreaDirectIME"));
    nonIME1 = addMenuItem(MainMenu1, "nonIME1", tr("nonIME"));

    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    // The editor's context menu up to Hangul to Hanja; its separator before the
    // modes has no name.
    static constexpr const char *popupNames[] = {
        "Cut1",
        "Copy1",
        "Past1",
        "Clear1",
        "SelectAll1",
        nullptr,
        "MenuItem1",
        "MenuItem2",
        "MenuItem3",
        "KanjiJapantoHangulSelectAreaType11",
        "KanjiJapantoHangulSelectAreaType21",
        "N1",
        "HangultoHanja1",
    };
    const QList<QAction *> popup = addContextMenuItems(PopupMenu2, popupNames);
    Cut1 = popup[CutItem];
    Copy1 = popup[CopyItem];
    Past1 = popup[PasteItem];
    Clear1 = popup[ClearItem];
    SelectAll1 = popup[SelectAllItem];
    MenuItem1 = popup[RomanizedModeItem];
    MenuItem2 = popup[DirectModeItem];
    MenuItem3 = popup[NoModeItem];
    KanjiJapantoHangulSelectAreaType11 = popup[KanjiType1Item];
    KanjiJapantoHangulSelectAreaType21 = popup[KanjiType2Item];
    N1 = popup[HanjaSeparator];
    HangultoHanja1 = popup[HangulToHanjaItem];
}

void Tsearchform::connectCommands()
{
    const auto wire = [this](QAction *action, void (Tsearchform::*handler)()) {
        action->setEnabled(true);
        connect(action, &QAction::triggered, this, handler);
    };
    // The six mode items, one group with one handler (only beside an editor).
    QActionGroup *modes = groupImeModeItems(this, {{KoreaRomaIME1, ImeRomanized},
                                                   {KoreaDirectIME1, ImeDirect},
                                                   {nonIME1, ImeNone},
                                                   {MenuItem1, ImeRomanized},
                                                   {MenuItem2, ImeDirect},
                                                   {MenuItem3, ImeNone}});
    if (m_editor) {
        for (QAction *item : modes->actions())
            item->setEnabled(true);
        connect(modes, &QActionGroup::triggered, this, &Tsearchform::imeModeItemTriggered);
    }
    wire(Cut1, &Tsearchform::Cut1Click);
    wire(Copy1, &Tsearchform::Copy1Click);
    wire(Past1, &Tsearchform::Past1Click);
    wire(Clear1, &Tsearchform::Clear1Click);
    wire(SelectAll1, &Tsearchform::SelectAll1Click);
    wire(KanjiJapantoHangulSelectAreaType11, &Tsearchform::KanjiJapantoHangulSelectAreaType11Click);
    wire(KanjiJapantoHangulSelectAreaType21, &Tsearchform::KanjiJapantoHangulSelectAreaType21Click);
    wire(HangultoHanja1, &Tsearchform::HangultoHanja1Click);
    connect(Button1, &QPushButton::clicked, this, &Tsearchform::Button1Click);
    connect(TimerEdit, &QTimer::timeout, this, &Tsearchform::TimerEditTimer);
}

void Tsearchform::FormCreate()
{
    m_edit1.setText(QString());
    Edit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Edit1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu2->popup(Edit1->mapToGlobal(pos)); });
    TimerEdit->stop();
    TimerEdit->setInterval(500);
    Label2->setText(imeModeLabel(ImeMode));
    if (m_editor && m_editor->view) {
        // Edit1 follows the editor's font, also when the user picks a new one.
        m_fontSource = m_editor->view;
        Edit1->setFont(m_fontSource->font());
        m_fontSource->installEventFilter(this);
    }
}

void Tsearchform::Button1Click()
{
    emit findPressed();
    hide();
}

void Tsearchform::showEvent(QShowEvent *event)
{
    // Centred on the main window each time it is shown.
    if (m_editor && m_editor->window) {
        QRect frame = frameGeometry();
        frame.moveCenter(m_editor->window->frameGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void Tsearchform::hideEvent(QHideEvent *event)
{
    QDialog::hideEvent(event);
    // Minimising sends a hide event too, but the dialog stays open: only a hide
    // that leaves it invisible ends the find command's wait.
    if (!isVisible())
        emit hidden();
}

bool Tsearchform::eventFilter(QObject *watched, QEvent *event)
{
    if (m_fontSource && watched == m_fontSource && event->type() == QEvent::FontChange) {
        Edit1->setFont(m_fontSource->font());
        return QDialog::eventFilter(watched, event);
    }
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        // Edit commands: the Ctrl+V interception sees the key before the edit line.
        FormShortCut(key->key(), key->modifiers());
        // The Hanja key and F9 are commands, not typed keys.
        if (isHanjaKey(key)) {
            HangultoHanja1Click();
            return true;
        }
        if (Edit1KeyPress(key))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool Tsearchform::Edit1KeyPress(QKeyEvent *event)
{
    // A line feed asks for the search: Return and Enter, with or without Ctrl.
    const auto extra = event->modifiers() & ~(Qt::ControlModifier | Qt::KeypadModifier);
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && extra == 0) {
        Button1Click();
        return true;
    }
    const int key = composerKeyFromEvent(event);
    if (key == 0)
        return false;
    // Without an input method the key goes to the edit line as typed.
    return ImeMode != ImeNone && composeKeyInMode(ImeMode, key, m_edit1, edit1Composer) == 0;
}

void Tsearchform::setMode(int mode)
{
    // The main window follows the choice (its panel 0 and open syllable).
    ImeModeCommand::instance().choose(mode);
    // Edit1's open syllable is decided as it stands. Label2 shows the modes chosen
    // here; one chosen in the main window shows after the next choice made here.
    m_edit1.endComposition();
    Label2->setText(imeModeLabel(ImeMode));
}

void Tsearchform::KoreaRomaIME1Click()
{
    imeModeItemTriggered(KoreaRomaIME1);
}

void Tsearchform::KoreaDirectIME1Click()
{
    imeModeItemTriggered(KoreaDirectIME1);
}

void Tsearchform::nonIME1Click()
{
    imeModeItemTriggered(nonIME1);
}

void Tsearchform::MenuItem1Click()
{
    imeModeItemTriggered(MenuItem1);
}

void Tsearchform::MenuItem2Click()
{
    imeModeItemTriggered(MenuItem2);
}

void Tsearchform::MenuItem3Click()
{
    imeModeItemTriggered(MenuItem3);
}

// The one handler of the six mode items: each carries its mode.
void Tsearchform::imeModeItemTriggered(QAction *item)
{
    setMode(item->data().toInt());
}

void Tsearchform::FormShortCut(int key, Qt::KeyboardModifiers shift)
{
    interceptPasteShortcut(m_edit1, TimerEdit, key, shift);
}

void Tsearchform::TimerEditTimer()
{
    m_edit1.setReadOnly(false);
    TimerEdit->stop();
}

void Tsearchform::Cut1Click()
{
    cutToClipboard(m_edit1);
}

void Tsearchform::Copy1Click()
{
    copyToClipboard(m_edit1);
}

void Tsearchform::Past1Click()
{
    pasteFromClipboard(m_edit1);
}

void Tsearchform::Clear1Click()
{
    m_edit1.setText(QString());
}

void Tsearchform::SelectAll1Click()
{
    m_edit1.selectAll();
}

void Tsearchform::KanjiJapantoHangulSelectAreaType11Click()
{
    convertSelectionToHangul(m_edit1, false);
}

void Tsearchform::KanjiJapantoHangulSelectAreaType21Click()
{
    convertSelectionToHangul(m_edit1, true);
}

void Tsearchform::HangultoHanja1Click()
{
    if (!m_hanja) {
        if (!m_hanjaDictionaries) {
            m_ownHanjaDictionaries = std::make_unique<HanjaDictionaries>();
            m_hanjaDictionaries = m_ownHanjaDictionaries.get();
        }
        m_hanja = new HanjaCommand(Edit1, m_edit1, edit1Composer, *m_hanjaDictionaries);
    }
    m_hanja->run();
}

QAction *Tsearchform::action(const QString &objectName) const
{
    if (objectName.isEmpty())
        return nullptr;
    for (QAction *item : MainMenu1->actions() + PopupMenu2->actions())
        if (item->objectName() == objectName)
            return item;
    return nullptr;
}

QMenu *Tsearchform::menu(const QString &objectName) const
{
    return !objectName.isEmpty() && PopupMenu2->objectName() == objectName ? PopupMenu2 : nullptr;
}
