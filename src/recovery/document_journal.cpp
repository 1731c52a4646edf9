#include "recovery/document_journal.h"

#include "document/document.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

DocumentJournal::DocumentJournal(Document &document, QString folder, QObject *parent)
    : QObject(parent), m_document(document), m_folder(std::move(folder))
{
    connect(&m_document.store(), &TextStore::changed, this, &DocumentJournal::changed);
    connect(&m_document, &Document::stateChanged, this, &DocumentJournal::stateChanged);
}

DocumentJournal::~DocumentJournal()
{
    keep();
}

JournalHead journalHeadOf(const Document &document)
{
    JournalHead head;
    if (!document.fileName().isEmpty())
        head.path = QFileInfo(document.fileName()).absoluteFilePath();
    head.identity = document.fileIdentity();
    head.encoding = document.encoding().encoding;
    head.bomKind = document.encoding().bom;
    head.lineBreak = int(document.lineBreak());
    return head;
}

JournalHead DocumentJournal::head() const
{
    JournalHead head = journalHeadOf(m_document);
    head.baseLength = m_baseIsFile ? m_baseLength : 0;
    return head;
}

void DocumentJournal::beginLoad()
{
    m_loading = true;
}

void DocumentJournal::setBase(bool textIsFile)
{
    discard();
    m_loading = false;
    m_baseLength = m_document.store().length();
    m_baseIsFile = textIsFile;
}

void DocumentJournal::startWithSnapshot()
{
    discard();
    m_startPending = true;
    service();
}

void DocumentJournal::discard()
{
    if (m_journal)
        m_journal->discard();
    m_journal.reset();
    m_baseIsFile = false; // the text is no longer the file as read
    m_startPending = m_restartPending = false;
}

void DocumentJournal::keep()
{
    service();
    if (m_journal)
        m_journal->keep();
    m_journal.reset();
}

bool DocumentJournal::flush()
{
    service();
    return !m_journal || m_journal->flush();
}

void DocumentJournal::setEnabled(bool on)
{
    if (!on)
        discard();
    m_enabled = on;
}

void DocumentJournal::stateChanged()
{
    // Saved, let go or replaced: nothing of this text is left to keep.
    if (!m_loading && !m_document.isModified() && (m_journal || m_startPending))
        discard();
}

void DocumentJournal::changed(qsizetype pos, qsizetype removed, qsizetype added)
{
    if (m_loading || !m_enabled || m_startPending)
        return; // a pending snapshot will hold this change
    if (!m_journal) {
        if (!m_baseIsFile) {
            m_startPending = true;
            schedule();
            return;
        }
        m_journal = RecoveryJournal::start(m_folder, head(), true);
        if (!m_journal)
            return; // no journal can be kept here: editing goes on without one
    }
    m_journal->appendEdit(pos, removed, m_document.store().mid(pos, added));
    if (!m_restartPending && m_journal->wantsRestart(m_document.store().length(), m_slack)) {
        m_restartPending = true;
        schedule();
    }
}

void DocumentJournal::schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        service();
    });
}

void DocumentJournal::service()
{
    if (m_startPending) {
        m_startPending = false;
        m_restartPending = false;
        // The file is hashed too: if it is still as last read or written, the
        // kept text is offered as this file's.
        m_journal = RecoveryJournal::start(m_folder, head(), true, m_document.store().text());
    } else if (m_restartPending) {
        m_restartPending = false;
        if (m_journal)
            m_journal->restart(m_document.store().text());
    }
}

QString replayJournal(const QString &file, QStringView base)
{
    TextStore store;
    store.setUndoEnabled(false);
    store.setText(base);
    StoreReplay replay(store);
    scanJournalFile(file, &replay);
    return store.text();
}

void StoreReplay::snapshot(QStringView text)
{
    m_store.setText(text);
}

void StoreReplay::edit(qint64 pos, qint64 removed, QStringView added)
{
    m_store.replace(qsizetype(pos), qsizetype(removed), added);
}
