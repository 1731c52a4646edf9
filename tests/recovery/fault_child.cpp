// The process the fault test kills: opens doc.txt in the folder it is given as
// the editor does, keeps its recovery journal, and runs the scripted edits with
// a save to the file after every SaveEvery edits, until it is killed.
//   fault_child FOLDER SEED
#include "codec/store_loading.h"
#include "document/line_break_style.h"
#include "export/document_writer.h"
#include "fault_script.h"
#include "recovery/document_journal.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

namespace {

JournalHead headFor(const QString &path)
{
    JournalHead head;
    head.path = path;
    head.identity = FileIdentity::of(path);
    head.encoding = UTF8;
    head.lineBreak = int(LineBreakStyle::Lf);
    return head;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 2;
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    const QString path = folder + QStringLiteral("/doc.txt");
    const auto edits = faultScript(QByteArray(argv[2]).toUInt());
    QRandomGenerator pace(QByteArray(argv[2]).toUInt() ^ 0x5bd1e995u);

    TextStore store;
    DocumentJournal journal(store, folder + QStringLiteral("/recovery/"));
    journal.setRestartSlack(4096); // restarts happen often here
    journal.beginLoad();
    if (LoadTextFile(path, UTF8, store).status != ReadStatus::Read)
        return 3;
    journal.setBase(headFor(path), true);

    for (std::size_t i = 0; i < edits.size(); ++i) {
        store.replace(edits[i].pos, edits[i].removed, edits[i].added);
        QCoreApplication::processEvents(); // the journal's deferred snapshots
        if ((i + 1) % SaveEvery == 0) {
            if (writeDocument(path, OutputFormat::Utf8, store.text(), LineBreakStyle::Lf) !=
                WriteResult::Written)
                return 4;
            journal.discard();
            journal.setBase(headFor(path), false);
        }
        if (pace.bounded(4u) == 0)
            QThread::usleep(pace.bounded(400u));
    }
    journal.discard();
    return 0;
}
