// A platform that answers as the test says and records what was asked.
#pragma once

#include "platform/platform.h"

#include <QList>
#include <functional>

struct BoxCall
{
    QString kind; // "error", "confirm" or "information"
    QString text;
    QString caption;
    bool defaultNo = false; // No is the default button
};

class FakePlatform : public Platform
{
public:
    FakePlatform() { setPlatform(this); }
    ~FakePlatform() override { setPlatform(nullptr); }

    // Answers, set by the test.
    QString openAnswer;
    QString saveAnswer;
    std::optional<QFont> fontAnswer;
    bool confirmAnswer = true;
    QList<bool> confirmAnswers;                 // answered first, in order; then confirmAnswer
    std::function<int(QDialog *)> dialogAnswer; // default: reject
    ClipboardContent clipboard;
    QPoint cursor;
    OsFlags flags;
    QString applicationsFolder;
    QString desktopFolder;
    QString executable = QStringLiteral("/usr/bin/tavriledit");
    bool openUrlResult = true;

    // What was asked.
    QList<FileDialogRequest> openRequests;
    QList<FileDialogRequest> saveRequests;
    QList<BoxCall> boxes;
    QList<QUrl> openedUrls;
    QStringList clipboardWrites;
    int dialogsRun = 0;

    QString openFileName(QWidget *, const FileDialogRequest &request) override
    {
        openRequests.append(request);
        return openAnswer;
    }
    QString saveFileName(QWidget *, const FileDialogRequest &request) override
    {
        saveRequests.append(request);
        return saveAnswer;
    }
    std::optional<QFont> chooseFont(QWidget *, const QFont &) override { return fontAnswer; }
    void errorBox(QWidget *, const QString &text, const QString &caption) override
    {
        boxes.append({QStringLiteral("error"), text, caption});
    }
    bool confirmBox(QWidget *, const QString &text, const QString &caption,
                    bool defaultNo = false) override
    {
        boxes.append({QStringLiteral("confirm"), text, caption, defaultNo});
        return confirmAnswers.isEmpty() ? confirmAnswer : confirmAnswers.takeFirst();
    }
    void informationBox(QWidget *, const QString &text, const QString &caption) override
    {
        boxes.append({QStringLiteral("information"), text, caption});
    }
    int execDialog(QDialog *dialog) override;
    ClipboardContent readClipboard() override { return clipboard; }
    void setClipboardText(const QString &text) override
    {
        clipboardWrites.append(text);
        clipboard.opened = true;
        clipboard.unicode = text;
        clipboard.ansi.reset();
    }
    QPoint cursorPos() override { return cursor; }
    OsFlags osFlags() override { return flags; }
    QString standardFolder(StandardFolder which) override
    {
        return which == StandardFolder::Applications ? applicationsFolder : desktopFolder;
    }
    QString executablePath() override { return executable; }
    bool openUrl(const QUrl &url) override
    {
        openedUrls.append(url);
        return openUrlResult;
    }
};
