#pragma once

#include <QLabel>

// A label or image that reports presses and releases of any mouse button, as the program's
// image-and-label buttons need.
class ButtonLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void pressed(Qt::MouseButton button);
    void released(Qt::MouseButton button);
    // A left press and release over the label.
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
