#pragma once

#include <QLabel>
#include <QPointer>

// A label or image that reports presses and releases of any mouse button, as the program's
// image-and-label buttons need. The picture of a button also takes the keyboard focus: Space, Enter and
// Return press and release it as the left mouse button does.
class ButtonLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    // A caption lying on a picture that takes the focus: it draws the focus mark for the pair.
    void markFocusOf(ButtonLabel* picture);

signals:
    void pressed(Qt::MouseButton button);
    void released(Qt::MouseButton button);
    // A left press and release over the label.
    void clicked();
    void focusChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<ButtonLabel> m_focusOf;
};
