// The recovery journal's bytes. A journal is a magic line followed by records;
// each record is framed as
//   u32 payload length | u32 CRC-32C of type and payload | u8 type | payload
// (little-endian), so a record cut short or damaged by a crash fails its check
// and it and everything after it are dropped, while every record before it is
// kept. The first record is the head (which file, its identity as read, how it
// was decoded); then edits (position, units removed, units added) and
// snapshots (the whole text, where a journal starts afresh).
#pragma once

#include "document/file_identity.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>

// CRC-32C (Castagnoli) of `size` bytes, continuing from `crc` (0 to start).
std::uint32_t crc32c(const void *data, std::size_t size, std::uint32_t crc = 0);

struct JournalHead
{
    QString path;          // absolute path of the document's file; empty for a new document
    FileIdentity identity; // the file the text was read from (exists() false: none)
    QByteArray hash;       // of that file's bytes as read; empty when unknown
    qint32 encoding = 0;   // how the file was decoded (the codec's FileEncoding)
    qint32 bomKind = 0;
    qint32 lineBreak = 0;  // the line-break style its saves write
    qint64 baseLength = 0; // units of the text as read, before the first edit
    qint64 createdMs = 0;  // when the journal began
    bool operator==(const JournalHead &) const = default;
};

enum class JournalRecord : std::uint8_t { Head = 'H', Edit = 'E', Snapshot = 'S' };

// The first bytes of every journal.
QByteArrayView journalMagic();

// Serialised records, appended to `out`.
void appendHeadRecord(QByteArray &out, const JournalHead &head);
void appendEditRecord(QByteArray &out, qint64 pos, qint64 removed, QStringView added);
void appendSnapshotRecord(QByteArray &out, QStringView text);
// Bytes an edit record of `added` units takes.
qint64 editRecordSize(qint64 added);

// Receives the text a journal describes, record by record.
class JournalSink
{
public:
    virtual ~JournalSink();
    virtual void snapshot(QStringView text) = 0;
    virtual void edit(qint64 pos, qint64 removed, QStringView added) = 0;
};

// What a journal holds. Records are checked in order; the first one that is cut
// short, fails its checksum or does not fit the text (an edit beyond its end)
// ends the journal there.
struct JournalScan
{
    bool headOk = false;
    JournalHead head;
    qint64 edits = 0;
    qint64 snapshots = 0;
    qint64 length = 0;     // units of the text after the last kept record
    qint64 validBytes = 0; // bytes up to the end of the last kept record
    bool torn = false;     // bytes after it were dropped
    bool hasRecords() const { return edits + snapshots > 0; }
};

// Whether the file the head names is still the one its text was read from:
// both absent, or the same bytes (size and hash). A head without a hash never
// matches a file.
bool journalMatchesFile(const JournalHead &head);

// Reads `data`, handing every kept edit and snapshot to `sink` when given.
JournalScan scanJournal(QByteArrayView data, JournalSink *sink = nullptr);
// Reads only the head (and whether any record follows it) of the journal file.
JournalScan scanJournalFile(const QString &path, JournalSink *sink = nullptr);
