#include "ButtonLabel.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace
{

bool isPressKey(const QKeyEvent* event)
{
    return !event->isAutoRepeat()
           && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
               || event->key() == Qt::Key_Enter);
}

} // namespace

void ButtonLabel::markFocusOf(ButtonLabel* picture)
{
    m_focusOf = picture;
    connect(picture, &ButtonLabel::focusChanged, this, qOverload<>(&QWidget::update));
}

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

void ButtonLabel::keyPressEvent(QKeyEvent* event)
{
    if (!isPressKey(event)) {
        QLabel::keyPressEvent(event);
        return;
    }
    emit pressed(Qt::LeftButton);
}

void ButtonLabel::keyReleaseEvent(QKeyEvent* event)
{
    if (!isPressKey(event)) {
        QLabel::keyReleaseEvent(event);
        return;
    }
    emit released(Qt::LeftButton);
    emit clicked();
}

void ButtonLabel::focusInEvent(QFocusEvent* event)
{
    QLabel::focusInEvent(event);
    emit focusChanged();
}

void ButtonLabel::focusOutEvent(QFocusEvent* event)
{
    QLabel::focusOutEvent(event);
    emit focusChanged();
}

void ButtonLabel::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!m_focusOf || !m_focusOf->hasFocus())
        return;
    // The style's own focus mark, in the caption's colour, just inside the button's edge.
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(3, 3, -3, -3);
    option.backgroundColor = palette().color(backgroundRole());
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
