// A painted picture that reports a completed left click (pressed and released
// on it) with its position in the picture's own coordinates.
#pragma once

#include <QWidget>

class ClickPicture : public QWidget
{
    Q_OBJECT
public:
    using QWidget::QWidget;

signals:
    void clickedAt(QPoint pos);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};
