#include "ModemDetection.h"

#include "KnownModems.h"
#include "PortTable.h"
#include "RegistryFile.h"

#include <QFile>

namespace
{

// The device key's name under ENUM: one per device, so two modems of one model keep their own ports.
QString deviceId(const SerialDevice& device)
{
    if (device.vendorId.isEmpty())
        return QStringLiteral("SERIAL\\") + device.name;
    return QStringLiteral("USB\\VID_%1&PID_%2\\%3")
        .arg(device.vendorId.toUpper(), device.productId.toUpper(), device.name);
}

int portFor(const SerialDevice& device, const PortTable& ports, const QMap<int, QString>& lent)
{
    if (const int port = ports.portOf(device.devicePath))
        return port;
    for (int port = PortTable::kFirstPort; port <= PortTable::kLastPort; ++port) {
        if (!ports.isPresent(port) && !lent.contains(port))
            return port;
    }
    return 0;
}

} // namespace

namespace ModemDetection
{

QString modemKey(int index)
{
    return kModemClass + QStringLiteral("\\000") + QString::number(index);
}

QString modelFor(const SerialDevice& device)
{
    QString model;
    if (!device.product.isEmpty()) {
        model = device.product.startsWith(device.manufacturer, Qt::CaseInsensitive)
                    ? device.product
                    : device.manufacturer + QLatin1Char(' ') + device.product;
    } else if (!device.vendorId.isEmpty()) {
        model = QStringLiteral("USB device %1:%2 on %3").arg(device.vendorId, device.productId, device.name);
    } else {
        model = QStringLiteral("Serial port %1").arg(device.name);
    }
    // The modem list's lines are "model,port;command".
    model.replace(QLatin1Char(','), QLatin1Char(' ')).replace(QLatin1Char(';'), QLatin1Char(' '));
    return model.simplified();
}

DetectedModems detect(const QList<SerialDevice>& devices, const PortTable& ports, const QStringList& regFiles)
{
    DetectedModems found;
    for (qsizetype index = 0; index < std::min<qsizetype>(devices.size(), kMaxModems); ++index) {
        const SerialDevice& device = devices.at(index);
        const QString key = modemKey(int(index));
        const QString model = modelFor(device);
        found.registry.setValue(key, QStringLiteral("Model"), RegistryTree::text(model));
        const QString id = deviceId(device);
        found.registry.setValue(key, QStringLiteral("MatchingdeviceID"), RegistryTree::text(id));
        const QString instance = QStringLiteral("ENUM\\") + id + QStringLiteral("\\0000");
        found.registry.setValue(instance, QStringLiteral("Device"), RegistryTree::text(device.devicePath));
        if (const int port = portFor(device, ports, found.lentPorts)) {
            found.registry.setValue(instance, QStringLiteral("Portname"),
                                    RegistryTree::text(QStringLiteral("COM%1").arg(port)));
            found.devicePaths.insert(port, device.devicePath);
            if (!ports.portOf(device.devicePath))
                found.lentPorts.insert(port, device.devicePath);
        }
        const QString command = KnownModems::callerIdCommand(device.vendorId, device.productId, model);
        if (!command.isEmpty()) {
            found.registry.setValue(key + QStringLiteral("\\EnableCallerID"), QStringLiteral("1"),
                                    RegistryTree::text(command + QStringLiteral("<cr>")));
        }
    }
    for (const QString& file : regFiles) {
        if (QFile::exists(file))
            found.problems << RegistryFile::merge(found.registry, file);
    }
    return found;
}

} // namespace ModemDetection
