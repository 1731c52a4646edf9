// Taccentform: the button accent pad, 112 buttons in an 8 x 14 grid, each
// inserting its character into the current target.
#pragma once

#include "editor/editor_context.h"

#include <QPushButton>
#include <QWidget>

// A pad button that draws its character itself, large enough to read and with
// combining marks on a dotted circle.
class AccentPadButton : public QPushButton
{
    Q_OBJECT
public:
    AccentPadButton(char16_t code, QWidget *parent);
    char16_t code() const { return m_code; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    char16_t m_code;
};

class Taccentform : public QWidget
{
    Q_OBJECT
public:
    // `target` tells where a character goes at the moment of the click.
    Taccentform(QWidget *owner, InputTargetSource target);
    ~Taccentform() override;

    AccentPadButton *button(int row, int column) const { return m_buttons[row][column]; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    AccentPadButton *m_buttons[8][14] = {};
    InputTargetSource m_target;
};
