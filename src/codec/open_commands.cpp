// The open and insert text file commands of the main window: ask for a file,
// choose its encoding, read it whole while the waiting label shows.
#include "app/app_state.h"
#include "app/main_window.h"
#include "app/memo_edit.h"
#include "codec/file_reading.h"
#include "platform/platform.h"

#include <QCoreApplication>
#include <QLabel>

namespace {

// OpenDialog1, configured anew by each command.
FileDialogRequest OpenDialog1(const QString &title)
{
    FileDialogRequest request;
    request.title = title;
    request.filters = {QStringLiteral("Text files(*.txt)"), QStringLiteral("HTML files(*.html)"),
                    QStringLiteral("All(*.*)")};
    request.defaultSuffix = QStringLiteral("txt");
    return request;
}

// Hides the editor so that the waiting label shows, and paints the label now:
// no events are processed while the file is read. The whole window is painted,
// so that nothing of the closed file dialog stays on screen meanwhile.
void showWaitingLabel(TForm1 &form)
{
    form.memo().setVisible(false);
    form.Label1->setVisible(true);
    form.Label1->repaint();
    if (form.isVisible()) {
        form.repaint();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void showEditorAgain(TForm1 &form)
{
    form.memo().setVisible(true);
    form.Memo1->repaint();
    form.memo().setFocus();
}

QStringView view(const TextBuffer &text)
{
    return QStringView(text.data(), qsizetype(text.size()));
}

} // namespace

void TForm1::opentextfile1Click()
{
    const FileDialogRequest dialog = OpenDialog1(QStringLiteral("Open a Text file"));
    QString path;
    if (openingFromCommandLine) {
        openingFromCommandLine = false;
        path = commandLineFile();
    } else {
        path = platform().openFileName(this, dialog);
        if (path.isEmpty())
            return;
    }
    const EncodingChoice choice = ChooseEncoding(path);
    showWaitingLabel(*this);
    LoadTextFile(choice.encoding, choice.bom, path);
    memo().setSelLength(0);
    memo().setSelStart(0);
    memo().setSelLength(0);
    showEditorAgain(*this);
}

void TForm1::LoadTextFile(FileEncoding encoding, BomKind bom, const QString &path)
{
    // The old document goes first, so that it and the new one are never held together.
    memo().setText(QString());
    setPanelText(1, QString());
    setPanelText(3, QString());
    setPanelText(3,
                 QString::fromLatin1(EncodingLabel(encoding, bom)) + QStringLiteral("  ") + path);
    setPanelText(1, QStringLiteral("Line:1  Col:1"));
    currentFileName = path;

    TextBuffer text;
    if (!ReadTextFile(path, encoding, text)) {
        ErrorBox(this, QStringLiteral("can't file open"), QStringLiteral("ERROR"));
        return;
    }
    // All lines at once: the same text as adding them one by one, in one layout pass.
    memo().setText(view(text));
}

void TForm1::LoadTextFile(const QString &path)
{
    const EncodingChoice choice = ChooseEncoding(path);
    LoadTextFile(choice.encoding, choice.bom, path);
    memo().setSelLength(0);
    memo().setSelStart(0);
    memo().setSelLength(0);
}

void TForm1::inserttextfile1Click()
{
    const QString path =
        platform().openFileName(this, OpenDialog1(QStringLiteral("Insert a Text file")));
    if (path.isEmpty())
        return;
    const EncodingChoice choice = ChooseEncoding(path);
    showWaitingLabel(*this);
    // A selection is collapsed to its end and kept; the file goes in after it.
    memo().setSelStart(memo().selStart() + memo().selLength());
    InsertTextFile(choice.encoding, choice.bom, path);
    showEditorAgain(*this);
}

void TForm1::InsertTextFile(FileEncoding encoding, BomKind, const QString &path)
{
    TextBuffer text;
    if (!ReadTextFile(path, encoding, text))
        return; // the insert command fails silently
    // The lines joined by line breaks, none after the last; the caret ends behind them.
    memo().replaceSelection(view(text));
}
