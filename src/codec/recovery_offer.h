// Offering back what a recovery journal kept when the editor last ended without
// saving: after a file is opened, and at a start without a file.
#pragma once

#include <QString>

struct EditorContext;
struct FileIdentity;

// After the open command read `path` (or found no file there): a kept journal
// for that path is offered back.
void offerKeptChanges(EditorContext &editor, const QString &path);
// At a start without a file: the newest text kept for a new document.
void offerKeptUntitledText(EditorContext &editor);
// The document's file changed on disk since it was read or written, and
// `askedAbout` is not that change: asks whether to reload it (and remembers the
// change in `askedAbout`). Yes reads it again through the open path, the caret
// kept on its line where that line still exists; a deleted file asks nothing.
void offerReloadIfChanged(EditorContext &editor, FileIdentity &askedAbout);
