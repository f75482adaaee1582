#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

// Moves a borderless window by its body: a left press on the window itself (not on one of its labels or
// images) hands the move to the window manager, or, where it cannot take it, moves the window by hand.
class WindowDragger : public QObject
{
    Q_OBJECT
public:
    explicit WindowDragger(QWidget* form);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool DragWindow(const QPoint& pressedAt);

    QWidget* m_form;
    bool m_movingByHand = false;
    QPoint m_grabOffset;
};
