// The real platform: Qt's dialogs, message boxes, clipboard and desktop services.
#pragma once

#include "platform/platform.h"

class QtPlatform : public Platform
{
public:
    QString openFileName(QWidget *parent, const FileDialogRequest &request) override;
    QString saveFileName(QWidget *parent, const FileDialogRequest &request) override;
    std::optional<QFont> chooseFont(QWidget *parent, const QFont &initial) override;
    void errorBox(QWidget *parent, const QString &text, const QString &caption) override;
    bool confirmBox(QWidget *parent, const QString &text, const QString &caption,
                    bool defaultNo = false) override;
    void informationBox(QWidget *parent, const QString &text, const QString &caption) override;
    int execDialog(QDialog *dialog) override;
    ClipboardContent readClipboard() override;
    void setClipboardText(const QString &text) override;
    QPoint cursorPos() override;
    OsFlags osFlags() override;
    QString standardFolder(StandardFolder which) override;
    QString executablePath() override;
    bool openUrl(const QUrl &url) override;
};
