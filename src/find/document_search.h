// The find command's search over the editor's document: reads the piece table in
// place, so a search costs no copy of the text, whatever the document's size.
#pragma once

#include <QStringView>

class QTextDocument;
class TextStore;

// Offset of the first occurrence of `needle` at or after position `from`, counted
// from `from`, or -1. Positions and line breaks count as in PlainTextControl: a line
// break is one position and matches a line feed in the needle.
qsizetype findInDocument(const QTextDocument *document, qsizetype from, QStringView needle);

// The same over the document store, in place. The store's one line break is a
// line feed, so a needle's line feed matches a break; every other unit (U+2029
// among them) is a character and matches itself.
qsizetype findInStore(const TextStore &store, qsizetype from, QStringView needle);
