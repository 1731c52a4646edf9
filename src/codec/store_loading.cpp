#include "codec/store_loading.h"

void LoaderSink::flush()
{
    if (m_next != m_start)
        m_loader.commit(m_next - m_start);
    // The room is the loader's until the next call on it: ask afresh.
    m_start = m_end = m_next;
}

void LoaderSink::refill(std::size_t count)
{
    flush();
    qsizetype available = 0;
    m_start = m_next = m_loader.room(qsizetype(count), available);
    m_end = m_start + available;
}

FileReadResult LoadTextFile(const QString &path, FileEncoding encoding, TextStore &store)
{
    ByteStream stream;
    if (!fileOpener(path)(stream))
        return {ReadStatus::OpenFailed};
    TextStore::Loader loader(store);
    LoaderSink sink(loader);
    return readOpenedFile(stream, encoding, sink);
}
