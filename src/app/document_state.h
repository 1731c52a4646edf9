// The document's state, derived in one place from what happens to the editor's
// text: any change marks it modified (documentModified), except the text a file
// load puts in; and the line-break style its saves write.
#pragma once

#include "app/line_break_style.h"

class TextControl;

class DocumentState
{
public:
    // Follows every change of `control` from now on.
    explicit DocumentState(TextControl &control);
    ~DocumentState();
    DocumentState(const DocumentState &) = delete;
    DocumentState &operator=(const DocumentState &) = delete;

    LineBreakStyle lineBreak() const { return m_lineBreak; }

    // While one lives, changes of the text are a file's text arriving, not edits.
    class Loading
    {
    public:
        explicit Loading(DocumentState &state) : m_state(state) { ++m_state.m_loading; }
        ~Loading() { --m_state.m_loading; }
        Loading(const Loading &) = delete;
        Loading &operator=(const Loading &) = delete;

    private:
        DocumentState &m_state;
    };

    // The editor now holds a file's text (or nothing, after a failed read):
    // unmodified, its breaks to be written in `style`.
    void setLoaded(LineBreakStyle style);

private:
    TextControl &m_control;
    int m_loading = 0;
    LineBreakStyle m_lineBreak = LineBreakStyle::CrLf;
};
