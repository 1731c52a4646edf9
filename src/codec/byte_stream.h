// A read-only byte stream over a file or a block of memory, with a few bytes of
// put-back: what the byte-order mark test and the line readers need.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

class ByteStream
{
public:
    ByteStream();
    ~ByteStream();
    ByteStream(const ByteStream &) = delete;
    ByteStream &operator=(const ByteStream &) = delete;

    // Opens an existing regular file (a native, already encoded path) for reading.
    // False when it cannot be opened; a directory cannot.
    bool openFile(const char *nativePath);
    // Reads from `bytes`, which must outlive the stream.
    void openMemory(std::span<const std::uint8_t> bytes);
    void close();
    bool isOpen() const { return m_fd >= 0 || m_memory; }
    // Size of the file or memory block when known in advance, else 0.
    std::uint64_t sizeHint() const { return m_sizeHint; }

    // The next byte, or -1 when there is none; a failed read then marks the end.
    int get()
    {
        if (m_pos == m_end && !fill())
            return -1;
        return *m_pos++;
    }
    // Puts back a byte just read; it is read again next. Clears the end mark.
    // At most PutBackRoom bytes may be put back in a row.
    void unget(std::uint8_t byte)
    {
        *--m_pos = byte;
        m_atEnd = false;
    }
    // A read found the end of the data or failed.
    bool atEnd() const { return m_atEnd; }
    // A read of the file failed: the data ended early, not at the file's end.
    bool failed() const { return m_failed; }

    // Up to `count` bytes into `out`; returns how many were read.
    std::size_t read(std::uint8_t *out, std::size_t count);

    // Direct access to the buffered bytes for scanning loops: the bytes between
    // data() and data() + available(); advance() consumes them. refill() loads
    // more once available() is 0 and returns false at the end.
    const std::uint8_t *data() const { return m_pos; }
    std::size_t available() const { return std::size_t(m_end - m_pos); }
    void advance(std::size_t count) { m_pos += count; }
    bool refill() { return fill(); }

    static constexpr std::size_t PutBackRoom = 16;

private:
    bool fill();

    int m_fd = -1;
    const std::uint8_t *m_memory = nullptr;
    std::size_t m_memorySize = 0;
    std::size_t m_memoryPos = 0;
    std::uint64_t m_sizeHint = 0;
    std::unique_ptr<std::uint8_t[]> m_buffer;
    std::uint8_t *m_pos = nullptr;
    std::uint8_t *m_end = nullptr;
    bool m_atEnd = false;
    bool m_failed = false;
};
