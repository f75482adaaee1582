#pragma once

#include <QAccessible>

#include <functional>

class QKeySequence;
class QWidget;

// What assistive technology (screen readers) is told about Nimbrel's windows.
namespace Accessibility
{

// Each image-and-label pair is one push button (or check box) named by its caption: the picture is the
// control, the caption lying on or beside it is left out. Installed once, before any window.
void install();

// Gives a widget a role of its own (the status line a status bar, the pop-up a notification); a label's
// name is its text.
void setRole(QWidget* widget, QAccessible::Role role);

// The key that runs a picture's command, read out with its name.
void setShortcut(QWidget* picture, const QKeySequence& shortcut);
// The state of a check box picture; a change is told to assistive technology.
void setChecked(QWidget* picture, bool checked);

// Tells assistive technology that a notification appeared, so a screen reader says it even where
// Nimbrel's own voice is off.
void announce(QWidget* notification);

// Receives the events meant for assistive technology instead of it, for tests: offscreen Qt delivers
// none. An empty sink sends them on again.
using Sink = std::function<void(QAccessibleEvent* event)>;
void setSink(Sink sink);

} // namespace Accessibility
