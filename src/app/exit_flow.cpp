// The exit command: asks before leaving, offers a modified document for saving
// through the exit dialog, and closes the main window.
#include "app/exit_form.h"
#include "app/main_window.h"
#include "export/save_commands.h"
#include "platform/platform.h"
#include "settings/app_state.h"

void TForm1::exit1Click()
{
    exitChoice = 0;
    if (!m_document.isModified()) {
        if (ConfirmBox(this, tr("Exit OK?"), tr("confirm")))
            close();
        return;
    }
    // The dialog's run returns the answer; exitChoice keeps it for the program
    // (this is its one writer).
    exitChoice = m_exitform ? platform().execDialog(m_exitform) : 0;
    switch (exitChoice) {
    case 1:
        // Changes the user chose to keep that did not reach the disk keep the
        // program open, the document still marked modified.
        if (saveOnTheWayOut(m_context) != SaveOutcome::Saved)
            return;
        close();
        break;
    case 2:
        m_document.abandonChanges(); // the close handler has nothing left to offer
        close();
        break;
    default:
        break;
    }
}
