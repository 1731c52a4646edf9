#include "find/document_search.h"

#include "document/text_store.h"

qsizetype findInStore(const TextStore &store, qsizetype from, QStringView needle)
{
    if (from < 0 || from > store.length())
        return -1;
    if (needle.isEmpty())
        return 0;
    const qsizetype at = store.indexOf(needle, from);
    return at < 0 ? -1 : at - from;
}
