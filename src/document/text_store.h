// The editor's document: UTF-16 code units kept exactly as given, a line index,
// edits near the caret without touching the rest, grouped undo and redo, and one
// change notification. No widgets: the view and every command sit on top of it.
#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>

// Positions are code units. U+000A is the one line break (one position); every
// other unit (U+2028, U+2029, CR, U+0000, lone surrogates, ...) is an ordinary
// character of its line.
class TextStore : public QObject
{
    Q_OBJECT
public:
    explicit TextStore(QObject *parent = nullptr);
    ~TextStore() override;

    // ---- Reading --------------------------------------------------------
    qsizetype length() const;
    // The unit at pos; 0 outside [0, length()). Amortised constant time for
    // reads near the previous one.
    char16_t at(qsizetype pos) const;
    // A copy of [pos, pos + len), clamped to the text.
    QString mid(qsizetype pos, qsizetype len) const;
    // A copy of the whole text: a save or an export, never a key press.
    QString text() const;
    // Calls `visit` with consecutive pieces covering [pos, pos + len) (clamped),
    // in order, without copying; stops early when `visit` returns false.
    void visitPieces(qsizetype pos, qsizetype len,
                     const std::function<bool(QStringView piece)> &visit) const;

    // ---- Lines ----------------------------------------------------------
    // Number of lines: line breaks + 1 (an empty store has one empty line).
    qsizetype lineCount() const;
    // Offset of the first unit of `line` (clamped to [0, lineCount()-1]).
    qsizetype lineStart(qsizetype line) const;
    // Length of `line` without its break.
    qsizetype lineLength(qsizetype line) const;
    // The line holding `pos` (a break belongs to the line it ends).
    qsizetype lineAt(qsizetype pos) const;
    // A copy of one line without its break.
    QString lineText(qsizetype line) const;

    // ---- Editing --------------------------------------------------------
    // Replaces `removed` units at `pos` (both clamped) with `text`: one edit,
    // one change notification, one undo step unless it merges with the
    // previous one (plain typing: inserts that continue the previous insert,
    // and deletions that continue the previous deletion, as editors do; a line
    // break, a caret jump or a group boundary stops the merge).
    void replace(qsizetype pos, qsizetype removed, QStringView text);
    // Replaces everything; clears undo and redo.
    void setText(QStringView text);

    // Loading a file: the text arrives in pieces that are appended as they are
    // decoded, with no copy of the whole. No undo history, one notification
    // (pos 0, removed = old length, added = new length) at end(). The store is
    // read after end(), not while it loads.
    class Loader
    {
    public:
        explicit Loader(TextStore &store); // empties the store
        ~Loader();                         // end() when not called
        Loader(const Loader &) = delete;
        Loader &operator=(const Loader &) = delete;
        void append(QStringView piece);
        // Room for at most `count` units at the end, to be filled and then
        // committed; the pointer is valid until the next call on the loader.
        char16_t *room(qsizetype count);
        // Room for at least `count` units, and `available` set to how many may
        // be written there (all of the current block's free room), so that a
        // decoder writes many lines before it asks again.
        char16_t *room(qsizetype count, qsizetype &available);
        void commit(qsizetype count);
        void end();

    private:
        TextStore *m_store;
    };

    // ---- Undo -----------------------------------------------------------
    bool isUndoAvailable() const;
    bool isRedoAvailable() const;
    // Undoes or redoes one step; returns the caret position the step leaves
    // (the end of what it put back), or -1 when there was nothing to do.
    qsizetype undo();
    qsizetype redo();
    // Edits between begin and end are one undo step (nests; the outermost end
    // closes the step).
    void beginUndoGroup();
    void endUndoGroup();
    // The next edit starts a new undo step (a caret move, a command).
    void breakUndoMerge();
    void clearUndo();
    // While on, an edit joins the undo step of the previous edit made while on,
    // unless a merge break, a group or another kind of edit came between: the
    // keys that compose one typed word are undone together.
    void setTypingWord(bool on);
    void setUndoEnabled(bool on);
    bool isUndoEnabled() const;

    // ---- Search ---------------------------------------------------------
    // First occurrence of `needle` at or after `from`, read in place; -1 when
    // none. An empty needle is found at `from`.
    qsizetype indexOf(QStringView needle, qsizetype from,
                      Qt::CaseSensitivity cs = Qt::CaseSensitive) const;

    // ---- Tuning ---------------------------------------------------------
    // The most code units a block holds before it splits; 0 restores the
    // default. Tests make blocks tiny so that every edit, line lookup and search
    // crosses the seams between them. Applies to this store's later edits and
    // loads; the text stays as it is.
    void setBlockUnits(int units);

signals:
    // Every change of the text: at `pos`, `removed` units went and `added` came.
    void changed(qsizetype pos, qsizetype removed, qsizetype added);
    void undoAvailable(bool available);
    void redoAvailable(bool available);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Edits inside one undo step while it lives.
class UndoGroup
{
public:
    explicit UndoGroup(TextStore &store) : m_store(store) { m_store.beginUndoGroup(); }
    ~UndoGroup() { m_store.endUndoGroup(); }
    UndoGroup(const UndoGroup &) = delete;
    UndoGroup &operator=(const UndoGroup &) = delete;

private:
    TextStore &m_store;
};
