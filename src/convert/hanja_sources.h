// Where Hanja candidates come from: the system dictionary, the user's own
// dictionary (read again when it changed), the symbols offered for a consonant
// jamo, and the learned choices.
#pragma once

#include "convert/hanja_dictionary.h"
#include "convert/hanja_history.h"

#include <QDateTime>

#include <memory>

// "tavriledit/hanja-user.txt" in the user's configuration folder.
QString userHanjaDictionaryPath();
// What a new user dictionary starts with: a comment line explaining the format.
QByteArray userHanjaDictionaryTemplate();

// A dictionary file read again whenever its size or modification time changed
// (a missing file is an empty dictionary).
class ReloadingHanjaDictionary
{
public:
    const HanjaDictionary &get(const QString &path);

private:
    HanjaDictionary m_dictionary;
    QString m_path;
    QDateTime m_modified;
    qint64 m_size = -1;
};

// The dictionaries the Hangul to Hanja commands read and the choices they learn,
// each loaded on first use.
// The main window owns one set, shared by its editor's and its find dialog's
// commands, so that a dictionary is read once.
class HanjaDictionaries
{
public:
    explicit HanjaDictionaries(const QString &path = defaultHanjaDictionaryPath());

    // Where the system dictionary is read from.
    QString path() const { return m_path; }
    // Reads the system dictionary from `path` from now on, forgetting what was
    // loaded (tests point it at a file of their own).
    void setPath(const QString &path);

    // The system dictionary: a load that failed is tried again on the next use,
    // so installing the file later needs no restart.
    const HanjaDictionary &system();
    // The symbols table beside the system dictionary ("mssymbol.txt"), in the same
    // format: a consonant jamo, a symbol, a meaning; a failed load is tried again
    // on the next use.
    QString symbolTablePath() const;
    const HanjaDictionary &symbols();
    // The user's own dictionary at userHanjaDictionaryPath().
    const HanjaDictionary &user();
    // The learned choices at hanjaHistoryPath(), read on first use (and again when
    // that path changes, after any save still being written).
    HanjaHistory &history();

private:
    QString m_path;
    std::unique_ptr<HanjaDictionary> m_system; // made on first use
    HanjaDictionary m_symbols;
    QString m_symbolsFrom; // the path m_symbols was read from
    ReloadingHanjaDictionary m_user;
    std::unique_ptr<HanjaHistory> m_history; // made on first use
};
