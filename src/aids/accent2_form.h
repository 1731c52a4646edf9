// Taccent2form: the image accent pad, one painted picture of the 8 x 14 grid;
// a click inserts the character of the cell under the mouse.
#pragma once

#include <QWidget>

// The picture Image1: each character centred in its cell, the cells separated by
// the rows' dead bands.
class AccentPadPicture : public QWidget
{
    Q_OBJECT
public:
    explicit AccentPadPicture(QWidget *parent);

signals:
    void clickedAt(QPoint pos);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

class Taccent2form : public QWidget
{
    Q_OBJECT
public:
    explicit Taccent2form(QWidget *owner);
    ~Taccent2form() override;

    AccentPadPicture *Image1 = nullptr;

    // A click at `pos` in picture coordinates.
    void Image1Click(QPoint pos);
};
