// Reading a file straight into the editor's document store: the decoders write
// into the store's blocks, with no copy of the whole text on the way.
#pragma once

#include "codec/file_reading.h"
#include "document/text_store.h"

// Hands the reader the free room of the store's last block, and commits what
// was written when it asks for more and at the end.
class LoaderSink final : public TextSink
{
public:
    explicit LoaderSink(TextStore::Loader &loader) : m_loader(loader) {}
    ~LoaderSink() { flush(); }
    void flush() override;

private:
    void refill(std::size_t count) override;

    TextStore::Loader &m_loader;
    char16_t *m_start = nullptr; // the first unit not yet committed
};

// Replaces the text of `store` with the file's (see ReadTextFile), with one
// change notification and no undo history. When the file cannot be opened the
// store is left as it was; after a failed read it holds the part read.
FileReadResult LoadTextFile(const QString &path, FileEncoding encoding, TextStore &store);
