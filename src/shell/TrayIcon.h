#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class QWidget;

// The main window's icon in the notification area, from load to unload. A left double click restores
// and shows the window; a right-button press shows it in the state it has. Where the desktop has no
// notification area the window simply stays on the task bar.
class TrayIcon : public QObject
{
    Q_OBJECT
public:
    enum Code { Nothing = 0, Restored = 1, RightPress = 2 };

    explicit TrayIcon(QObject* parent = nullptr);
    ~TrayIcon() override;

    void AddTrayIcon(const QIcon& icon, const QString& tip, QWidget* form);
    void RemoveTrayIcon();
    bool isShown() const;

    // What an activation of the icon means for the window; the window is restored for a double click.
    int TrayCallback(QSystemTrayIcon::ActivationReason reason);

private:
    QSystemTrayIcon* m_icon = nullptr;
    QWidget* m_form = nullptr;
};

// Shows a window without making it modal.
void ShowForm(QWidget* form);
