// Program entry: the application object, the windows in their order, the event loop.
#include "app/exit_form.h"
#include "app/forms.h"
#include "app/main_window.h"
#include "app/memo_view.h"
#include "desktop/copyright_form.h"
#include "desktop/desktop_entry.h"
#include "find/search_form.h"
#include "ime/hangul_skb_form.h"
#include "ime/help_form.h"

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
    try {
        // The windows in their order; each later one is created by its subsystem.
        TForm1 form1(QApplication::arguments());
        // The find dialog, owned by the main window, works on its editor.
        new Tsearchform(&form1, &form1.editorContext());
        // The keymap help, with the editor's font as start-up left it.
        Thelpform help(&form1, form1.Memo1->font());
        Tcopyrightform aboutBox(&form1);
        // The exit dialog comes fifth: after the find dialog, the keymap help
        // window and the about box, before the screen keyboard.
        Texitform exitform1(&form1);
        // The Hangul screen keyboard comes last.
        Thangulskbform screenKeyboard(&form1, form1.inputTarget());

        form1.show();
        reportWhenShownIfAsked(app);
        return app.exec();
    } catch (const std::exception &e) {
        QMessageBox::critical(nullptr, app.applicationName(), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        QMessageBox::critical(nullptr, app.applicationName(), QString());
    }
    return 1;
}
