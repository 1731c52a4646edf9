// Tcopyrightform: the about box, three lines about the program, shown modally
// from the help menu and closed with the window's close control.
#pragma once

#include <QDialog>

class QLabel;

class Tcopyrightform : public QDialog
{
    Q_OBJECT
public:
    explicit Tcopyrightform(QWidget *parent = nullptr);
    ~Tcopyrightform() override;

    QLabel *Label1 = nullptr; // product line
    QLabel *Label2 = nullptr; // contact address
    QLabel *Label3 = nullptr; // official web site

    // Places the box so that its centre meets the centre of `window`.
    void centreOn(const QWidget *window);
};

// "copyright": the about box, centred on `window`, shown modally through the platform.
void showCopyrightForm(Tcopyrightform *box, QWidget *window);
