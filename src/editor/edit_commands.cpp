#include "editor/edit_commands.h"

#include "document/text_control.h"
#include "platform/platform.h"
#include "settings/app_state.h"

#include <QTimer>

namespace {

QString clipboardText(const ClipboardContent &content, bool *fromAnsi)
{
    *fromAnsi = false;
    if (content.unicode) {
        const QString &text = *content.unicode;
        const qsizetype zero = text.indexOf(QChar(u'\0'));
        return zero < 0 ? text : text.left(zero);
    }
    QByteArray bytes = *content.ansi;
    const qsizetype zero = bytes.indexOf('\0');
    if (zero >= 0)
        bytes.truncate(zero);
    *fromAnsi = true;
    return QString::fromLocal8Bit(bytes);
}

} // namespace

void cutToClipboard(TextControl &control)
{
    platform().setClipboardText(control.selText());
    control.replaceSelection(QStringView());
    control.setSelLength(0);
}

void copyToClipboard(TextControl &control)
{
    platform().setClipboardText(control.selText());
}

PasteOutcome pasteFromClipboard(TextControl &control)
{
    const ClipboardContent content = platform().readClipboard();
    if (!content.opened)
        return PasteOutcome::NotOpened;
    if (!content.unicode && !content.ansi)
        return PasteOutcome::NoText;
    bool fromAnsi = false;
    QString text = clipboardText(content, &fromAnsi);
    text.remove(u'\r'); // CR LF breaks become single line feeds
    control.replaceSelection(text);
    const qsizetype behind = control.selStart() + control.selLength();
    control.setSelLength(0);
    control.setSelStart(behind);
    // 8-bit clipboard text is written back as Unicode text; what is written is
    // the text just pasted, so the user's clipboard is never left empty.
    if (fromAnsi)
        platform().setClipboardText(text);
    return PasteOutcome::Pasted;
}

PasteOutcome interceptPasteShortcut(TextControl &control, QTimer *readOnlyTimer, int key,
                                    Qt::KeyboardModifiers modifiers)
{
    if (!isWin9x || (key != 86 && key != 118) || !(modifiers & Qt::ControlModifier) ||
        !control.hasFocus() || control.isReadOnly())
        return PasteOutcome::NotOpened;
    const PasteOutcome outcome = pasteFromClipboard(control);
    if (outcome == PasteOutcome::NotOpened)
        return outcome;
    control.setReadOnly(true);
    readOnlyTimer->start();
    return outcome;
}
