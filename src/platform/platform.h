// The seam to everything modal or outside the process: dialogs, message boxes,
// clipboard, cursor position, OS flags, desktop folders and the web browser.
// The program talks only to platform(); tests install a fake that answers.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

class QDialog;
class QWidget;

struct FileDialogRequest
{
    QString title;
    QStringList filters;   // e.g. "Text files(*.txt)"
    QString defaultSuffix; // without the dot
    QString initialPath;
};

struct ClipboardContent
{
    bool opened = true;             // false: the clipboard could not be opened
    std::optional<QString> unicode; // Unicode text, when offered
    std::optional<QByteArray> ansi; // 8-bit text, when offered
};

struct OsFlags
{
    bool isWin9x = false;
    bool isNt6OrLater = false;
};

enum class StandardFolder { Applications, Desktop };

class Platform
{
public:
    virtual ~Platform();

    // File dialogs: the chosen path, or empty when cancelled.
    virtual QString openFileName(QWidget *parent, const FileDialogRequest &request) = 0;
    virtual QString saveFileName(QWidget *parent, const FileDialogRequest &request) = 0;
    // Font dialog starting from `initial`; empty when cancelled.
    virtual std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) = 0;

    // Modal boxes. ErrorBox: critical icon, OK. ConfirmBox: information icon,
    // Yes and No with Yes the default (No with `defaultNo`: a question whose Yes
    // loses something); true on Yes. An empty caption means the platform's
    // default caption.
    virtual void errorBox(QWidget *parent, const QString &text, const QString &caption) = 0;
    virtual bool confirmBox(QWidget *parent, const QString &text, const QString &caption,
                            bool defaultNo = false) = 0;
    // Information icon, OK.
    virtual void informationBox(QWidget *parent, const QString &text, const QString &caption) = 0;
    // Runs one of the program's own dialogs modally and returns its result code.
    virtual int execDialog(QDialog *dialog) = 0;

    virtual ClipboardContent readClipboard() = 0;
    virtual void setClipboardText(const QString &text) = 0;

    virtual QPoint cursorPos() = 0;
    virtual OsFlags osFlags() = 0;

    // A folder where shortcuts go (empty when the desktop has none) and the
    // running executable's absolute path.
    virtual QString standardFolder(StandardFolder which) = 0;
    virtual QString executablePath() = 0;
    virtual bool openUrl(const QUrl &url) = 0;
};

// The platform in force; the Qt implementation unless a test installed another.
Platform &platform();
// Installs `p` (not owned); nullptr goes back to the Qt implementation.
void setPlatform(Platform *p);

// The two message boxes every command uses.
void ErrorBox(QWidget *parent, const QString &text, const QString &caption);
bool ConfirmBox(QWidget *parent, const QString &text, const QString &caption);
// The same question with No the default button.
bool ConfirmBoxDefaultNo(QWidget *parent, const QString &text, const QString &caption);
void InformationBox(QWidget *parent, const QString &text, const QString &caption);
