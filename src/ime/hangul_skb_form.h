// Thangulskbform: the Hangul screen keyboard, a picture of the two-set layout
// whose keys are clicked with the mouse.
#pragma once

#include "aids/click_picture.h"
#include "editor/editor_context.h"

#include <QWidget>

// The picture Image1, drawn from the layout so that every cap sits exactly on
// its hit region; vector drawing keeps it sharp at any device-pixel ratio.
class ScreenKeyboardPicture : public ClickPicture
{
    Q_OBJECT
public:
    explicit ScreenKeyboardPicture(QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

class Thangulskbform : public QWidget
{
    Q_OBJECT
public:
    // `target` tells where a key goes at the moment of the click.
    Thangulskbform(QWidget *owner, InputTargetSource target);
    ~Thangulskbform() override;

    ScreenKeyboardPicture *Image1 = nullptr;

    // A click at `pos` in picture coordinates.
    void Image1Click(QPoint pos);

    void setVisible(bool visible) override;

private:
    bool m_placed = false;
    InputTargetSource m_target;
};
