#include "PortTable.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

PortTable::PortTable(const QSettings& settings, ExistsFunction exists)
    : m_exists(exists ? std::move(exists) : [](const QString& path) { return QFile::exists(path); })
{
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const QString path = settings.value(QStringLiteral("Ports/COM%1").arg(port)).toString().trimmed();
        if (!path.isEmpty())
            m_overrides.insert(port, path);
    }
}

QString PortTable::builtInDevicePath(int port)
{
    if (port >= 1 && port <= 4)
        return QStringLiteral("/dev/ttyACM%1").arg(port - 1);
    if (port >= 5 && port <= 8)
        return QStringLiteral("/dev/ttyUSB%1").arg(port - 5);
    if (port >= 9 && port <= kLastPort)
        return QStringLiteral("/dev/ttyS%1").arg(port - 9);
    return {};
}

QString PortTable::devicePath(int port) const
{
    return m_overrides.value(port, builtInDevicePath(port));
}

bool PortTable::isPresent(int port) const
{
    return m_exists(devicePath(port));
}

int PortTable::firstPresentPort() const
{
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        if (isPresent(port))
            return port;
    }
    return 0;
}

int PortTable::portOf(const QString& path) const
{
    // A setting may name the device through a link (/dev/serial/by-id/...).
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (int port = kFirstPort; port <= kLastPort; ++port) {
        const QString named = devicePath(port);
        if (named == path || (!canonical.isEmpty() && QFileInfo(named).canonicalFilePath() == canonical))
            return port;
    }
    return 0;
}
