// The find command's search over the editor's document, read in place: a search
// costs no copy of the text, whatever the document's size.
#pragma once

#include <QStringView>

class TextStore;

// Offset of the first occurrence of `needle` at or after position `from`, counted
// from `from`, or -1 (also for `from` outside the text). A line break is one
// position and matches a line feed in the needle; every other unit matches only
// itself. An empty needle is found at once.
qsizetype findInStore(const TextStore &store, qsizetype from, QStringView needle);
