// Where Hanja candidates come from besides the system dictionary: the user's own
// dictionary (read again when it changed), the symbols offered for a consonant
// jamo, and the learned choices.
#pragma once

#include "convert/hanja_dictionary.h"
#include "convert/hanja_history.h"

#include <QDateTime>

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

// The symbols table beside the system dictionary ("mssymbol.txt"), in the same
// format: a consonant jamo, a symbol, a meaning.
QString symbolTablePath();

// The program's sources, each made on first use: the user dictionary at
// userHanjaDictionaryPath(), the symbols (a failed load tried again on the next
// use), and the history at hanjaHistoryPath() (loaded again when that path changes).
const HanjaDictionary &programUserHanjaDictionary();
const HanjaDictionary &programSymbolTable();
HanjaHistory &programHanjaHistory();
