// A text control held in memory: the reference behaviour of TextControl, used by
// the core tests and by anything that needs a control without a window.
#pragma once

#include "document/text_control.h"

class MemoryTextControl : public TextControl
{
public:
    explicit MemoryTextControl(bool singleLine = false) : m_singleLine(singleLine) {}

    QString text() const override { return m_text; }
    void setText(QStringView text) override;
    qsizetype length() const override { return m_text.size(); }
    char16_t charAt(qsizetype pos) const override;

    qsizetype selStart() const override { return m_start; }
    qsizetype selLength() const override { return m_length; }
    void setSelStart(qsizetype pos) override;
    void setSelLength(qsizetype len) override;
    QString selText() const override { return m_text.mid(m_start, m_length); }
    void replaceSelection(QStringView text) override;
    void selectAll() override;
    void deselect() override { m_length = 0; }

    int caretLine() const override;
    int caretColumn() const override;

    bool isReadOnly() const override { return m_readOnly; }
    void setReadOnly(bool on) override { m_readOnly = on; }
    bool isVisible() const override { return m_visible; }
    void setVisible(bool on) override { m_visible = on; }
    bool isEnabled() const override { return m_enabled; }
    void setEnabled(bool on) override { m_enabled = on; }
    bool wordWrap() const override { return m_wordWrap; }
    void setWordWrap(bool on) override { m_wordWrap = on; }
    bool hasFocus() const override { return m_focus; }
    void setFocus() override { m_focus = true; }
    bool isSingleLine() const override { return m_singleLine; }

    // Test helper: puts the caret at pos and selects len units from there.
    void select(qsizetype pos, qsizetype len)
    {
        setSelStart(pos);
        setSelLength(len);
    }

private:
    QString m_text;
    qsizetype m_start = 0;
    qsizetype m_length = 0;
    bool m_singleLine;
    bool m_readOnly = false;
    bool m_visible = true;
    bool m_enabled = true;
    bool m_wordWrap = false;
    bool m_focus = false;
};
