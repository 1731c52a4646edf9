// Program entry: the application object, the windows in their order, the event loop.
#include "app/program_windows.h"
#include "app/session_end.h"
#include "codec/recovery_offer.h"
#include "app/translations.h"
#include "desktop/desktop_entry.h"
#include "recovery/recovery_folder.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>

#include <exception>

namespace {

// An exception escaping an event handler is shown in the toolkit's error box and
// the event loop goes on.
class EditorApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception &e) {
            QMessageBox::critical(nullptr, applicationName(), QString::fromLocal8Bit(e.what()));
        } catch (...) {
            QMessageBox::critical(nullptr, applicationName(), QString());
        }
        return false;
    }
};

// For the start-up benchmark: report once the main window is up, then quit
// without closing it (so no settings are written).
void reportWhenShownIfAsked(QApplication &app)
{
    if (!qEnvironmentVariableIsSet("TAVRIL_EXIT_WHEN_SHOWN"))
        return;
    QTimer::singleShot(0, &app, [] {
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
}

} // namespace

int main(int argc, char *argv[])
{
    EditorApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("tavriledit"));
    // Lets the desktop match the windows to the installed launcher and its icon.
    QGuiApplication::setDesktopFileName(QLatin1String(ApplicationId));
    // The user's language, before any window reads its texts.
    const ProgramTranslations translations(QLocale::system());
    try {
        // The windows in their order, each handed the others it needs.
        // Journals nobody came back for in a month go (locked or empty ones stay).
        removeOldJournals(recoveryFolder());
        ProgramWindows windows(QApplication::arguments());
        // A signal or the session's end keeps the journal and leaves quietly.
        const SessionEnd sessionEnd([&windows] { windows.form1.endWithoutQuestions(); });
        windows.form1.show();
        // Text kept for a new document when the editor last ended without saving.
        if (QApplication::arguments().size() < 2)
            offerKeptUntitledText(windows.form1.editorContext());
        reportWhenShownIfAsked(app);
        return app.exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, app.applicationName(), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, app.applicationName(), QString());
    }
    return 1;
}
