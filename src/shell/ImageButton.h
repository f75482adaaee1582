#pragma once

#include <QRect>
#include <QString>

#include <functional>

class ButtonLabel;
class QWidget;
class SkinStore;

// The program's buttons: a picture (imgName) with a label (lblName) lying on it. Pressing either shows
// the pressed look for the left button; releasing any button restores the look and runs the action.
namespace ImageButton
{

struct Parts {
    ButtonLabel* image;
    ButtonLabel* label;
};

Parts create(QWidget* parent, const QString& imageName, const QString& labelName, const QString& caption,
             const QRect& geometry, const QString& toolTip = {});

// The action learns whether the label (rather than the picture) was released. While `refused` answers
// true, presses and releases do nothing.
void connect(const Parts& button, SkinStore& skins, const std::function<void(bool byLabel)>& action,
             const std::function<bool()>& refused = {});

// A window box (close, minimise): a picture alone, pressed and released looks for the left button only,
// its action on a left click.
void connectWindowBox(ButtonLabel* image, const SkinStore& skins, int upPicture, int downPicture,
                      const std::function<void()>& action);

} // namespace ImageButton
