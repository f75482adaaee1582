#include "ImageButton.h"

#include "Accessibility.h"
#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "SkinStore.h"

#include <QShortcut>

namespace ImageButton
{

Parts add(QWidget* parent, SkinStore& skins, const Spec& spec,
          const std::function<void(bool byLabel)>& action, const std::function<bool()>& refused)
{
    static const bool accessible = (Accessibility::install(), true);
    Q_UNUSED(accessible);
    auto* image = new ButtonLabel(parent);
    image->setObjectName(spec.imageName);
    image->setGeometry(spec.geometry);
    image->setScaledContents(true);
    image->setToolTip(spec.toolTip);
    auto* label = new ButtonLabel(spec.caption, parent);
    label->setObjectName(spec.labelName);
    label->setGeometry(spec.geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setToolTip(spec.toolTip);
    // The picture takes the focus for the pair; the caption, lying on it, shows the focus mark.
    image->setFocusPolicy(Qt::StrongFocus);
    label->markFocusOf(image);
    image->setProperty(kCaptionLabel, QVariant::fromValue<QObject*>(label));
    const Parts button{image, label};
    if (!spec.mnemonic.isEmpty()) {
        auto* shortcut = new QShortcut(spec.mnemonic, parent);
        QObject::connect(shortcut, &QShortcut::activated, image, [image] {
            emit image->pressed(Qt::LeftButton);
            emit image->released(Qt::LeftButton);
        });
    }

    const auto isRefused = [refused] { return refused && refused(); };
    for (ButtonLabel* part : {image, label}) {
        QObject::connect(part, &ButtonLabel::pressed, part, [=, &skins](Qt::MouseButton mouseButton) {
            if (!isRefused())
                ButtonLook::ButtonDown(mouseButton, image, label, skins);
        });
        QObject::connect(part, &ButtonLabel::released, part, [=, &skins] {
            if (isRefused())
                return;
            ButtonLook::ButtonUp(image, label, skins);
            action(part == label);
        });
    }
    return button;
}

void addDialogButtons(QWidget* parent, SkinStore& skins, QList<Parts>& buttons, int y,
                      const DialogButton& first, const DialogButton& second)
{
    QRect geometry(134, y, 112, 22);
    for (const DialogButton* button : {&first, &second}) {
        const Spec spec{QStringLiteral("img") + button->name,
                        QStringLiteral("lbl") + button->name,
                        button->name,
                        geometry,
                        {}};
        buttons << add(parent, skins, spec, [action = button->action](bool) { action(); });
        button->image = buttons.last().image;
        button->label = buttons.last().label;
        geometry.translate(124, 0);
    }
}

void loadWindow(QWidget* window, SkinStore& skins, const QList<Parts>& buttons)
{
    skins.LoadSkin(window);
    for (const Parts& button : buttons) {
        ButtonLook::setPicture(button.image, skins, SkinStore::ButtonUp);
        ButtonLook::setForeColor(button.label, ButtonLook::kReleasedColor);
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

QLabel* setUpDialog(QWidget* window, const QString& name, const QString& title, const QSize& size)
{
    window->setObjectName(name);
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setFixedSize(size);
    QObject::connect(new QShortcut(QKeySequence(Qt::Key_Escape), window), &QShortcut::activated, window,
                     &QWidget::close);
    auto* caption = new QLabel(title, window);
    caption->setObjectName(QStringLiteral("lblcaption"));
    QFont bold = caption->font();
    bold.setBold(true);
    caption->setFont(bold);
    return caption;
}

} // namespace ImageButton
