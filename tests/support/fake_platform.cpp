#include "support/fake_platform.h"

#include <QDialog>

int FakePlatform::execDialog(QDialog *dialog)
{
    ++dialogsRun;
    if (dialogAnswer)
        return dialogAnswer(dialog);
    return QDialog::Rejected;
}
