// The exit command: asks before leaving, offers a modified document for saving
// through the exit dialog, and closes the main window.
#include "app/app_state.h"
#include "app/exit_form.h"
#include "app/main_window.h"
#include "export/save_commands.h"
#include "platform/platform.h"

void TForm1::exit1Click()
{
    exitChoice = 0;
    if (!documentModified) {
        if (ConfirmBox(this, tr("Exit OK?"), tr("confirm"))) {
            documentModified = false;
            close();
        }
        return;
    }
    // The dialog's run returns the answer; exitChoice keeps it for the program.
    exitChoice = m_exitform ? platform().execDialog(m_exitform) : 0;
    switch (exitChoice) {
    case 1:
        // Changes the user chose to keep that did not reach the disk keep the
        // program open, the document still marked modified.
        if (saveOnTheWayOut(m_context) != SaveOutcome::Saved)
            return;
        documentModified = false;
        close();
        break;
    case 2:
        documentModified = false;
        close();
        break;
    default:
        break;
    }
}
