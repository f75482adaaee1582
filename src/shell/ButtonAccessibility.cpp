#include "ButtonAccessibility.h"

#include "ButtonLabel.h"
#include "ImageButton.h"

#include <QAccessibleWidget>

namespace
{

QLabel* captionOf(QWidget* picture)
{
    return qobject_cast<QLabel*>(picture->property(ImageButton::kCaptionLabel).value<QObject*>());
}

class PictureButton : public QAccessibleWidget
{
public:
    explicit PictureButton(QWidget* picture)
        : QAccessibleWidget(picture, QAccessible::Button)
    {
        addControllingSignal(QStringLiteral("released(Qt::MouseButton)"));
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name) {
            const QLabel* caption = captionOf(widget());
            return caption ? caption->text() : QString();
        }
        return QAccessibleWidget::text(kind);
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action != pressAction())
            return;
        auto* picture = static_cast<ButtonLabel*>(widget());
        emit picture->pressed(Qt::LeftButton);
        emit picture->released(Qt::LeftButton);
    }
};

// The caption is part of its picture's button, not an object of its own.
class CaptionOfButton : public QAccessibleWidget
{
public:
    explicit CaptionOfButton(QWidget* caption)
        : QAccessibleWidget(caption, QAccessible::StaticText)
    {
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.invisible = true;
        return state;
    }
};

QAccessibleInterface* buttonParts(const QString& className, QObject* object)
{
    auto* label = qobject_cast<ButtonLabel*>(object);
    if (className != QLatin1String("ButtonLabel") || !label)
        return nullptr;
    if (captionOf(label))
        return new PictureButton(label);
    const QObject* parent = label->parent();
    const bool isCaption =
        parent
        && std::any_of(parent->children().begin(), parent->children().end(), [label](QObject* sibling) {
               auto* widget = qobject_cast<QWidget*>(sibling);
               return widget && captionOf(widget) == label;
           });
    return isCaption ? new CaptionOfButton(label) : nullptr;
}

} // namespace

void installButtonAccessibility()
{
    QAccessible::installFactory(buttonParts);
}
