#include "Accessibility.h"

#include "ButtonLabel.h"
#include "ImageButton.h"

#include <QAccessibleWidget>
#include <QKeySequence>

namespace
{

constexpr char kRole[] = "nimbrelAccessibleRole";
constexpr char kShortcut[] = "nimbrelAccessibleShortcut";
constexpr char kChecked[] = "nimbrelAccessibleChecked";

Accessibility::Sink& sink()
{
    static Accessibility::Sink theSink;
    return theSink;
}

void tell(QAccessibleEvent* event)
{
    if (sink())
        sink()(event);
    else
        QAccessible::updateAccessibility(event);
}

QLabel* captionOf(QWidget* picture)
{
    return qobject_cast<QLabel*>(picture->property(ImageButton::kCaptionLabel).value<QObject*>());
}

QAccessible::Role roleOf(const QWidget* widget, QAccessible::Role otherwise)
{
    const QVariant role = widget->property(kRole);
    return role.isValid() ? QAccessible::Role(role.toInt()) : otherwise;
}

// A picture with its caption: a push button, or a check box whose state the window sets. A picture
// without one (a window's close or minimise box) is a push button named by its tool tip.
class PictureButton : public QAccessibleWidget
{
public:
    explicit PictureButton(QWidget* picture)
        : QAccessibleWidget(picture, roleOf(picture, QAccessible::Button))
    {
        addControllingSignal(QStringLiteral("released(Qt::MouseButton)"));
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name) {
            const QLabel* caption = captionOf(widget());
            return caption ? caption->text() : widget()->toolTip();
        }
        if (kind == QAccessible::Accelerator)
            return widget()->property(kShortcut).value<QKeySequence>().toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        if (role() == QAccessible::CheckBox) {
            state.checkable = true;
            state.checked = widget()->property(kChecked).toBool();
        }
        return state;
    }
    QStringList actionNames() const override
    {
        return {role() == QAccessible::CheckBox ? toggleAction() : pressAction()};
    }
    void doAction(const QString& action) override
    {
        if (!actionNames().contains(action))
            return;
        auto* picture = static_cast<ButtonLabel*>(widget());
        emit picture->pressed(Qt::LeftButton);
        emit picture->released(Qt::LeftButton);
        emit picture->clicked();
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

bool isCaptionOfSibling(ButtonLabel* label)
{
    const QObject* parent = label->parent();
    return parent
           && std::any_of(parent->children().begin(), parent->children().end(), [label](QObject* sibling) {
                  auto* widget = qobject_cast<QWidget*>(sibling);
                  return widget && captionOf(widget) == label;
              });
}

QAccessibleInterface* nimbrelParts(const QString&, QObject* object)
{
    if (auto* label = qobject_cast<ButtonLabel*>(object)) {
        if (isCaptionOfSibling(label))
            return new CaptionOfButton(label);
        return new PictureButton(label);
    }
    if (auto* widget = qobject_cast<QWidget*>(object); widget && widget->property(kRole).isValid())
        return new RoleWidget(widget, roleOf(widget, QAccessible::NoRole));
    return nullptr;
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

void setShortcut(QWidget* picture, const QKeySequence& shortcut)
{
    picture->setProperty(kShortcut, shortcut);
}

void setChecked(QWidget* picture, bool checked)
{
    const QVariant was = picture->property(kChecked);
    picture->setProperty(kChecked, checked);
    if (was.isValid() && was.toBool() == checked)
        return;
    QAccessible::State change;
    change.checked = true;
    QAccessibleStateChangeEvent event(picture, change);
    tell(&event);
}

void announce(QWidget* notification)
{
    QAccessibleEvent shown(notification, QAccessible::Alert);
    tell(&shown);
}

void setSink(Sink sink)
{
    ::sink() = std::move(sink);
}

} // namespace Accessibility
