#include "app/text_store.h"
#include "app/text_store_tuning.h"

#include <algorithm>
#include <vector>

// Reference implementation: one contiguous buffer. Correct, not yet fast for
// edits in huge documents.

namespace {

struct Edit
{
    qsizetype pos;
    QString removed;
    QString added;
};

struct Step
{
    std::vector<Edit> edits;
};

enum class MergeKind { None, Insert, Delete };

} // namespace

struct TextStore::Impl
{
    QString text;
    std::vector<Step> undo;
    std::vector<Step> redo;
    int groupDepth = 0;
    bool groupOpen = false; // the current group already has a step
    bool undoEnabled = true;
    MergeKind lastKind = MergeKind::None;
    qsizetype loadOldLength = 0;

    void record(TextStore *store, qsizetype pos, QString removed, QString added);
};

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

TextStore::TextStore(QObject *parent) : QObject(parent), d(std::make_unique<Impl>()) {}

TextStore::~TextStore() = default;

qsizetype TextStore::length() const
{
    return d->text.size();
}

char16_t TextStore::at(qsizetype pos) const
{
    return pos >= 0 && pos < d->text.size() ? d->text.at(pos).unicode() : u'\0';
}

QString TextStore::mid(qsizetype pos, qsizetype len) const
{
    pos = std::clamp<qsizetype>(pos, 0, d->text.size());
    len = std::clamp<qsizetype>(len, 0, d->text.size() - pos);
    return d->text.mid(pos, len);
}

QString TextStore::text() const
{
    return d->text;
}

void TextStore::visitPieces(qsizetype pos, qsizetype len,
                            const std::function<bool(QStringView)> &visit) const
{
    pos = std::clamp<qsizetype>(pos, 0, d->text.size());
    len = std::clamp<qsizetype>(len, 0, d->text.size() - pos);
    if (len > 0)
        visit(QStringView(d->text).sliced(pos, len));
}

qsizetype TextStore::lineCount() const
{
    return d->text.count(u'\n') + 1;
}

qsizetype TextStore::lineStart(qsizetype line) const
{
    if (line <= 0)
        return 0;
    qsizetype seen = 0;
    for (qsizetype i = 0; i < d->text.size(); ++i) {
        if (d->text.at(i) == u'\n' && ++seen == line)
            return i + 1;
    }
    const qsizetype last = d->text.lastIndexOf(u'\n');
    return last + 1;
}

qsizetype TextStore::lineLength(qsizetype line) const
{
    const qsizetype start = lineStart(line);
    const qsizetype end = d->text.indexOf(u'\n', start);
    return (end < 0 ? d->text.size() : end) - start;
}

qsizetype TextStore::lineAt(qsizetype pos) const
{
    pos = std::clamp<qsizetype>(pos, 0, d->text.size());
    return QStringView(d->text).first(pos).count(u'\n');
}

QString TextStore::lineText(qsizetype line) const
{
    return d->text.mid(lineStart(line), lineLength(line));
}

void TextStore::replace(qsizetype pos, qsizetype removed, QStringView text)
{
    pos = std::clamp<qsizetype>(pos, 0, d->text.size());
    removed = std::clamp<qsizetype>(removed, 0, d->text.size() - pos);
    if (removed == 0 && text.isEmpty())
        return;
    d->record(this, pos, d->text.mid(pos, removed), text.toString());
    d->text.replace(pos, removed, text.toString());
    emit changed(pos, removed, text.size());
}

void TextStore::setText(QStringView text)
{
    const qsizetype old = d->text.size();
    d->text = text.toString();
    clearUndo();
    if (old > 0 || !text.isEmpty())
        emit changed(0, old, text.size());
}

void TextStoreTuning::setBlockUnits(int) {}

TextStore::Loader::Loader(TextStore &store) : m_store(&store)
{
    store.d->loadOldLength = store.d->text.size();
    store.d->text.clear();
    store.clearUndo();
}

TextStore::Loader::~Loader()
{
    end();
}

void TextStore::Loader::append(QStringView piece)
{
    if (m_store)
        m_store->d->text.append(piece);
}

char16_t *TextStore::Loader::room(qsizetype count)
{
    QString &text = m_store->d->text;
    const qsizetype size = text.size();
    text.resize(size + count);
    text.resize(size); // keeps the capacity; the units are written past the end
    return reinterpret_cast<char16_t *>(text.data()) + size;
}

char16_t *TextStore::Loader::room(qsizetype count, qsizetype &available)
{
    available = count;
    return room(count);
}

void TextStore::Loader::commit(qsizetype count)
{
    QString &text = m_store->d->text;
    text.resize(text.size() + count); // the units written by room() are kept
}

void TextStore::Loader::end()
{
    if (!m_store)
        return;
    TextStore *store = m_store;
    m_store = nullptr;
    store->clearUndo();
    if (store->d->loadOldLength > 0 || store->length() > 0)
        emit store->changed(0, store->d->loadOldLength, store->length());
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
        d->text.replace(it->pos, it->added.size(), it->removed);
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
        d->text.replace(e.pos, e.removed.size(), e.added);
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

qsizetype TextStore::indexOf(QStringView needle, qsizetype from, Qt::CaseSensitivity cs) const
{
    if (from < 0 || from > d->text.size())
        return -1;
    return QStringView(d->text).indexOf(needle, from, cs);
}
