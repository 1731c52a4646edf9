// The document's state, derived in one place from what happens to the editor's
// text: any change marks it modified (documentModified), except the text a file
// load puts in; the line-break style its saves write; and whether the file it
// was read from holds codes its decoding could not read.
#pragma once

#include "app/line_break_style.h"

#include <QString>

#include <cstdint>

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

    // The editor now holds the text read from `file` (or nothing, after a failed
    // read): unmodified, its breaks to be written in `style`. `unreadable` codes
    // of the file had no character in the decoding used.
    void setLoaded(LineBreakStyle style, const QString &file = QString(),
                   std::uint64_t unreadable = 0);

    // Writing the editor's text to `path` would replace codes it could not read:
    // `path` is the loaded file and it still holds them.
    bool replacesUnreadable(const QString &path) const;
    // `path` now holds what the editor wrote; if it is the loaded file, nothing of
    // the old contents is left to lose.
    void setWritten(const QString &path);

private:
    TextControl &m_control;
    int m_loading = 0;
    LineBreakStyle m_lineBreak = LineBreakStyle::CrLf;
    QString m_file;
    std::uint64_t m_unreadable = 0;
};
