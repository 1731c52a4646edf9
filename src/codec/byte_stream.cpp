#include "codec/byte_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Large enough that a file is read in few system calls, small enough to stay in cache.
constexpr std::size_t FileChunk = 256 * 1024;
constexpr std::size_t MemoryChunk = 64 * 1024;

} // namespace

ByteStream::ByteStream() = default;

ByteStream::~ByteStream()
{
    close();
}

bool ByteStream::openFile(const char *nativePath)
{
    close();
    int fd;
    do {
        fd = ::open(nativePath, O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_sizeHint = S_ISREG(st.st_mode) && st.st_size > 0 ? std::uint64_t(st.st_size) : 0;
    m_buffer = std::make_unique<std::uint8_t[]>(PutBackRoom + FileChunk);
    m_pos = m_end = m_buffer.get() + PutBackRoom;
    m_atEnd = false;
    return true;
}

void ByteStream::openMemory(std::span<const std::uint8_t> bytes)
{
    close();
    // A non-null marker even for an empty block, so that the stream counts as open.
    static const std::uint8_t empty = 0;
    m_memory = bytes.empty() ? &empty : bytes.data();
    m_memorySize = bytes.size();
    m_memoryPos = 0;
    m_sizeHint = bytes.size();
    m_buffer = std::make_unique<std::uint8_t[]>(
        PutBackRoom + std::max<std::size_t>(1, std::min(MemoryChunk, bytes.size())));
    m_pos = m_end = m_buffer.get() + PutBackRoom;
    m_atEnd = false;
}

void ByteStream::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_memory = nullptr;
    m_memorySize = m_memoryPos = 0;
    m_sizeHint = 0;
    m_buffer.reset();
    m_pos = m_end = nullptr;
    m_atEnd = false;
    m_failed = false;
}

bool ByteStream::fill()
{
    if (!m_buffer) {
        m_atEnd = true;
        return false;
    }
    std::uint8_t *base = m_buffer.get() + PutBackRoom;
    m_pos = m_end = base;
    std::size_t got = 0;
    if (m_memory) {
        got = std::min(MemoryChunk, m_memorySize - m_memoryPos);
        if (got > 0)
            std::memcpy(base, m_memory + m_memoryPos, got);
        m_memoryPos += got;
    } else if (m_fd >= 0) {
        ssize_t n;
        do {
            n = ::read(m_fd, base, FileChunk);
        } while (n < 0 && errno == EINTR);
        // A read error ends the data as the end of the file would, and is kept.
        got = n > 0 ? std::size_t(n) : 0;
        if (n < 0)
            m_failed = true;
    }
    m_end = base + got;
    if (got == 0) {
        m_atEnd = true;
        return false;
    }
    return true;
}

std::size_t ByteStream::read(std::uint8_t *out, std::size_t count)
{
    std::size_t done = 0;
    while (done < count) {
        if (m_pos == m_end && !fill())
            break;
        const std::size_t n = std::min(count - done, available());
        std::memcpy(out + done, m_pos, n);
        m_pos += n;
        done += n;
    }
    return done;
}
