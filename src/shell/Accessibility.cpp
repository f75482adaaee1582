#include "Accessibility.h"

#include "ButtonLabel.h"
#include "ImageButton.h"

#include <QAccessibleWidget>

namespace
{

constexpr char kRole[] = "nimbrelAccessibleRole";

Accessibility::Sink& sink()
{
    static Accessibility::Sink theSink;
    return theSink;
}

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

// A widget with a role of its own; a label is named by its text.
class RoleWidget : public QAccessibleWidget
{
public:
    RoleWidget(QWidget* widget, QAccessible::Role role)
        : QAccessibleWidget(widget, role)
    {
    }
    QString text(QAccessible::Text kind) const override
    {
        const QString own = QAccessibleWidget::text(kind);
        if (kind != QAccessible::Name || !own.isEmpty())
            return own;
        const auto* label = qobject_cast<const QLabel*>(widget());
        return label ? label->text() : widget()->windowTitle();
    }
};

QAccessibleInterface* nimbrelParts(const QString& className, QObject* object)
{
    if (auto* widget = qobject_cast<QWidget*>(object); widget && widget->property(kRole).isValid())
        return new RoleWidget(widget, QAccessible::Role(widget->property(kRole).toInt()));
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

namespace Accessibility
{

void install()
{
    QAccessible::installFactory(nimbrelParts);
}

void setRole(QWidget* widget, QAccessible::Role role)
{
    widget->setProperty(kRole, int(role));
}

void announce(QWidget* notification)
{
    if (sink()) {
        sink()(notification);
        return;
    }
    QAccessibleEvent shown(notification, QAccessible::Alert);
    QAccessible::updateAccessibility(&shown);
}

void setSink(Sink sink)
{
    ::sink() = std::move(sink);
}

} // namespace Accessibility
