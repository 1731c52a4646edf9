// The Hanja choices the user made, so that the candidate chosen for a reading is
// offered first the next time: reading -> the Hanja chosen last, the most recent
// readings kept, stored in the state folder and written atomically.
#pragma once

#include <QHash>
#include <QString>
#include <QStringView>

class HanjaHistory
{
public:
    static constexpr qsizetype Limit = 10000; // readings kept, the most recent

    // Reads the file at `path` (any bytes: lines "reading<TAB>hanja", later lines
    // newer); a missing file is an empty history. Later saves go to `path`.
    void load(const QString &path);
    // Remembers `hanja` as the choice for `reading`.
    void record(QStringView reading, QStringView hanja);
    // The Hanja chosen last for `reading`, or an empty string.
    QString preferred(QStringView reading) const;
    qsizetype size() const { return m_entries.size(); }
    // Forgets every choice.
    void clear();
    // Writes the history (the most recent Limit readings) atomically, making the
    // folder when missing; a history emptied by clear() removes the file.
    bool save() const;
    // The same, on a worker thread in the order asked (the file is synced to disk,
    // which may take a while): a choice does not wait for the disk.
    void saveLater() const;
    QString path() const { return m_path; }

private:
    struct Entry
    {
        QString hanja;
        quint64 stamp;
    };
    void prune();
    QByteArray serialized() const;

    QString m_path;
    QHash<QString, Entry> m_entries;
    quint64 m_clock = 0;
};

// Waits until every saveLater() asked for so far is done.
void waitForHanjaHistorySaved();

// "tavriledit/hanja-history" in the user's state folder (document/state_folder.h).
QString hanjaHistoryPath();
