#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message of the program goes through here: a box titled "Nimbrel" that never blocks the event
// loop, so the line monitor keeps reading while the user has not yet answered. Tests install a sink.
namespace MessageBox {

enum class Icon { None, Information, Warning, Critical };

void show(QWidget* parent, const QString& text, Icon icon = Icon::None);

using Sink = std::function<void(const QString& text, Icon icon)>;
// Replaces the boxes by a function, for tests; an empty sink restores the boxes.
void setSink(Sink sink);

} // namespace MessageBox
