#include "export/document_writer.h"

DocumentWriter::DocumentWriter(const QString &path, OutputFormat format)
    : m_file(path), m_format(format)
{
}

DocumentWriter::~DocumentWriter() = default;

bool DocumentWriter::open()
{
    // Raw bytes for every format: the exports' CR LF pairs are in the encoded
    // form already.
    m_file.setDirectWriteFallback(true);
    return m_file.open(QIODevice::WriteOnly);
}

bool DocumentWriter::put(const char *bytes, qint64 size)
{
    while (size > 0) {
        const qint64 written = m_file.write(bytes, size);
        if (written <= 0)
            return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool DocumentWriter::writeAndCommit(QStringView text, LineBreakStyle lineBreak)
{
    if (!m_file.isOpen())
        return false;
    if (!m_buffer)
        m_buffer = std::make_unique<char[]>(StepBufferSize);
    const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
    const std::size_t size = std::size_t(text.size());

    const std::string_view head = formatHead(m_format);
    if (!put(head.data(), qint64(head.size())))
        return false;
    for (std::size_t offset = 0; offset < size;) {
        const StepResult step =
            encodeStep(m_format, m_buffer.get(), units + offset, size - offset, lineBreak);
        if (!put(m_buffer.get(), qint64(step.bytes)))
            return false;
        offset += step.consumed;
    }
    const std::string_view tail = formatTail(m_format);
    if (!put(tail.data(), qint64(tail.size())))
        return false;
    return m_file.commit();
}

WriteResult writeDocument(const QString &path, OutputFormat format, QStringView text,
                          LineBreakStyle lineBreak)
{
    DocumentWriter writer(path, format);
    if (!writer.open())
        return WriteResult::OpenFailed;
    return writer.writeAndCommit(text, lineBreak) ? WriteResult::Written : WriteResult::WriteFailed;
}
