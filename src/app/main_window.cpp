#include "app/main_window.h"

#include "codec/open_commands.h"
#include "convert/input_menu.h"
#include "editor/memo_view.h"
#include "editor/status_panels.h"
#include "ime/ime_mode.h"
#include "platform/platform.h"
#include "settings/app_state.h"
#include "settings/settings_file.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>

#include <algorithm>

namespace {

QFont designFont(int pixelSize)
{
    QFont font(QStringLiteral("MS UI Gothic"));
    // Where that face is missing, the platform's sans-serif fallback stands in.
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    return font;
}

// Colours are stored as 0x00BBGGRR, black being 0.
std::int32_t toStoredColor(const QColor &c)
{
    return std::int32_t(c.red() | (c.green() << 8) | (c.blue() << 16));
}

QColor fromStoredColor(std::int32_t v)
{
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

} // namespace

TForm1::TForm1(const QStringList &arguments, const QString &settingsFolder, QWidget *parent)
    : QMainWindow(parent), Memo1(new MemoView(m_document)), m_memo(Memo1)
{
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(tr("Tavril Korean Editor Ver 0.8(Built-in Korean IME Romanized/Direct)"));
    resize(534, 355);

    auto *central = new QWidget(this);
    central->setObjectName(QStringLiteral("Form1Client"));
    auto *layout = new QGridLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    Label1 = new QLabel(tr("wait please. Reading now."), central);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(designFont(16));
    Label1->move(158, 118);
    Label1->adjustSize(); // at least 168 x 16, wide enough for its text at any font size
    Label1->resize(std::max(Label1->width(), 168), std::max(Label1->height(), 16));
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAccessibleName(tr("Document"));
    Memo1->setParent(central);
    Memo1->setFont(designFont(19));
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    layout->addWidget(Memo1, 0, 0);
    Label1->lower(); // beneath the editor, which covers it
    Label1->setVisible(false);
    Memo1->installEventFilter(this);
    Memo1->viewport()->installEventFilter(this);
    setAcceptDrops(true);
    setCentralWidget(central);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setAccessibleName(tr("Status bar"));
    StatusBar1->setMinimumHeight(19);
    m_status = std::make_unique<StatusPanels>(StatusBar1);
    setStatusBar(StatusBar1);
    // The window may be as small as the stored settings allow (100 x 100): the
    // editor shrinks to nothing first, then the menu bar and the status bar are
    // clipped; their sizes never hold the window larger.
    Memo1->setMinimumSize(1, 1);
    central->setMinimumSize(1, 1);
    QMainWindow::layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(100, 100);

    // What the subsystems' commands work on here.
    m_context.window = this;
    m_context.editorArea = central;
    m_context.view = Memo1;
    m_context.waitingLabel = Label1;
    m_context.memo = &m_memo;
    m_context.document = &m_document;
    m_context.journal = &m_journal;
    m_context.composer = &memoComposer;
    m_context.status = m_status.get();

    createMenus();
    connectCommands();
    // Memo1's composer (and, through it, the find dialog's) types with the choices
    // of the "IME" menu.
    memoComposer.options = &m_inputOptions->options();
    // The commands that need an opened file follow the document's file name.
    connect(&m_document, &Document::stateChanged, this, &TForm1::updateReopenCommand);

    // 1. The settings live beside the program.
    programDir = detectProgramDir(settingsFolder);
    // 2. Operating-system flags (both stay clear on this platform).
    const OsFlags flags = platform().osFlags();
    isWin9x = flags.isWin9x;
    isNt6OrLater = flags.isNt6OrLater;
    // 3. The editor's context menu.
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Memo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { PopupMenu1->popup(Memo1->mapToGlobal(pos)); });
    // 4. The read-only timer of the intercepted paste, stopped.
    TimerMemo = new QTimer(this);
    TimerMemo->setObjectName(QStringLiteral("TimerMemo"));
    TimerMemo->setSingleShot(true);
    TimerMemo->stop();
    TimerMemo->setInterval(500);
    // 5. Empty document, romanized mode shown.
    {
        Document::Loading loading(m_document);
        m_memo.setText(QString());
    }
    m_journal.setBase(true); // a new document: its records replay over nothing
    m_status->showMode(ImeRomanized);
    // Panel 0 and Memo1's open syllable follow every mode chosen from now on.
    connect(&ImeModeCommand::instance(), &ImeModeCommand::modeChanged, this,
            &TForm1::followImeMode);
    // 6. Caret at the start.
    m_memo.setSelLength(0);
    m_memo.setSelStart(0);
    m_memo.setSelLength(0);
    // 7. Word wrap off, with its menu caption and panel 2; both follow every change.
    connect(Memo1, &MemoView::wordWrapChanged, this, &TForm1::followWordWrap);
    setWordWrap(false);
    followWordWrap(false);
    // 8, 9. Stored window, mode and wrap, the geometry within its limits.
    WindowSettings settings;
    readSettingsFile(programDir + QStringLiteral("setteiedit.dat"), settings);
    if (settings.imeMode)
        ImeModeCommand::instance().choose(*settings.imeMode);
    if (settings.wordWrap)
        setWordWrap(*settings.wordWrap);
    // The layout and Hanja choices, kept apart from the written settings file.
    m_inputOptions->load();
    clampGeometry(settings);
    windowTop = settings.top;
    windowLeft = settings.left;
    windowWidth = settings.width;
    windowHeight = settings.height;
    move(windowLeft, windowTop);
    resize(windowWidth, windowHeight);
    fitToScreen();
    // 10. Stored font.
    if (const auto record = readFontFile(programDir + QStringLiteral("fontedit.dat"))) {
        storedFont = *record;
        storedFontRead = true;
        applyFontRecord(*record);
    } else {
        storedFont = FontRecord::designFont();
    }
    // 11. A file named on the command line is opened before the window shows.
    if (arguments.size() > 1) {
        m_commandLineFile = arguments.at(1);
        openCommandLineFile(m_context, m_commandLineFile); // without a dialog
    }
    Memo1->setFocus();
}

TForm1::~TForm1() {}

QString TForm1::panelText(int panel) const
{
    return m_status->text(panel);
}

void TForm1::setPanelText(int panel, const QString &text)
{
    m_status->setText(panel, text);
}

bool TForm1::wordWrap() const
{
    return m_memo.wordWrap();
}

void TForm1::setWordWrap(bool on)
{
    m_memo.setWordWrap(on);
}

void TForm1::followWordWrap(bool on)
{
    Wrapofftoggle1->setText(on ? tr("Wrap Line off(toggle)") : tr("Wrap Line on(toggle)"));
    m_status->showWrap(on);
}

void TForm1::Wrapofftoggle1Click()
{
    setWordWrap(!wordWrap());
}

void TForm1::applyFontRecord(const FontRecord &record)
{
    QFont font = Memo1->font();
    QPalette palette = Memo1->palette();
    palette.setColor(QPalette::Text, fromStoredColor(record.color));
    Memo1->setPalette(palette);
    if (record.height > 0)
        font.setPixelSize(record.height);
    const QString family = record.familyName();
    if (!family.isEmpty())
        font.setFamily(family);
    font.setFixedPitch(record.pitch == 2);
    if (record.pitch == 2)
        font.setStyleHint(QFont::Monospace);
    // The character set has no counterpart in the toolkit's font; it is kept in
    // storedFont and written back as it was read.
    Memo1->setFont(font);
}

FontRecord TForm1::fontRecordFromEditor() const
{
    FontRecord record = storedFont; // keeps the padding and character set read at start-up
    if (!storedFontRead)
        record.padding = {};
    const QFont font = Memo1->font();
    record.color = toStoredColor(Memo1->palette().color(QPalette::Text));
    int pixels = font.pixelSize();
    if (pixels <= 0)
        pixels = QFontInfo(font).pixelSize();
    record.height = pixels;
    record.setFamilyName(font.family());
    record.pitch = QFontInfo(font).fixedPitch() ? 2 : 1; // of the face actually used
    return record;
}

void TForm1::changefont1Click()
{
    const auto chosen = platform().chooseFont(this, Memo1->font());
    if (!chosen)
        return;
    Memo1->setFont(*chosen);
    emit editorFontChanged(*chosen);
    storedFont = fontRecordFromEditor();
    writeFontFile(programDir + QStringLiteral("fontedit.dat"), storedFont);
}

void TForm1::UpdateCaretPosition()
{
    m_status->showCaret(m_memo.caretLine() + 1, m_memo.caretColumn() + 1);
}

void TForm1::Memo1KeyUp()
{
    UpdateCaretPosition();
}

void TForm1::Memo1Click()
{
    UpdateCaretPosition();
}

namespace {

// The local file a drag carries, or nothing: dropped text is inserted as typed.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().isEmpty())
        return QString();
    const QUrl url = data->urls().constFirst();
    return url.isLocalFile() ? url.toLocalFile() : QString();
}

} // namespace

void TForm1::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dragMoveEvent(QDragMoveEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended, so that no question is asked inside the drag.
    QTimer::singleShot(0, this, [this, path] { openDroppedFile(path); });
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    // A file dropped onto the editor opens, wherever it lands.
    if (watched == Memo1->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop)) {
        auto *drop = static_cast<QDropEvent *>(event);
        if (!droppedFile(drop->mimeData()).isEmpty()) {
            if (event->type() == QEvent::Drop)
                dropEvent(drop);
            else
                drop->acceptProposedAction();
            return true;
        }
    }
    if (watched == Memo1) {
        // Edit commands: the Ctrl+V interception sees the key before the editor.
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            FormShortCut(key->key(), key->modifiers());
        }
        switch (event->type()) {
        case QEvent::KeyPress:
            // Input method: a key the composer consumed never reaches the editor.
            if (memoKeyConsumed(static_cast<QKeyEvent *>(event)))
                return true;
            break;
        case QEvent::KeyRelease:
            Memo1KeyUp();
            break;
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
            // The waiting label is seen exactly while the editor is hidden.
            Label1->setVisible(Memo1->isHidden());
            break;
        default:
            break;
        }
    } else if (watched == Memo1->viewport() && event->type() == QEvent::MouseButtonRelease) {
        Memo1Click();
    }
    return QMainWindow::eventFilter(watched, event);
}

void TForm1::fitToScreen()
{
    QScreen *screen = QGuiApplication::screenAt(QPoint(windowLeft, windowTop));
    if (!screen)
        screen = this->screen();
    if (!screen)
        return;
    // Before the window is first shown the frame is not known yet; it is fitted
    // again with its frame once shown.
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    const QMargins margins(client.left() - frame.left(), client.top() - frame.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
    const QRect fitted = fitWindowToArea(client, margins, screen->availableGeometry());
    if (fitted == client)
        return;
    move(fitted.left() - margins.left(), fitted.top() - margins.top());
    resize(fitted.size());
}

void TForm1::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_fittedShown) {
        m_fittedShown = true;
        // The frame exists once the window system has placed the window.
        QTimer::singleShot(0, this, [this] { fitToScreen(); });
    }
}

void TForm1::writeSettings()
{
    writeSettingsFile(programDir + QStringLiteral("setteiedit.dat"),
                      formatSettings(y(), x(), width(), height(), ImeMode, wordWrap()));
}

void TForm1::FormClose(QCloseEvent *event)
{
    appClosing = true; // ends the wait of an open find dialog
    if (!m_quietEnd && !saveBeforeReplacing()) {
        // The user chose to keep the changes and they did not reach the disk:
        // the window stays, with the document still marked modified.
        appClosing = false;
        event->ignore();
        return;
    }
    writeSettings();
    destroyAccentPad();
    // A normal end: nothing is left to offer back. (A quiet end kept the journal.)
    if (!m_quietEnd)
        m_journal.discard();
    event->accept();
}

void TForm1::closeEvent(QCloseEvent *event)
{
    FormClose(event);
}
