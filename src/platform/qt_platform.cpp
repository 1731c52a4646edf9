#include "platform/qt_platform.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QStandardPaths>

namespace {

void setUpFileDialog(QFileDialog &dialog, const FileDialogRequest &request)
{
    dialog.setWindowTitle(request.title);
    dialog.setNameFilters(request.filters);
    dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialPath.isEmpty())
        dialog.selectFile(request.initialPath);
}

} // namespace

QString QtPlatform::openFileName(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent);
    setUpFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtPlatform::saveFileName(QWidget *parent, const FileDialogRequest &request)
{
    QFileDialog dialog(parent);
    setUpFileDialog(dialog, request);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<QFont> QtPlatform::chooseFont(QWidget *parent, const QFont &initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, parent);
    if (!ok)
        return std::nullopt;
    return font;
}

void QtPlatform::errorBox(QWidget *parent, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

bool QtPlatform::confirmBox(QWidget *parent, const QString &text, const QString &caption,
                            bool defaultNo)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(defaultNo ? QMessageBox::No : QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtPlatform::informationBox(QWidget *parent, const QString &text, const QString &caption)
{
    QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

int QtPlatform::execDialog(QDialog *dialog)
{
    return dialog->exec();
}

ClipboardContent QtPlatform::readClipboard()
{
    ClipboardContent content;
    const QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data) {
        content.opened = clipboard != nullptr;
        return content;
    }
    if (data->hasText())
        content.unicode = data->text();
    else if (data->hasFormat(QStringLiteral("text/plain;charset=ISO-8859-1")))
        content.ansi = data->data(QStringLiteral("text/plain;charset=ISO-8859-1"));
    return content;
}

void QtPlatform::setClipboardText(const QString &text)
{
    if (QClipboard *clipboard = QGuiApplication::clipboard())
        clipboard->setText(text);
}

QPoint QtPlatform::cursorPos()
{
    return QCursor::pos();
}

OsFlags QtPlatform::osFlags()
{
    // The Windows 95/98/Me and NT 6 flags describe Windows only; here both stay clear.
    return {};
}

QString QtPlatform::standardFolder(StandardFolder which)
{
    const auto location = which == StandardFolder::Applications
                              ? QStandardPaths::ApplicationsLocation
                              : QStandardPaths::DesktopLocation;
    return QStandardPaths::writableLocation(location);
}

QString QtPlatform::executablePath()
{
    return QCoreApplication::applicationFilePath();
}

bool QtPlatform::openUrl(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}
