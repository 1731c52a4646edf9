// The text store's undo history: each edit recorded with what it removed and
// added, merged into steps (typing, deletions, a typed word) and groups, undone
// and redone as one change each.
#include "document/text_store_impl.h"

void TextStore::Impl::record(TextStore *store, qsizetype pos, QString removed, QString added)
{
    if (!undoEnabled)
        return;
    const bool hadUndo = !undo.empty();
    const bool hadRedo = !redo.empty();
    redo.clear();
    Edit edit{pos, std::move(removed), std::move(added)};
    if (groupDepth > 0 && groupOpen) {
        undo.back().edits.push_back(std::move(edit));
    } else if (typingWord && groupDepth == 0) {
        if (lastKind == MergeKind::Word && !undo.empty())
            undo.back().edits.push_back(std::move(edit));
        else
            undo.push_back(Step{{std::move(edit)}});
        lastKind = MergeKind::Word;
    } else {
        MergeKind kind = MergeKind::None;
        const bool hasBreak = edit.added.contains(u'\n') || edit.removed.contains(u'\n');
        if (groupDepth == 0 && !hasBreak) {
            if (edit.removed.isEmpty() && edit.added.size() == 1)
                kind = MergeKind::Insert;
            else if (edit.added.isEmpty() && edit.removed.size() == 1)
                kind = MergeKind::Delete;
        }
        bool merged = false;
        if (kind != MergeKind::None && kind == lastKind && !undo.empty()) {
            Edit &prev = undo.back().edits.back();
            if (kind == MergeKind::Insert && pos == prev.pos + prev.added.size()) {
                prev.added += edit.added;
                merged = true;
            } else if (kind == MergeKind::Delete && pos + 1 == prev.pos) { // Backspace
                prev.removed.prepend(edit.removed);
                prev.pos = pos;
                merged = true;
            } else if (kind == MergeKind::Delete && pos == prev.pos) { // Delete
                prev.removed += edit.removed;
                merged = true;
            }
        }
        if (!merged)
            undo.push_back(Step{{std::move(edit)}});
        lastKind = kind;
        if (groupDepth > 0)
            groupOpen = true;
    }
    if (!hadUndo)
        emit store->undoAvailable(true);
    if (hadRedo)
        emit store->redoAvailable(false);
}

bool TextStore::isUndoAvailable() const
{
    return !d->undo.empty();
}

bool TextStore::isRedoAvailable() const
{
    return !d->redo.empty();
}

qsizetype TextStore::undo()
{
    if (d->undo.empty())
        return -1;
    Step step = std::move(d->undo.back());
    d->undo.pop_back();
    qsizetype caret = 0;
    for (auto it = step.edits.rbegin(); it != step.edits.rend(); ++it) {
        d->apply(it->pos, it->added.size(), it->removed);
        emit changed(it->pos, it->added.size(), it->removed.size());
        caret = it->pos + it->removed.size();
    }
    const bool hadRedo = !d->redo.empty();
    d->redo.push_back(std::move(step));
    d->lastKind = MergeKind::None;
    if (d->undo.empty())
        emit undoAvailable(false);
    if (!hadRedo)
        emit redoAvailable(true);
    return caret;
}

qsizetype TextStore::redo()
{
    if (d->redo.empty())
        return -1;
    Step step = std::move(d->redo.back());
    d->redo.pop_back();
    qsizetype caret = 0;
    for (const Edit &e : step.edits) {
        d->apply(e.pos, e.removed.size(), e.added);
        emit changed(e.pos, e.removed.size(), e.added.size());
        caret = e.pos + e.added.size();
    }
    const bool hadUndo = !d->undo.empty();
    d->undo.push_back(std::move(step));
    d->lastKind = MergeKind::None;
    if (d->redo.empty())
        emit redoAvailable(false);
    if (!hadUndo)
        emit undoAvailable(true);
    return caret;
}

void TextStore::beginUndoGroup()
{
    if (d->groupDepth++ == 0) {
        d->groupOpen = false;
        d->lastKind = MergeKind::None;
    }
}

void TextStore::endUndoGroup()
{
    if (d->groupDepth > 0 && --d->groupDepth == 0) {
        d->groupOpen = false;
        d->lastKind = MergeKind::None;
    }
}

void TextStore::breakUndoMerge()
{
    d->lastKind = MergeKind::None;
}

void TextStore::setTypingWord(bool on)
{
    d->typingWord = on;
}

void TextStore::clearUndo()
{
    const bool hadUndo = !d->undo.empty();
    const bool hadRedo = !d->redo.empty();
    d->undo.clear();
    d->redo.clear();
    d->lastKind = MergeKind::None;
    if (hadUndo)
        emit undoAvailable(false);
    if (hadRedo)
        emit redoAvailable(false);
}

void TextStore::setUndoEnabled(bool on)
{
    d->undoEnabled = on;
    if (!on)
        clearUndo();
}

bool TextStore::isUndoEnabled() const
{
    return d->undoEnabled;
}
