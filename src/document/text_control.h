// The editor-control operations every command uses, written once so that the
// composer, pads, paste and conversions run alike on Memo1, Edit1 and in tests.
#pragma once

#include <QString>
#include <QStringView>

#include <functional>

// Positions are code units. A line break counts as one position and reads as
// U+000A; every other code unit is returned exactly as it was put in.
class TextControl
{
public:
    virtual ~TextControl();

    // Whole text, line breaks as LF. Costs a copy of the document: never on a key press.
    virtual QString text() const = 0;
    virtual void setText(QStringView text) = 0;
    // Length in code units, in constant time.
    virtual qsizetype length() const = 0;
    // The code unit at pos (0 <= pos < length()), in constant time; 0 outside.
    virtual char16_t charAt(qsizetype pos) const = 0;

    virtual qsizetype selStart() const = 0;
    virtual qsizetype selLength() const = 0;
    // Places the caret at pos with nothing selected (clamped to the text).
    virtual void setSelStart(qsizetype pos) = 0;
    // Extends the selection from its start by len code units (clamped).
    virtual void setSelLength(qsizetype len) = 0;
    virtual QString selText() const = 0;
    // Replaces the selection (inserts at the caret when nothing is selected); the
    // caret ends behind the new text with nothing selected.
    virtual void replaceSelection(QStringView text) = 0;
    // Replaces len units from pos (clamped to the text) with text, the caret ending
    // behind it with nothing selected: setSelStart, setSelLength and replaceSelection
    // in one edit, so that an editor updates its caret once (the composer's key).
    virtual void replaceRange(qsizetype pos, qsizetype len, QStringView text);
    virtual void selectAll() = 0;
    // Drops the selection, keeping the caret where the selection started.
    virtual void deselect() = 0;

    // Caret line and column counted from 0, the column in code units.
    virtual int caretLine() const = 0;
    virtual int caretColumn() const = 0;

    virtual bool isReadOnly() const = 0;
    virtual void setReadOnly(bool on) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool on) = 0;
    virtual bool isEnabled() const = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool wordWrap() const = 0;
    virtual void setWordWrap(bool on) = 0;
    virtual bool hasFocus() const = 0;
    virtual void setFocus() = 0;
    // True for a single-line control (the find dialog's edit line).
    virtual bool isSingleLine() const = 0;

    // The text an input method of the program is still composing (the syllable the
    // next key may change), `length` units from `pos`; length 0 when none. An editor
    // may show it underlined. Any caret move or change of the text drops it, so the
    // composer sets it again after each of its own edits.
    struct Span
    {
        qsizetype pos = 0;
        qsizetype length = 0;
        bool operator==(const Span &) const = default;
    };
    virtual Span composition() const { return m_composition; }
    virtual void setComposition(Span span) { m_composition = span; }
    // Ends the typed word: no composition, and the next edit starts an undo step.
    virtual void endComposition() { setComposition({}); }
    // While on, the edits of the keys that compose one word join one undo step
    // (ended by a caret move, another kind of edit or endComposition). A control
    // whose undo is not ours ignores it.
    virtual void setTypingWord(bool on) { Q_UNUSED(on); }

    // Convenience: the code unit before the caret's position, or 0 when there is none.
    char16_t charBefore(qsizetype pos) const { return pos > 0 ? charAt(pos - 1) : u'\0'; }

    // Told of every change of the text, whatever made it (a command, a typed key,
    // the control's own shortcuts, drag and drop, undo): at `pos`, `removed`
    // units went and `added` units came. One listener; an empty one stops it.
    using ChangeListener = std::function<void(qsizetype pos, qsizetype removed, qsizetype added)>;
    void setChangeListener(ChangeListener listener) { m_changeListener = std::move(listener); }

protected:
    void notifyChange(qsizetype pos, qsizetype removed, qsizetype added) const
    {
        if (m_changeListener && (removed > 0 || added > 0))
            m_changeListener(pos, removed, added);
    }

    // For implementations that keep the composition here: drops it.
    void dropComposition() { m_composition = {}; }

private:
    ChangeListener m_changeListener;
    Span m_composition;
};

// Hides a control for a piece of work (the waiting label shows in the editor's
// place) and shows it again when the work ends, however it ends.
class EditorHiddenWhile
{
public:
    explicit EditorHiddenWhile(TextControl &control) : m_control(control)
    {
        m_control.setVisible(false);
    }
    ~EditorHiddenWhile() { showAgain(); }
    EditorHiddenWhile(const EditorHiddenWhile &) = delete;
    EditorHiddenWhile &operator=(const EditorHiddenWhile &) = delete;

    // Shows it before the work's end, e.g. ahead of an error message.
    void showAgain() const
    {
        if (!m_control.isVisible())
            m_control.setVisible(true);
    }

private:
    TextControl &m_control;
};
