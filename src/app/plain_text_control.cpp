#include "app/plain_text_control.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <private/qtextdocument_p.h>

#include <algorithm>

namespace {

// Code units that QTextCursor::insertText would take as block or frame breaks
// although the user's text means them as characters.
bool needsRawInsert(char16_t c)
{
    return c == 0xFDD0 || c == 0xFDD1 || c == u'\r';
}

bool hasGuardedUnits(QStringView text)
{
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return needsRawInsert(c.unicode()); });
}

} // namespace

PlainTextControl::PlainTextControl(QPlainTextEdit *edit) : m_edit(edit)
{
    QObject::connect(
        edit->document(), &QTextDocument::contentsChange, edit,
        [this](int pos, int removed, int added) { notifyChange(pos, removed, added); });
}

QString PlainTextControl::fromRaw(QString raw)
{
    raw.replace(QChar::ParagraphSeparator, u'\n');
    return raw;
}

void PlainTextControl::insertText(QTextCursor &cursor, QStringView text)
{
    if (!hasGuardedUnits(text)) {
        cursor.insertText(text.toString());
        return;
    }
    cursor.beginEditBlock();
    cursor.removeSelectedText();
    QTextDocumentPrivate *priv = QTextDocumentPrivate::get(cursor.document());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !needsRawInsert(text[i].unicode()))
            continue;
        if (i > runStart)
            cursor.insertText(text.sliced(runStart, i - runStart).toString());
        if (i < text.size()) {
            // Straight into the piece table, as an ordinary character of the block.
            const int pos = cursor.position();
            const int format = priv->formatCollection()->indexForFormat(cursor.charFormat());
            priv->insert(pos, QString(text[i]), format);
            cursor.setPosition(pos + 1);
        }
        runStart = i + 1;
    }
    cursor.endEditBlock();
}

QString PlainTextControl::text() const
{
    return fromRaw(m_edit->document()->toRawText());
}

void PlainTextControl::setText(QStringView text)
{
    if (!hasGuardedUnits(text)) {
        m_edit->setPlainText(text.toString());
        return;
    }
    m_edit->setPlainText(QString());
    QTextDocument *doc = m_edit->document();
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    insertText(cursor, text);
    doc->setUndoRedoEnabled(true);
    cursor.setPosition(0);
    m_edit->setTextCursor(cursor);
}

qsizetype PlainTextControl::length() const
{
    return m_edit->document()->characterCount() - 1;
}

char16_t PlainTextControl::charAt(qsizetype pos) const
{
    if (pos < 0 || pos >= length())
        return u'\0';
    const char16_t c = m_edit->document()->characterAt(int(pos)).unicode();
    return c == QChar::ParagraphSeparator ? u'\n' : c;
}

qsizetype PlainTextControl::selStart() const
{
    return m_edit->textCursor().selectionStart();
}

qsizetype PlainTextControl::selLength() const
{
    const QTextCursor c = m_edit->textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void PlainTextControl::setSelStart(qsizetype pos)
{
    QTextCursor c = m_edit->textCursor();
    c.setPosition(int(std::clamp<qsizetype>(pos, 0, length())));
    m_edit->setTextCursor(c);
}

void PlainTextControl::setSelLength(qsizetype len)
{
    QTextCursor c = m_edit->textCursor();
    const qsizetype start = c.selectionStart();
    c.setPosition(int(start));
    c.setPosition(int(std::clamp<qsizetype>(start + len, start, length())),
                  QTextCursor::KeepAnchor);
    m_edit->setTextCursor(c);
}

QString PlainTextControl::selText() const
{
    return fromRaw(m_edit->textCursor().selectedText());
}

void PlainTextControl::replaceSelection(QStringView text)
{
    if (m_edit->isReadOnly())
        return;
    QTextCursor c = m_edit->textCursor();
    insertText(c, text);
    m_edit->setTextCursor(c);
}

void PlainTextControl::replaceRange(qsizetype pos, qsizetype len, QStringView text)
{
    if (m_edit->isReadOnly()) {
        TextControl::replaceRange(pos, len, text); // selects the range, writes nothing
        return;
    }
    const qsizetype start = std::clamp<qsizetype>(pos, 0, length());
    QTextCursor c = m_edit->textCursor();
    c.setPosition(int(start));
    c.setPosition(int(std::clamp<qsizetype>(start + len, start, length())),
                  QTextCursor::KeepAnchor);
    insertText(c, text);
    m_edit->setTextCursor(c);
}

void PlainTextControl::selectAll()
{
    m_edit->selectAll();
}

void PlainTextControl::deselect()
{
    QTextCursor c = m_edit->textCursor();
    c.setPosition(c.selectionStart());
    m_edit->setTextCursor(c);
}

int PlainTextControl::caretLine() const
{
    return m_edit->textCursor().blockNumber();
}

int PlainTextControl::caretColumn() const
{
    return m_edit->textCursor().positionInBlock();
}

bool PlainTextControl::isReadOnly() const
{
    return m_edit->isReadOnly();
}

void PlainTextControl::setReadOnly(bool on)
{
    m_edit->setReadOnly(on);
}

bool PlainTextControl::isVisible() const
{
    return !m_edit->isHidden();
}

void PlainTextControl::setVisible(bool on)
{
    m_edit->setVisible(on);
}

bool PlainTextControl::isEnabled() const
{
    return m_edit->isEnabled();
}

void PlainTextControl::setEnabled(bool on)
{
    m_edit->setEnabled(on);
}

bool PlainTextControl::wordWrap() const
{
    return m_edit->lineWrapMode() != QPlainTextEdit::NoWrap;
}

void PlainTextControl::setWordWrap(bool on)
{
    // Wrapped lines break at the control's width, anywhere, not only at blanks.
    m_edit->setWordWrapMode(QTextOption::WrapAnywhere);
    m_edit->setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
}

bool PlainTextControl::hasFocus() const
{
    return m_edit->hasFocus();
}

void PlainTextControl::setFocus()
{
    m_edit->setFocus();
}
