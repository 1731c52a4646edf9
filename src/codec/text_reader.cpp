#include "codec/text_reader.h"

#include "codec/decoders.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <new>

#if __has_include(<sys/mman.h>)
#include <sys/mman.h>
#endif

namespace {

// A large document buffer is filled front to back once: on large pages it takes
// a small fraction of the page faults, which otherwise cost as much as decoding.
void preferLargePages(void *data, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t Large = std::uintptr_t(2) << 20;
    if (bytes < 2 * Large)
        return;
    const std::uintptr_t begin =
        (reinterpret_cast<std::uintptr_t>(data) + Large - 1) & ~(Large - 1);
    const std::uintptr_t end = (reinterpret_cast<std::uintptr_t>(data) + bytes) & ~(Large - 1);
    if (end > begin)
        madvise(reinterpret_cast<void *>(begin), end - begin, MADV_HUGEPAGE); // a hint only
#else
    (void)data;
    (void)bytes;
#endif
}

} // namespace

TextBuffer::~TextBuffer()
{
    std::free(m_data);
}

void TextBuffer::reserve(std::size_t capacity)
{
    const std::size_t size = this->size();
    if (capacity <= size + std::size_t(m_end - m_next))
        return;
    // A generous estimate may be refused; growing on demand still works then.
    if (void *p = std::realloc(m_data, capacity * sizeof(char16_t))) {
        m_data = static_cast<char16_t *>(p);
        m_next = m_data + size;
        m_end = m_data + capacity;
        preferLargePages(m_data, capacity * sizeof(char16_t));
    }
}

void TextBuffer::refill(std::size_t count)
{
    const std::size_t size = this->size();
    const std::size_t capacity = std::size_t(m_end - m_data);
    if (count > std::numeric_limits<std::size_t>::max() / 4 - size)
        throw std::bad_alloc();
    const std::size_t wanted = std::max(size + count, capacity + capacity / 2 + 1024);
    void *p = std::realloc(m_data, wanted * sizeof(char16_t));
    if (!p)
        throw std::bad_alloc();
    m_data = static_cast<char16_t *>(p);
    m_next = m_data + size;
    m_end = m_data + wanted;
    preferLargePages(m_data, wanted * sizeof(char16_t));
}

namespace {

using Decoder = DecodeResult (*)(std::span<const std::uint8_t>, char16_t *, bool);

bool isLineBreak(LineEnd end)
{
    return end == LineEnd::Lf || end == LineEnd::CrLf || end == LineEnd::Cr;
}

// Counts the lines as they end and remembers the first line-break style.
struct LineTally
{
    ReadOutcome outcome;
    LineEnd lastEnd = LineEnd::None;

    // A line starts: joined to the one before by LF.
    void startLine(TextSink &out)
    {
        if (outcome.lines++ > 0)
            out.append(u'\n');
    }
    void endLine(LineEnd end)
    {
        lastEnd = end;
        if (outcome.firstBreak == LineEnd::None && isLineBreak(end))
            outcome.firstBreak = end;
    }
    // The stream ended with nothing after the last line's end: a line break
    // there is kept as an empty last line. A zero or SUB code that ends the file
    // is no line break of it (41 00, one UTF-16 unit read as bytes, stays "A").
    void finish(TextSink &out)
    {
        if (outcome.lines > 0 && isLineBreak(lastEnd))
            startLine(out);
    }
};

ReadOutcome readByteLines(ByteStream &stream, Decoder decode, int limit, TextSink &out)
{
    // One raw-line buffer for the whole file; a character cut off at the end of
    // a piece is moved to its start and completed by the next read.
    auto raw = std::make_unique<std::uint8_t[]>(std::size_t(limit) + 1);
    LineTally tally;
    int carried = 0;
    bool continuing = false;
    for (;;) {
        const LinePiece piece = ReadByteLine(stream, raw.get() + carried, limit - carried);
        const int total = carried + piece.length;
        if (!continuing) {
            if (total == 0 && piece.end == LineEnd::None) {
                tally.finish(out);
                break;
            }
            tally.startLine(out);
        }
        char16_t *target = out.room(std::size_t(total));
        const DecodeResult r = decode(std::span<const std::uint8_t>(raw.get(), std::size_t(total)),
                                      target, !piece.more);
        out.commit(std::size_t(r.units));
        tally.outcome.unreadable += std::uint64_t(r.unmapped);
        tally.outcome.extension = tally.outcome.extension || r.extension;
        carried = total - r.used;
        if (carried > 0)
            std::memmove(raw.get(), raw.get() + r.used, std::size_t(carried));
        continuing = piece.more;
        if (!continuing) {
            tally.endLine(piece.end);
            if (piece.end == LineEnd::None)
                break; // the end of the stream ended this line
        }
    }
    return tally.outcome;
}

// The least room a UTF-16 piece is read into.
constexpr int MinUtf16Piece = 4096;

ReadOutcome readUtf16Lines(ByteStream &stream, bool bigEndian, int limit, TextSink &out)
{
    LineTally tally;
    bool continuing = false;
    for (;;) {
        // Units go straight into the document buffer; they are stored as read. A
        // piece takes the room the sink has (a long line comes in several pieces),
        // so that a sink of blocks is filled, not given a block a line.
        char16_t *target = out.room(std::size_t(std::min(limit, MinUtf16Piece)) + 2);
        const int pieceLimit = int(std::min<std::size_t>(std::size_t(limit), out.roomLeft() - 2));
        if (!continuing && tally.outcome.lines > 0)
            ++target; // room for the line feed that joins this line to the last
        const LinePiece piece = ReadUtf16Line(stream, target, pieceLimit, bigEndian);
        tally.outcome.unreadable += piece.lostByte;
        if (!continuing) {
            if (piece.length == 0 && piece.end == LineEnd::None) {
                tally.finish(out);
                break;
            }
            tally.startLine(out); // writes just before target
        }
        out.commit(std::size_t(piece.length));
        continuing = piece.more;
        if (!continuing) {
            tally.endLine(piece.end);
            if (piece.end == LineEnd::None)
                break;
        }
    }
    return tally.outcome;
}

} // namespace

ReadOutcome readTextStream(ByteStream &stream, FileEncoding encoding, TextSink &out, int pieceLimit)
{
    // A piece must hold a cut-off character (up to three bytes) and one more byte.
    const int limit = std::clamp(pieceLimit, 4, MaxLineLength);
    const int byteOrder = SkipBom(stream);
    // Each byte gives at most one unit (UTF-16: two bytes one unit), so the
    // file's size bounds the text; untouched reserve costs no memory.
    const std::uint64_t size = stream.sizeHint();
    const bool utf16 = encoding == UTF16 || encoding == UTF16LE || encoding == UTF16BE;
    const std::uint64_t units = utf16 ? size / 2 : size;
    if (units < std::numeric_limits<std::size_t>::max() / 4)
        out.expect(std::size_t(units) + std::size_t(limit) + 16);
    ReadOutcome outcome;
    switch (encoding) {
    case SJIS:
        outcome = readByteLines(stream, &DecodeSjis, limit, out);
        break;
    case EUC:
        outcome = readByteLines(stream, &DecodeEuc, limit, out);
        break;
    case EUCKR:
    case CP949:
        outcome = readByteLines(stream, &decodeCp949, limit, out);
        break;
    case UTF16:
        outcome = readUtf16Lines(stream, byteOrder != 0, limit, out);
        break;
    case UTF16LE:
        outcome = readUtf16Lines(stream, false, limit, out);
        break;
    case UTF16BE:
        outcome = readUtf16Lines(stream, true, limit, out);
        break;
    case UTF8:
        outcome = readByteLines(stream, &DecodeUtf8, limit, out);
        break;
    }
    out.flush();
    outcome.failed = stream.failed();
    return outcome;
}
