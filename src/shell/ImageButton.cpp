#include "ImageButton.h"

#include "Accessibility.h"
#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "SkinStore.h"

#include <QShortcut>

namespace ImageButton
{

namespace
{

// The mnemonic presses and releases the picture as a left click does, anywhere in its window.
void addMnemonic(QWidget* parent, ButtonLabel* picture, const QKeySequence& mnemonic)
{
    if (mnemonic.isEmpty())
        return;
    Accessibility::setShortcut(picture, mnemonic);
    QObject::connect(new QShortcut(mnemonic, parent), &QShortcut::activated, picture, [picture] {
        emit picture->pressed(Qt::LeftButton);
        emit picture->released(Qt::LeftButton);
    });
}

// The picture takes the focus for the pair; the caption, lying on or beside it, shows the focus mark.
void pairUp(ButtonLabel* picture, ButtonLabel* caption)
{
    static const bool accessible = (Accessibility::install(), true);
    Q_UNUSED(accessible);
    picture->setFocusPolicy(Qt::StrongFocus);
    caption->markFocusOf(picture);
    picture->setProperty(kCaptionLabel, QVariant::fromValue<QObject*>(caption));
}

} // namespace

Parts add(QWidget* parent, SkinStore& skins, const Spec& spec,
          const std::function<void(bool byLabel)>& action, const std::function<bool()>& refused)
{
    auto* image = new ButtonLabel(parent);
    image->setObjectName(spec.imageName);
    image->setGeometry(spec.geometry);
    image->setScaledContents(true);
    const QString shortcut = spec.mnemonic.toString(QKeySequence::NativeText);
    const QString toolTip = shortcut.isEmpty() || spec.toolTip.isEmpty()
                                ? spec.toolTip + shortcut
                                : QStringLiteral("%1 (%2)").arg(spec.toolTip, shortcut);
    image->setToolTip(toolTip);
    auto* label = new ButtonLabel(spec.caption, parent);
    label->setObjectName(spec.labelName);
    label->setGeometry(spec.geometry);
    label->setAlignment(Qt::AlignCenter);
    label->setToolTip(toolTip);
    pairUp(image, label);
    addMnemonic(parent, image, spec.mnemonic);

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
    return Parts{image, label};
}

void addNamed(QWidget* parent, SkinStore& skins, QList<Parts>& buttons, const NamedButton& button)
{
    const Spec spec{QStringLiteral("img") + button.name,
                    QStringLiteral("lbl") + button.name,
                    button.caption,
                    button.geometry,
                    {},
                    QKeySequence(Qt::ALT | button.mnemonic)};
    buttons << add(parent, skins, spec, button.action);
    button.image = buttons.last().image;
    button.label = buttons.last().label;
}

void addDialogButtons(QWidget* parent, SkinStore& skins, QList<Parts>& buttons, int y,
                      const DialogButton& first, const DialogButton& second)
{
    QRect geometry(134, y, 112, 22);
    for (const DialogButton* button : {&first, &second}) {
        addNamed(parent, skins, buttons,
                 {button->image, button->label, button->name, button->name, geometry,
                  Qt::Key(button->name.at(0).toUpper().unicode()),
                  [action = button->action](bool) { action(); }});
        geometry.translate(124, 0);
    }
}

Parts addCheckBox(QWidget* parent, const QString& pictureName, QPoint at, const QString& caption,
                  const QRect& captionArea, const QKeySequence& mnemonic)
{
    auto* picture = new ButtonLabel(parent);
    picture->setObjectName(pictureName);
    picture->setGeometry(QRect(at, QSize(16, 16)));
    picture->setScaledContents(true);
    auto* label = new ButtonLabel(caption, parent);
    label->setGeometry(captionArea);
    label->setWordWrap(true);
    pairUp(picture, label);
    Accessibility::setRole(picture, QAccessible::CheckBox);
    addMnemonic(parent, picture, mnemonic);
    return Parts{picture, label};
}

void setChecked(ButtonLabel* picture, const SkinStore& skins, bool on)
{
    ButtonLook::setPicture(picture, skins, on ? SkinStore::CheckOn : SkinStore::CheckOff);
    Accessibility::setChecked(picture, on);
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
