#pragma once

#include <QString>

class QLabel;

namespace ElidedText
{

// Shows text in a label of the given width: cut with "…" when it is too long, the whole text then in the
// label's tooltip.
void show(QLabel* label, const QString& text, int width);

} // namespace ElidedText
