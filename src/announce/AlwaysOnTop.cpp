#include "AlwaysOnTop.h"

#include <QWidget>

void ToggleTopmost(QWidget* window)
{
    window->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint
                           | Qt::WindowDoesNotAcceptFocus);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
}
