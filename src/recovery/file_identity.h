// What identifies the file a document was read from or written to: device,
// inode, size and modification time (a link followed to its target), and a hash
// of its bytes, so that a later look can tell whether another program changed it.
#pragma once

#include <QByteArray>
#include <QString>

struct FileIdentity
{
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 mtimeNs = 0; // nanoseconds since the epoch

    // The file at `path` now (a link followed); `exists` false when there is none.
    static FileIdentity of(const QString &path);
    // Size, modification time and inode (with its device) all the same.
    bool sameAs(const FileIdentity &other) const;
    bool operator==(const FileIdentity &) const = default;
};

// A hash of the file's bytes; empty when it cannot be read whole.
QByteArray fileContentHash(const QString &path);
