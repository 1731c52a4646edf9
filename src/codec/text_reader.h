// Reading a whole document: the mark skipped, then line after line through the
// reader and decoder of the file's encoding into one UTF-16 buffer.
#pragma once

#include "codec/byte_stream.h"
#include "codec/decoders.h"
#include "codec/encoding_detect.h"

#include <cstddef>
#include <cstdint>

// Where a reader writes decoded text: room for a number of units, filled and
// then committed. Room and commit are inline pointer steps; only running out of
// room calls into the sink, which then makes more (growing a buffer, or handing
// on what was written and giving a fresh block of a document).
class TextSink
{
public:
    TextSink() = default;
    TextSink(const TextSink &) = delete;
    TextSink &operator=(const TextSink &) = delete;

    // Room for at least `count` more units; throws std::bad_alloc.
    char16_t *room(std::size_t count)
    {
        if (std::size_t(m_end - m_next) < count)
            refill(count);
        return m_next;
    }
    void commit(std::size_t count) { m_next += count; }
    void append(char16_t unit) { *room(1) = unit, ++m_next; }
    // Units that fit behind m_next without asking for more room.
    std::size_t roomLeft() const { return std::size_t(m_end - m_next); }
    // About `count` more units will come: a hint, which may be ignored.
    virtual void expect(std::size_t count) { (void)count; }
    // Hands on everything committed so far; the reader calls it at the end.
    virtual void flush() {}

protected:
    ~TextSink() = default;
    // Makes room for at least `count` units at m_next, keeping what was committed.
    virtual void refill(std::size_t count) = 0;

    char16_t *m_next = nullptr; // where the next unit goes
    char16_t *m_end = nullptr;  // the end of the room
};

// A growable buffer of UTF-16 code units. Reserving is cheap: pages that are
// never written are never touched.
class TextBuffer final : public TextSink
{
public:
    TextBuffer() = default;
    ~TextBuffer();

    void reserve(std::size_t capacity);
    void expect(std::size_t count) override { reserve(size() + count); }
    void clear() { m_next = m_data; }

    const char16_t *data() const { return m_data; }
    std::size_t size() const { return std::size_t(m_next - m_data); }

private:
    void refill(std::size_t count) override;

    char16_t *m_data = nullptr;
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

// Skips a byte-order mark, then reads `stream` to its end as lines of `encoding` and appends
// them to `out`, joined by LF, flushing it at the end. A final line break ends the last line
// and is followed by an empty one, so the text keeps it (a final SUB, the old end-of-text mark,
// or a final zero code adds none); a line is never cut, however long. `pieceLimit` is the most
// bytes or units one read takes (at least 4); tests lower it to exercise lines that come in
// many pieces.
ReadOutcome readTextStream(ByteStream &stream, FileEncoding encoding, TextSink &out,
                           int pieceLimit = MaxLineLength);
