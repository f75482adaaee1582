#include "ModemSetup.h"

#include "LineMonitor.h"
#include "MonitorSettings.h"
#include "PortTable.h"

#include <QSettings>

ModemSetup::ModemSetup(LineMonitor& monitor, PortTable& ports, QSettings& settings)
    : m_monitor(monitor)
    , m_ports(ports)
    , m_settings(settings)
{
}

bool ModemSetup::save(const std::optional<ModemList::Choice>& chosen, const QString& lentDevice,
                      const QString& source, QString* error)
{
    QString ncidHost;
    quint16 ncidPort = 0;
    if (!MonitorSettings::readSource(source, &ncidHost, &ncidPort)) {
        *error =
            QStringLiteral("\"%1\" is not a source of calls Nimbrel knows.\nLeave it empty for the modem, or "
                           "name an NCID server as ncid://host:3333; nothing was changed.")
                .arg(source);
        return false;
    }
    const int oldPort = m_monitor.port();
    const QString oldDevice = m_monitor.devicePath();
    int port = oldPort;
    QString command = m_monitor.initCallerID();
    if (chosen) {
        port = chosen->port.value_or(0);
        command = chosen->command;
        if (port < PortTable::kFirstPort || port > PortTable::kLastPort) {
            *error =
                QStringLiteral("Port %1 is not one of Nimbrel's ports, 1 to %2.\nChoose the modem's port "
                               "again; nothing was changed.")
                    .arg(port)
                    .arg(PortTable::kLastPort);
            return false;
        }
        const QString device = lentDevice.isEmpty() ? m_ports.devicePath(port) : lentDevice;
        if (!m_monitor.switchPort(port, device, error)) {
            error->append(QStringLiteral("\nNothing was changed."));
            return false;
        }
    }
    QList<std::pair<QString, QString>> values{
        {QStringLiteral("Properties/CommPort"), QString::number(port)},
        {QStringLiteral("Properties/UseNameList"),
         m_monitor.calls().useNameList() ? QStringLiteral("True") : QStringLiteral("False")},
        {QStringLiteral("Properties/InitCallerID"), command},
        {QStringLiteral("Properties/Source"), MonitorSettings::sourceText(ncidHost, ncidPort)},
    };
    if (!lentDevice.isEmpty())
        values.append({QStringLiteral("Ports/COM%1").arg(port), lentDevice});
    if (!storeSettings(values, error)) {
        QString ignored;
        m_monitor.switchPort(oldPort, oldDevice, &ignored);
        return false;
    }
    m_monitor.setInitCallerID(command);
    m_monitor.setNcidServer(ncidHost, ncidPort);
    if (!lentDevice.isEmpty())
        m_ports.setDevicePath(port, lentDevice);
    return true;
}

bool ModemSetup::storeSettings(const QList<std::pair<QString, QString>>& values, QString* error)
{
    QList<std::pair<QString, QVariant>> before;
    for (const auto& [key, value] : values) {
        before.append({key, m_settings.value(key)});
        m_settings.setValue(key, value);
    }
    m_settings.sync();
    if (m_settings.status() == QSettings::NoError)
        return true;
    for (const auto& [key, value] : before) {
        if (value.isValid())
            m_settings.setValue(key, value);
        else
            m_settings.remove(key);
    }
    *error =
        QStringLiteral("The settings could not be written to %1.\nCheck that the file and its folder can "
                       "be written, then press OK again; nothing was changed.")
            .arg(m_settings.fileName());
    return false;
}
