#include "AlwaysOnTop.h"

#include <QWidget>

void ToggleTopmost(QWidget* window)
{
    const Qt::WindowFlags topmost =
        Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus;
    // Changing the flags of a shown window makes a new native window; a pop-up that is already up
    // only comes to the front.
    if (window->windowFlags() != topmost)
        window->setWindowFlags(topmost);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    window->raise();
}
