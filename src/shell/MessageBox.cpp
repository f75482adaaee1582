#include "MessageBox.h"

#include <QMessageBox>

#include <cstdio>

namespace MessageBox
{

namespace
{

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
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

// A copy for the session's log: a program started at login or from a menu leaves no other trace of
// what went wrong once the box is closed.
void log(const QString& text)
{
    std::fprintf(stderr, "Nimbrel: %s\n", qPrintable(text));
}

} // namespace

void show(QWidget* parent, const QString& text, Icon icon, const std::function<void()>& closed)
{
    if (sink()) {
        sink()(text, icon);
        if (closed)
            closed();
        return;
    }
    log(text);
    auto* box = new QMessageBox(toQt(icon), QStringLiteral("Nimbrel"), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    if (closed)
        QObject::connect(box, &QMessageBox::finished, box, [closed] { closed(); });
    box->open();
}

void ask(QWidget* parent, const QString& text, const std::function<void(bool yes)>& answered)
{
    if (sink()) {
        answered(sink()(text, Icon::Question));
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Question, QStringLiteral("Nimbrel"), text,
                                QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(QMessageBox::No);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QMessageBox::finished, box,
                     [answered](int result) { answered(result == QMessageBox::Yes); });
    box->open();
}

void setSink(Sink newSink)
{
    sink() = std::move(newSink);
}

} // namespace MessageBox
