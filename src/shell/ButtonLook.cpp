#include "ButtonLook.h"

#include "SkinStore.h"

#include <QApplication>
#include <QLabel>
#include <QPalette>

namespace ButtonLook
{

void setForeColor(QLabel* label, const QColor& color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

QColor foreColor(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

QColor refusedColor()
{
    // The desktop's colour for what cannot be used now: the button-face colour itself would vanish on
    // a light button picture.
    return QApplication::palette().color(QPalette::Disabled, QPalette::WindowText);
}

void setPicture(QLabel* image, const SkinStore& skins, int picture)
{
    const QPixmap pixmap = skins.imgSkins(picture);
    image->setPixmap(pixmap);
    if (pixmap.isNull() && picture == SkinStore::CheckOn)
        image->setText(QStringLiteral("\u2713"));
    const bool pressed = picture % 2 == 1 && picture < SkinStore::CheckOn;
    image->setFrameStyle(pixmap.isNull() ? QFrame::Panel | (pressed ? QFrame::Sunken : QFrame::Raised)
                                         : QFrame::NoFrame);
    image->setLineWidth(2);
    image->setAutoFillBackground(pixmap.isNull());
}

void ButtonDown(Qt::MouseButton button, QLabel* image, QLabel* label, const SkinStore& skins)
{
    if (button != Qt::LeftButton)
        return;
    setPicture(image, skins, SkinStore::ButtonDown);
    setForeColor(label, kPressedColor);
}

void ButtonUp(QLabel* image, QLabel* label, const SkinStore& skins)
{
    setPicture(image, skins, SkinStore::ButtonUp);
    setForeColor(label, kReleasedColor);
}

} // namespace ButtonLook
