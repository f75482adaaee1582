#include "MessageBox.h"

#include <QMessageBox>

namespace MessageBox {

namespace {

Sink& sink()
{
    static Sink instance;
    return instance;
}

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Warning:
        return QMessageBox::Warning;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

void show(QWidget* parent, const QString& text, Icon icon)
{
    if (sink()) {
        sink()(text, icon);
        return;
    }
    auto* box = new QMessageBox(toQt(icon), QStringLiteral("Nimbrel"), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void setSink(Sink newSink)
{
    sink() = std::move(newSink);
}

} // namespace MessageBox
