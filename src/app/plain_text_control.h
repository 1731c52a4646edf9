// TextControl over a QPlainTextEdit (the main editor). Reads go through the
// document's raw text so that every code unit survives: toPlainText() would
// turn U+00A0 into a space and U+2028 into a line feed.
#pragma once

#include "app/text_control.h"

class QPlainTextEdit;
class QTextCursor;

class PlainTextControl : public TextControl
{
public:
    // Follows the editor's document: every change of its text is told to the
    // change listener.
    explicit PlainTextControl(QPlainTextEdit *edit);

    QString text() const override;
    void setText(QStringView text) override;
    qsizetype length() const override;
    char16_t charAt(qsizetype pos) const override;

    qsizetype selStart() const override;
    qsizetype selLength() const override;
    void setSelStart(qsizetype pos) override;
    void setSelLength(qsizetype len) override;
    QString selText() const override;
    void replaceSelection(QStringView text) override;
    void replaceRange(qsizetype pos, qsizetype len, QStringView text) override;
    void selectAll() override;
    void deselect() override;

    int caretLine() const override;
    int caretColumn() const override;

    bool isReadOnly() const override;
    void setReadOnly(bool on) override;
    bool isVisible() const override;
    void setVisible(bool on) override;
    bool isEnabled() const override;
    void setEnabled(bool on) override;
    bool wordWrap() const override;
    void setWordWrap(bool on) override;
    bool hasFocus() const override;
    void setFocus() override;
    bool isSingleLine() const override { return false; }

    QPlainTextEdit *widget() const { return m_edit; }

    // Inserts `text` at the cursor (replacing its selection) so that every code
    // unit is kept: the document would otherwise turn U+FDD0, U+FDD1 and CR, its
    // own markers, into paragraph breaks. LF and U+2029 start a new line.
    static void insertText(QTextCursor &cursor, QStringView text);
    // Converts the document's raw form (paragraph breaks as U+2029) to LF breaks.
    static QString fromRaw(QString raw);

private:
    QPlainTextEdit *m_edit;
};
