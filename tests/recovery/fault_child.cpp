// The process the fault test kills: opens doc.txt in the folder it is given as
// the editor does, keeps its recovery journal, and runs the scripted edits with
// a save to the file after every SaveEvery edits, until it is killed.
//   fault_child FOLDER SEED
#include "codec/store_loading.h"
#include "document/document.h"
#include "export/document_writer.h"
#include "fault_script.h"
#include "recovery/document_journal.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString path = folder + QStringLiteral("/doc.txt");
    const auto edits = faultScript(QByteArray(argv[2]).toUInt());
    QRandomGenerator pace(QByteArray(argv[2]).toUInt() ^ 0x5bd1e995u);

    // Opened as the open command does: the document names its file, the text
    // arrives as a load, the journal's records will replay over it.
    Document document;
    DocumentJournal journal(document, folder + QStringLiteral("/recovery/"));
    journal.setRestartSlack(4096); // restarts happen often here
    journal.beginLoad();
    {
        const Document::Loading loading(document);
        document.setFileName(path);
        if (LoadTextFile(path, UTF8, document.store()).status != ReadStatus::Read)
            return 3;
        document.setLoaded(LineBreakStyle::Lf, path, 0, {UTF8, NoBom});
    }
    journal.setBase(true);
    TextStore &store = document.store();

    for (std::size_t i = 0; i < edits.size(); ++i) {
        store.replace(edits[i].pos, edits[i].removed, edits[i].added);
        QCoreApplication::processEvents(); // the journal's deferred snapshots
        if ((i + 1) % SaveEvery == 0) {
            if (writeDocument(path, OutputFormat::Utf8, store.text(), LineBreakStyle::Lf) !=
                WriteResult::Written)
                return 4;
            document.setSaved(path); // unmodified: the journal goes
        }
        if (pace.bounded(4u) == 0)
            QThread::usleep(pace.bounded(400u));
    }
    journal.discard();
    return 0;
}
