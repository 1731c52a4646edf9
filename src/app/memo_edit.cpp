#include "app/memo_edit.h"

#include "app/plain_text_control.h"

#include <QMimeData>
#include <QTextCursor>

MemoEdit::MemoEdit(QWidget *parent) : QPlainTextEdit(parent) {}

QMimeData *MemoEdit::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(PlainTextControl::fromRaw(textCursor().selectedText()));
    return data;
}

void MemoEdit::insertFromMimeData(const QMimeData *source)
{
    if (!source || !source->hasText() || isReadOnly())
        return;
    QTextCursor cursor = textCursor();
    PlainTextControl::insertText(cursor, source->text());
    setTextCursor(cursor);
    ensureCursorVisible();
}
