#include "ImageButton.h"

#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "SkinStore.h"

namespace ImageButton
{

Parts create(QWidget* parent, const QString& imageName, const QString& labelName, const QString& caption,
             const QRect& geometry, const QString& toolTip)
{
    auto* image = new ButtonLabel(parent);
    image->setObjectName(imageName);
    image->setGeometry(geometry);
    image->setScaledContents(true);
    image->setToolTip(toolTip);
    auto* label = new ButtonLabel(caption, parent);
    label->setObjectName(labelName);
    label->setGeometry(geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setToolTip(toolTip);
    return {image, label};
}

void connect(const Parts& button, SkinStore& skins, const std::function<void(bool byLabel)>& action,
             const std::function<bool()>& refused)
{
    const auto isRefused = [refused] { return refused && refused(); };
    for (ButtonLabel* part : {button.image, button.label}) {
        QObject::connect(part, &ButtonLabel::pressed, part, [=, &skins](Qt::MouseButton mouseButton) {
            if (!isRefused())
                ButtonLook::ButtonDown(mouseButton, button.image, button.label, skins);
        });
        QObject::connect(part, &ButtonLabel::released, part, [=, &skins] {
            if (isRefused())
                return;
            ButtonLook::ButtonUp(button.image, button.label, skins);
            action(part == button.label);
        });
    }
}

void connectWindowBox(ButtonLabel* image, const SkinStore& skins, int upPicture, int downPicture,
                      const std::function<void()>& action)
{
    QObject::connect(image, &ButtonLabel::pressed, image, [=, &skins](Qt::MouseButton mouseButton) {
        if (mouseButton == Qt::LeftButton)
            ButtonLook::setPicture(image, skins, downPicture);
    });
    QObject::connect(image, &ButtonLabel::released, image, [=, &skins](Qt::MouseButton mouseButton) {
        if (mouseButton == Qt::LeftButton)
            ButtonLook::setPicture(image, skins, upPicture);
    });
    QObject::connect(image, &ButtonLabel::clicked, image, action);
}

} // namespace ImageButton
