#pragma once

#include <QString>

#include <functional>

class QWidget;

// Every message of the program goes through here: a box titled "Nimbrel" that never blocks the event
// loop, so the line monitor keeps reading while the user has not yet answered. Tests install a sink.
namespace MessageBox
{

enum class Icon { None, Information, Warning, Critical, Question };

// `closed` runs once the box has gone.
void show(QWidget* parent, const QString& text, Icon icon = Icon::None,
          const std::function<void()>& closed = {});
// A Yes/No question; the answer comes later, through `answered`, when the user has chosen.
void ask(QWidget* parent, const QString& text, const std::function<void(bool yes)>& answered);

// Replaces the boxes by a function, for tests: it is given each text and returns the answer to a
// question (ignored for messages). An empty sink restores the boxes.
using Sink = std::function<bool(const QString& text, Icon icon)>;
void setSink(Sink sink);

} // namespace MessageBox
