#include "ElidedText.h"

#include <QLabel>

namespace ElidedText
{

void show(QLabel* label, const QString& text, int width)
{
    const QString shown = label->fontMetrics().elidedText(text, Qt::ElideRight, width);
    label->setText(shown);
    label->setToolTip(shown == text ? QString() : text);
}

} // namespace ElidedText
