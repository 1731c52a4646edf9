// The input method's choices that outlive a run: the direct mode's layout, the
// three-set layouts' reordering, and whether Hanja choices are learned. They are
// kept in "tavriledit.ini" beside "setteiedit.dat", which stays as it is.
#pragma once

#include <QByteArray>
#include <QString>

struct InputOptions
{
    QByteArray directLayout; // the input library's keyboard id; empty: the written two-set layout
    bool autoReorder = false;
    bool learnHanja = true;
};

// `options`, or the defaults when null. The main window's "IME" menu owns the
// program's one set of choices; the editor's and the find dialog's composers
// reach it through their ComposerState.
const InputOptions &inputOptionsOrDefaults(const InputOptions *options);

// "tavriledit.ini" in `folder` (which ends in a separator).
QString inputOptionsPath(const QString &folder);
// Reads the choices from `folder`; missing or unknown values keep the defaults,
// and a layout whose keyboard file is missing gives the written layout.
InputOptions readInputOptions(const QString &folder);
// Writes them; false when the file could not be written.
bool writeInputOptions(const QString &folder, const InputOptions &options);
// Writes them on a worker thread, in the order asked (the file is synced to disk,
// which may take a while): a choice made in a menu does not wait for the disk.
void writeInputOptionsLater(const QString &folder, const InputOptions &options);
// Waits until every write asked for so far is done.
void waitForInputOptionsWritten();
