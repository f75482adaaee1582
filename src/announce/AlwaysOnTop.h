#pragma once

class QWidget;

// Puts a pop-up above every other window and shows it without taking the keyboard focus from what the
// user is typing. Every pop-up is made topmost: one that hid behind other windows on every second call
// would defeat its purpose.
void ToggleTopmost(QWidget* window);
