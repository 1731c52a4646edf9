#include "export/document_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The bytes gathered before a write to the file.
constexpr std::size_t WriteSize = std::size_t(1) << 20;

} // namespace

DocumentWriter::DocumentWriter(const QString &path, OutputFormat format)
    : m_file(path), m_format(format)
{
}

DocumentWriter::~DocumentWriter() = default;

bool DocumentWriter::open()
{
    // The file a link names (stat follows links, as the save file does).
    struct stat st;
    const QByteArray name = QFile::encodeName(m_file.fileName());
    m_existed = ::stat(name.constData(), &st) == 0 && S_ISREG(st.st_mode);
    if (m_existed) {
        m_owner = st.st_uid;
        m_group = st.st_gid;
    }
    if (m_existed && st.st_nlink > 1) {
        // Replacing one name would split it from the others: written in place,
        // cut to its new length at the end.
        const int fd = ::open(name.constData(), O_WRONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        if (!m_inPlace.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
            ::close(fd);
            return false;
        }
        return true;
    }
    // Raw bytes for every format: the exports' CR LF pairs are in the encoded
    // form already. The save file takes over a link's target and the permission bits.
    m_file.setDirectWriteFallback(true);
    return m_file.open(QIODevice::WriteOnly);
}

bool DocumentWriter::commit()
{
    if (m_inPlace.isOpen()) {
        const bool done = m_inPlace.flush() && m_inPlace.resize(m_inPlace.pos()) &&
                          ::fsync(m_inPlace.handle()) == 0;
        m_inPlace.close();
        return done;
    }
    if (m_existed && m_file.handle() >= 0) {
        // The new file is this process's; give it the old owner and group where
        // allowed (a user may still pass the group to one of their own groups).
        if (::fchown(m_file.handle(), m_owner, m_group) != 0)
            (void)!::fchown(m_file.handle(), uid_t(-1), m_group);
    }
    return m_file.commit();
}

bool DocumentWriter::put(const char *bytes, qint64 size)
{
    QFileDevice &file = out();
    while (size > 0) {
        const qint64 written = file.write(bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool DocumentWriter::writeAndCommit(QStringView text, LineBreakStyle lineBreak)
{
    return writeAndCommit([text](const PieceVisitor &visit) { visit(text); }, lineBreak);
}

bool DocumentWriter::writeAndCommit(const TextPieces &pieces, LineBreakStyle lineBreak)
{
    if (!out().isOpen())
        return false;
    if (!m_buffer)
        m_buffer = std::make_unique<char[]>(WriteSize + StepBufferSize);
    char *const buffer = m_buffer.get();

    const std::string_view head = formatHead(m_format);
    if (!put(head.data(), qint64(head.size())))
        return false;

    // Steps gather in the buffer, which is written once it holds WriteSize bytes:
    // few writes, and room for one more step behind them.
    StepState state;
    std::size_t filled = 0;
    bool ok = true;
    // Encodes src[0, n); returns how many units at its end were held back (a high
    // surrogate whose low half may start the next piece).
    const auto feed = [&](const char16_t *src, std::size_t n, bool more) -> std::size_t {
        std::size_t i = 0;
        while (ok && i < n) {
            const StepResult r =
                continueStep(m_format, state, buffer + filled, src + i, n - i, more, lineBreak);
            filled += r.bytes;
            i += r.consumed;
            if (r.full) {
                state = StepState();
                if (filled >= WriteSize) {
                    ok = put(buffer, qint64(filled));
                    filled = 0;
                }
            } else if (i < n) {
                return n - i;
            }
        }
        return 0;
    };
    char16_t carry = 0;
    bool carrying = false;
    pieces([&](QStringView piece) {
        const auto *units = reinterpret_cast<const char16_t *>(piece.utf16());
        const std::size_t n = std::size_t(piece.size());
        if (n == 0)
            return ok;
        std::size_t start = 0;
        if (carrying) {
            // The held unit and this piece's first one, side by side.
            const char16_t joined[2] = {carry, units[0]};
            carrying = false;
            start = 1 - feed(joined, 2, true);
        }
        if (feed(units + start, n - start, true) > 0) {
            carry = units[n - 1];
            carrying = true;
        }
        return ok;
    });
    if (carrying)
        feed(&carry, 1, false);
    if (ok && filled > 0)
        ok = put(buffer, qint64(filled));
    if (!ok)
        return false;

    const std::string_view tail = formatTail(m_format);
    if (!put(tail.data(), qint64(tail.size())))
        return false;
    return commit();
}

WriteResult writeDocument(const QString &path, OutputFormat format, QStringView text,
                          LineBreakStyle lineBreak)
{
    DocumentWriter writer(path, format);
    if (!writer.open())
        return WriteResult::OpenFailed;
    return writer.writeAndCommit(text, lineBreak) ? WriteResult::Written : WriteResult::WriteFailed;
}

WriteResult writeDocument(const QString &path, OutputFormat format, const TextPieces &pieces,
                          LineBreakStyle lineBreak)
{
    DocumentWriter writer(path, format);
    if (!writer.open())
        return WriteResult::OpenFailed;
    return writer.writeAndCommit(pieces, lineBreak) ? WriteResult::Written
                                                    : WriteResult::WriteFailed;
}
