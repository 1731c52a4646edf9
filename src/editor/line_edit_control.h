// TextControl over a QLineEdit (the find dialog's edit line).
#pragma once

#include "document/text_control.h"

#include <QMetaObject>

class QLineEdit;

class LineEditControl : public TextControl
{
public:
    // Any caret move or change of the line drops the composition.
    explicit LineEditControl(QLineEdit *edit);
    ~LineEditControl() override;

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
    void selectAll() override;
    void deselect() override;

    int caretLine() const override { return 0; }
    int caretColumn() const override;

    bool isReadOnly() const override;
    void setReadOnly(bool on) override;
    bool isVisible() const override;
    void setVisible(bool on) override;
    bool isEnabled() const override;
    void setEnabled(bool on) override;
    bool wordWrap() const override { return false; }
    void setWordWrap(bool) override {}
    bool hasFocus() const override;
    void setFocus() override;
    bool isSingleLine() const override { return true; }

    QLineEdit *widget() const { return m_edit; }

private:
    QLineEdit *m_edit;
    QMetaObject::Connection m_caretMoved, m_textChanged;
};
