#pragma once

#include <QAccessible>

#include <functional>

class QWidget;

// What assistive technology (screen readers) is told about Nimbrel's windows.
namespace Accessibility
{

// Each image-and-label pair is one push button named by its caption: the picture is the button, the
// caption lying on it is left out. Installed once, before any window.
void install();

// Gives a widget a role of its own (the status line a status bar, the pop-up a notification); a label's
// name is its text.
void setRole(QWidget* widget, QAccessible::Role role);

// Tells assistive technology that a notification appeared, so a screen reader says it even where
// Nimbrel's own voice is off. Tests install a sink to see it, since offscreen Qt delivers no such event.
void announce(QWidget* notification);
using Sink = std::function<void(QWidget* notification)>;
void setSink(Sink sink);

} // namespace Accessibility
