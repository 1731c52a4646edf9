// What identifies the file a document was read from or written to: device,
// inode, size and modification time (a link followed to its target), and a hash
// of its bytes, so that a later look can tell whether another program changed it.
#pragma once

#include <QByteArray>
#include <QString>

struct FileIdentity
{
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = -1;         // -1: no file was seen
    qint64 modifiedNsecs = 0; // modification time, nanoseconds since the epoch

    bool exists() const { return size >= 0; }
    bool operator==(const FileIdentity &) const = default;
    // The file at `path` now (links followed); no file: exists() is false.
    static FileIdentity of(const QString &path);
};

// A hash of the file's bytes; empty when it cannot be read whole.
QByteArray fileContentHash(const QString &path);

// One file under two spellings of its path (a relative path, a link).
bool isSameFile(const QString &a, const QString &b);

// Writing to `path` would replace what another program put there: the file
// exists and is not the one `known` describes (size, modification time, inode).
bool changedOnDisk(const QString &path, const FileIdentity &known);
