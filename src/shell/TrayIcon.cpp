#include "TrayIcon.h"

#include <QWidget>

TrayIcon::TrayIcon(QObject* parent)
    : QObject(parent)
{
}

TrayIcon::~TrayIcon()
{
    RemoveTrayIcon();
}

void TrayIcon::AddTrayIcon(const QIcon& icon, const QString& tip, QWidget* form)
{
    m_form = form;
    // An icon shown where there is no notification area reports itself visible and is seen nowhere.
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_icon = new QSystemTrayIcon(icon, this);
    m_icon->setToolTip(tip);
    connect(m_icon, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (TrayCallback(reason) != Nothing)
            ShowForm(m_form);
    });
    m_icon->show();
    form->hide();
}

void TrayIcon::RemoveTrayIcon()
{
    delete m_icon;
    m_icon = nullptr;
}

bool TrayIcon::isShown() const
{
    return m_icon && m_icon->isVisible();
}

int TrayIcon::TrayCallback(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        m_form->setWindowState(m_form->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
        m_form->show();
        return Restored;
    case QSystemTrayIcon::Context:
        return RightPress;
    default:
        return Nothing;
    }
}

void ShowForm(QWidget* form)
{
    form->show();
    form->raise();
}
