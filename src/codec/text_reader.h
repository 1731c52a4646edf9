// Reading a whole document: the mark skipped, then line after line through the
// reader and decoder of the file's encoding into one UTF-16 buffer.
#pragma once

#include "codec/byte_stream.h"
#include "codec/decoders.h"
#include "codec/encoding_detect.h"

#include <cstddef>
#include <cstdint>

// A growable buffer of UTF-16 code units. Reserving is cheap: pages that are
// never written are never touched.
class TextBuffer
{
public:
    TextBuffer() = default;
    ~TextBuffer();
    TextBuffer(const TextBuffer &) = delete;
    TextBuffer &operator=(const TextBuffer &) = delete;

    // Makes room for at least `count` more units; throws std::bad_alloc.
    char16_t *room(std::size_t count)
    {
        if (m_capacity - m_size < count)
            grow(count);
        return m_data + m_size;
    }
    void commit(std::size_t count) { m_size += count; }
    void append(char16_t unit) { *room(1) = unit, ++m_size; }
    void reserve(std::size_t capacity);
    void clear() { m_size = 0; }

    const char16_t *data() const { return m_data; }
    std::size_t size() const { return m_size; }

private:
    void grow(std::size_t count);

    char16_t *m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

// What reading a whole document found.
struct ReadOutcome
{
    std::size_t lines = 0;              // lines appended (an empty stream has none)
    LineEnd firstBreak = LineEnd::None; // the first LF, CR LF or CR of the stream
    bool failed = false;                // a read error cut the text short
    // Codes the decoding could not read (see DecodeResult::unmapped), and for
    // UTF-16 an odd last byte.
    std::uint64_t unreadable = 0;
    bool extension = false; // code page 949: a UHC extension code occurred
};

// Skips a byte-order mark, then reads `stream` to its end as lines of
// `encoding` and appends them to `out`, joined by LF. A final line break ends
// the last line and is followed by an empty one, so the text keeps it (a final
// SUB, the old end-of-text mark, adds none); a line is never cut, however long.
// `pieceLimit` is the most bytes or units one read takes (at least 4); tests
// lower it to exercise lines that come in many pieces.
ReadOutcome ReadTextStream(ByteStream &stream, FileEncoding encoding, TextBuffer &out,
                           int pieceLimit = MaxLineLength);
