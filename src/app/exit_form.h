// The exit dialog: three buttons and no text. Its run returns the answer (0 cancel,
// 1 save and exit, 2 exit without saving); the exit flow keeps it in exitChoice.
#pragma once

#include <QDialog>

class QPushButton;

class Texitform : public QDialog
{
    Q_OBJECT
public:
    explicit Texitform(QWidget *parent = nullptr);
    ~Texitform() override;

    QPushButton *Button1 = nullptr; // "Save & Exit"
    QPushButton *Button2 = nullptr; // "No Save & Exit"
    QPushButton *Button3 = nullptr; // "Cancel"

public slots:
    void Button1Click();
    void Button2Click();
    // "Cancel"; Escape and the frame's close button answer the same (0).
    void Button3Click();
};
