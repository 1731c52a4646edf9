// Taccent2form: the image accent pad, one painted picture of the 8 x 14 grid;
// a click inserts the character of the cell under the mouse.
#pragma once

#include "aids/click_picture.h"
#include "editor/editor_context.h"

#include <QWidget>

// The picture Image1: each character centred in its cell, the cells separated by
// the rows' dead bands.
class AccentPadPicture : public ClickPicture
{
    Q_OBJECT
public:
    explicit AccentPadPicture(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

class Taccent2form : public QWidget
{
    Q_OBJECT
public:
    // `target` tells where a character goes at the moment of the click.
    Taccent2form(QWidget *owner, InputTargetSource target);
    ~Taccent2form() override;

    AccentPadPicture *Image1 = nullptr;

    // A click at `pos` in picture coordinates.
    void Image1Click(QPoint pos);

private:
    InputTargetSource m_target;
};
