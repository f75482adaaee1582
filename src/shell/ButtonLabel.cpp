#include "ButtonLabel.h"

#include <QMouseEvent>

void ButtonLabel::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event->button());
}

void ButtonLabel::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->button());
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
