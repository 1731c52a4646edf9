#include "recovery/document_journal.h"

#include "document/text_store.h"

#include <QTimer>

DocumentJournal::DocumentJournal(TextStore &store, QString folder, QObject *parent)
    : QObject(parent), m_store(store), m_folder(std::move(folder))
{
    connect(&m_store, &TextStore::changed, this, &DocumentJournal::changed);
}

DocumentJournal::~DocumentJournal()
{
    keep();
}

void DocumentJournal::beginLoad()
{
    m_loading = true;
}

void DocumentJournal::setBase(JournalHead head, bool textIsFile)
{
    discard();
    m_loading = false;
    m_head = std::move(head);
    m_head.hash.clear(); // hashed by the journal's thread when it starts
    m_head.baseLength = m_store.length();
    m_baseIsFile = textIsFile;
}

void DocumentJournal::startWithSnapshot()
{
    discard();
    m_baseIsFile = false;
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

void DocumentJournal::changed(qsizetype pos, qsizetype removed, qsizetype added)
{
    if (m_loading || m_startPending)
        return; // a pending snapshot will hold this change
    if (!m_journal) {
        if (!m_baseIsFile) {
            m_startPending = true;
            schedule();
            return;
        }
        m_journal = RecoveryJournal::start(m_folder, m_head, true);
        if (!m_journal)
            return; // no journal can be kept here: editing goes on without one
    }
    m_journal->appendEdit(pos, removed, m_store.mid(pos, added));
    if (!m_restartPending && m_journal->wantsRestart(m_store.length(), m_slack)) {
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
        m_journal = RecoveryJournal::start(m_folder, m_head, false, m_store.text());
    } else if (m_restartPending) {
        m_restartPending = false;
        if (m_journal)
            m_journal->restart(m_store.text());
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
