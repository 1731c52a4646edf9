// Writes a document to a file in one of the output formats, atomically: the
// bytes go to a temporary file beside the target, which replaces the target only
// when everything was written, so a failed write never damages the file there.
// What the file was stays: a symbolic link keeps pointing at the file it names
// (which gets the text), the permission bits, and the owner and group where the
// process may set them. A file with several hard links is written in place, so
// every name sees the new text.
#pragma once

#include "export/output_format.h"

#include <QFile>
#include <QSaveFile>
#include <QStringView>

#include <functional>
#include <memory>

// The document's text as consecutive pieces in order (the store's blocks, read
// in place): the source calls the visitor with each piece until it returns false.
using PieceVisitor = std::function<bool(QStringView piece)>;
using TextPieces = std::function<void(const PieceVisitor &visit)>;

class DocumentWriter
{
public:
    DocumentWriter(const QString &path, OutputFormat format);
    ~DocumentWriter(); // a writer not committed leaves the target as it was

    // Creates the temporary file; false when the target cannot be written
    // there. Where no file can be made beside the target (a folder the user may
    // not write) but the target itself is writable, it is written in place.
    bool open();
    // Writes the whole file: head, `text` (line breaks as LF, each written once
    // in `lineBreak` style for the UTF-8 save) in write steps through one fixed
    // buffer, tail. Then replaces the target. False on any failure to write or
    // rename.
    bool writeAndCommit(QStringView text, LineBreakStyle lineBreak = LineBreakStyle::CrLf);
    // The same over a text in pieces, encoded where they lie: a step may span
    // pieces and gives the bytes it gives over the whole text.
    bool writeAndCommit(const TextPieces &pieces, LineBreakStyle lineBreak = LineBreakStyle::CrLf);

    QString errorString() const { return out().errorString(); }

private:
    bool put(const char *bytes, qint64 size);
    bool commit();
    QFileDevice &out()
    {
        return m_inPlace.isOpen() ? static_cast<QFileDevice &>(m_inPlace) : m_file;
    }
    const QFileDevice &out() const
    {
        return m_inPlace.isOpen() ? static_cast<const QFileDevice &>(m_inPlace) : m_file;
    }

    QSaveFile m_file;
    QFile m_inPlace; // open instead of m_file for a file with several names
    bool m_existed = false;
    uint m_owner = 0;
    uint m_group = 0;
    OutputFormat m_format;
    std::unique_ptr<char[]> m_buffer;
};

// The outcome of a whole save.
enum class WriteResult { Written, OpenFailed, WriteFailed };

// Opens, writes and commits in one call.
WriteResult writeDocument(const QString &path, OutputFormat format, QStringView text,
                          LineBreakStyle lineBreak = LineBreakStyle::CrLf);
WriteResult writeDocument(const QString &path, OutputFormat format, const TextPieces &pieces,
                          LineBreakStyle lineBreak = LineBreakStyle::CrLf);
