#include "frmCommManual.h"

#include "MessageBox.h"
#include "PortTable.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>

frmCommManual::frmCommManual(SkinStore& skins, const PortTable& ports, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_skins(skins)
    , m_ports(ports)
{
    lblcaption = ImageButton::setUpDialog(this, QStringLiteral("frmCommManual"), QStringLiteral("CommManual"),
                                          QSize(380, 229));
    lblcaption->setText(QStringLiteral("Communication Port Manual Setup"));
    setWindowModality(Qt::WindowModal);
    txtNotification = new QPlainTextEdit(this);
    txtNotification->setObjectName(QStringLiteral("txtNotification"));
    txtNotification->setReadOnly(true);
    txtNotification->setGeometry(10, 22, 360, 132);
    txtNotification->setAccessibleName(QStringLiteral("Which device each port number is"));
    lbltext = new QLabel(QStringLiteral("Modem Communication Port:"), this);
    lbltext->setGeometry(10, 164, 180, 20);
    txtcommlist = new QComboBox(this);
    txtcommlist->setObjectName(QStringLiteral("txtcommlist"));
    txtcommlist->setGeometry(194, 162, 80, 24);
    lbltext->setBuddy(txtcommlist);
    ImageButton::addDialogButtons(this, m_skins, m_buttons, 198,
                                  {imgOK, lblOK, QStringLiteral("OK"), [this] { ok(); }},
                                  {imgCancel, lblCancel, QStringLiteral("Cancel"), [this] { cancel(); }});
}

void frmCommManual::Form_Load()
{
    ImageButton::loadWindow(this, m_skins, m_buttons);
    lblcaption->move(8, 0);
    txtNotification->setPlainText(notification(m_ports));
    for (int port = PortTable::kFirstPort; port <= PortTable::kLastPort; ++port)
        txtcommlist->addItem(QString::number(port));
    txtcommlist->setCurrentIndex(-1);
}

QString frmCommManual::notification(const PortTable& ports)
{
    QStringList devices;
    for (int port = PortTable::kFirstPort; port <= PortTable::kLastPort; ++port) {
        devices << QStringLiteral("%1 = %2%3")
                       .arg(port)
                       .arg(ports.devicePath(port),
                            ports.isPresent(port) ? QStringLiteral(" (present)") : QString());
    }
    return QStringLiteral(
               "Nimbrel was unable to auto-detect the communication port of your modem. To find its "
               "device, plug the modem in and run \"ls -l /dev/serial/by-id/\" in a terminal: the "
               "link of your modem ends in ttyACM, ttyUSB or ttyS and a number.\n"
               "The port numbers stand for these devices: %1.\n"
               "Example: a modem on /dev/ttyACM0 is port 1. Select the indicated comm port from the "
               "list below then press OK.")
        .arg(devices.join(QStringLiteral(", ")));
}

void frmCommManual::ok()
{
    if (txtcommlist->currentIndex() < 0) {
        MessageBox::show(this, QStringLiteral("Choose the modem's port in the list, then press OK."),
                         MessageBox::Icon::Information);
        return;
    }
    emit portChosen(txtcommlist->currentText().toInt());
    close();
}

void frmCommManual::cancel()
{
    emit cancelled();
    close();
}
