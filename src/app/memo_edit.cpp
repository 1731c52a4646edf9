#include "app/memo_edit.h"

#include "app/editor_document_layout.h"
#include "app/plain_text_control.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>

MemoEdit::MemoEdit(QWidget *parent) : QPlainTextEdit(parent)
{
    // A layout whose cost per key does not grow with the document.
    auto *doc = new QTextDocument(this);
    doc->setDocumentLayout(new EditorDocumentLayout(doc));
    setDocument(doc);
}

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
