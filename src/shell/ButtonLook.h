#pragma once

#include <QColor>

class QLabel;
class SkinStore;

// The look of the program's buttons: a picture with a text label lying on it.
namespace ButtonLook
{

inline const QColor kReleasedColor = QColor(0, 0, 192);
inline const QColor kPressedColor = Qt::black;

void setForeColor(QLabel* label, const QColor& color);
QColor foreColor(const QLabel* label);
// The label colour of a command that is refused for now.
QColor refusedColor();

// Shows a store picture on an image; without the picture (a missing skin file) the image is drawn as a
// plain raised or sunken panel, so the button stays visible.
void setPicture(QLabel* image, const SkinStore& skins, int picture);

// Pressed look, for the left mouse button only.
void ButtonDown(Qt::MouseButton button, QLabel* image, QLabel* label, const SkinStore& skins);
// Released look, for any mouse button.
void ButtonUp(QLabel* image, QLabel* label, const SkinStore& skins);

} // namespace ButtonLook
