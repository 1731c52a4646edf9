// The document: the one owner of the editor's text (its TextStore) and of what is
// known about the file it came from: the file name, the file's identity as last
// read or written, the encoding it was read with and the codes that decoding
// could not read, the line-break style its saves write, and the modified state,
// which follows from the changes of the text and is never set by hand.
#pragma once

#include "document/file_encoding.h"
#include "document/file_identity.h"
#include "document/line_break_style.h"
#include "document/text_store.h"

#include <QObject>
#include <QString>

#include <cstdint>

// How the document's file was decoded; a new document is UTF-8 without a mark.
struct DocumentEncoding
{
    FileEncoding encoding = UTF8;
    BomKind bom = NoBom;
    bool operator==(const DocumentEncoding &) const = default;
};

class Document : public QObject
{
    Q_OBJECT
public:
    // The program's document also answers the program-wide reads
    // `currentFileName` and `documentModified` (see below); the main window owns
    // it. Any other document (a test's, a benchmark's) keeps its state to itself.
    enum Scope { Local, ProgramWide };
    explicit Document(Scope scope = Local, QObject *parent = nullptr);
    ~Document() override;

    TextStore &store() { return m_store; }
    const TextStore &store() const { return m_store; }

    bool isModified() const { return m_modified; }
    // The file the open command read or is to create; empty for a new document.
    QString fileName() const { return m_fileName; }
    FileIdentity fileIdentity() const { return m_identity; }
    DocumentEncoding encoding() const { return m_encoding; }
    LineBreakStyle lineBreak() const { return m_lineBreak; }
    // Codes of the file that had no character in the decoding used.
    std::uint64_t unreadableCount() const { return m_unreadable; }

    // While one lives, changes of the text are a file's text arriving, not edits.
    class Loading
    {
    public:
        explicit Loading(Document &document) : m_document(document) { ++m_document.m_loading; }
        ~Loading() { --m_document.m_loading; }
        Loading(const Loading &) = delete;
        Loading &operator=(const Loading &) = delete;

    private:
        Document &m_document;
    };

    // The open command names the file it reads (or will create); empty: none.
    void setFileName(const QString &path);
    // The store now holds the text read from `file` (or nothing, after a failed
    // read: `file` empty): unmodified, its breaks to be written in `style`, the
    // file's identity taken now. `unreadable` codes of the file had no character
    // in `encoding`.
    void setLoaded(LineBreakStyle style, const QString &file = QString(),
                   std::uint64_t unreadable = 0, DocumentEncoding encoding = {});

    // Writing the text to `path` would replace codes it could not read: `path` is
    // the loaded file and it still holds them.
    bool replacesUnreadable(const QString &path) const;
    // `path` now holds what was written from the text (a save or an export); if it
    // is the document's file, nothing of the old contents is left to lose and its
    // new identity is remembered.
    void setWritten(const QString &path);
    // `path` now holds the text as it stands in the document's own format: the
    // document is no longer modified.
    void setSaved(const QString &path);
    // The user let the changes go (leaving without saving): nothing is left to offer.
    void abandonChanges();
    // A key was typed into the text: that is an edit of the document even when
    // it left the text as it was (a decide key that only ends a syllable).
    void keyTyped();

signals:
    // Every change of the text: at `pos`, `removed` units went and `added` came.
    void textChanged(qsizetype pos, qsizetype removed, qsizetype added);
    // The modified state, the file name, identity, encoding, line-break style or
    // unreadable count changed.
    void stateChanged();

private:
    void onStoreChanged(qsizetype pos, qsizetype removed, qsizetype added);
    void setModified(bool on);
    void announce();

    TextStore m_store;
    const Scope m_scope;
    int m_loading = 0;
    bool m_modified = false;
    QString m_fileName;
    FileIdentity m_identity;
    DocumentEncoding m_encoding;
    LineBreakStyle m_lineBreak = LineBreakStyle::CrLf;
    std::uint64_t m_unreadable = 0;
};

// Program-wide reads of the program's document (Document::ProgramWide): its file
// name and whether it holds unsaved changes. Only that document writes them;
// empty and false while there is none.
extern const QString &currentFileName;
extern const bool &documentModified;
