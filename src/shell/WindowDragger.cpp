#include "WindowDragger.h"

#include <QLabel>
#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

WindowDragger::WindowDragger(QWidget* form)
    : QObject(form)
    , m_form(form)
{
    form->installEventFilter(this);
}

bool WindowDragger::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (watched != m_form
        || (type != QEvent::MouseButtonPress && type != QEvent::MouseMove
            && type != QEvent::MouseButtonRelease))
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    switch (type) {
    case QEvent::MouseButtonPress:
        if (mouse->button() == Qt::LeftButton)
            return DragWindow(mouse->position().toPoint());
        break;
    case QEvent::MouseMove:
        if (m_movingByHand) {
            m_form->move(mouse->globalPosition().toPoint() - m_grabOffset);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        m_movingByHand = false;
        break;
    default:
        break;
    }
    return false;
}

bool WindowDragger::DragWindow(const QPoint& pressedAt)
{
    // Presses on labels reach the window too; only its own body (or its background picture) drags.
    QWidget* child = m_form->childAt(pressedAt);
    if (child && child->objectName() != QLatin1String("imgBackground"))
        return false;
    // The window manager's own move must start from the press itself; it fails without a window manager.
    if (m_form->windowHandle() && m_form->windowHandle()->startSystemMove())
        return true;
    m_movingByHand = true;
    m_grabOffset = m_form->mapToGlobal(pressedAt) - m_form->pos();
    return true;
}
