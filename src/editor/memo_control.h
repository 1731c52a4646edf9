// TextControl over the main editor: the view's caret and selection, its store's
// text, and every change of the store told to the change listener.
#pragma once

#include "document/text_control.h"

class MemoView;

class MemoControl : public TextControl
{
public:
    explicit MemoControl(MemoView *view);

    QString text() const override;
    // Replaces the document (no undo history), the caret at the start, scrolled to the top.
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
    Span composition() const override;
    void setComposition(Span span) override;
    void setTypingWord(bool on) override;

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

    MemoView *view() const { return m_view; }

private:
    MemoView *m_view;
};
