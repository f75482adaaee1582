#include "ButtonLabel.h"

#include <QMouseEvent>

void ButtonLabel::mousePressEvent(QMouseEvent* event)
{
    emit pressed(event->button());
}

void ButtonLabel::mouseReleaseEvent(QMouseEvent* event)
{
    emit released(event->button());
}
