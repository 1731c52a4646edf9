#include "document/file_identity.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

FileIdentity FileIdentity::of(const QString &path)
{
    FileIdentity id;
    struct stat st;
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return id;
    id.device = quint64(st.st_dev);
    id.inode = quint64(st.st_ino);
    id.size = qint64(st.st_size);
    id.modifiedNsecs = qint64(st.st_mtim.tv_sec) * 1000000000 + qint64(st.st_mtim.tv_nsec);
    return id;
}

bool isSameFile(const QString &a, const QString &b)
{
    if (a == b)
        return !a.isEmpty();
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath()
                               : canonical == QFileInfo(b).canonicalFilePath();
}

bool changedOnDisk(const QString &path, const FileIdentity &known)
{
    const FileIdentity now = FileIdentity::of(path);
    return now.exists() && !(now == known);
}

QByteArray fileContentHash(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (!hash.addData(&file) || !file.atEnd())
        return {};
    return hash.result();
}
