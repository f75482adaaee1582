#include "SerialDevices.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace
{

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(4096)).trimmed();
}

// udev's E: lines of the device, "ID_VENDOR_ID" -> "0baf".
QMap<QString, QString> udevProperties(const QString& rootDir, const QString& deviceNumber)
{
    QMap<QString, QString> properties;
    QFile file(QDir(rootDir).filePath(QStringLiteral("run/udev/data/c") + deviceNumber));
    if (deviceNumber.isEmpty() || !file.open(QIODevice::ReadOnly))
        return properties;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const qsizetype equals = line.indexOf('=');
        if (line.startsWith("E:") && equals > 2)
            properties.insert(QString::fromUtf8(line.mid(2, equals - 2)),
                              QString::fromUtf8(line.mid(equals + 1)));
    }
    return properties;
}

// The USB device above a tty's device: the first folder up the chain that has idVendor.
QString usbDeviceFolder(const QString& deviceFolder, const QString& rootDir)
{
    const QString top = QDir(rootDir).canonicalPath();
    for (QDir folder(deviceFolder); folder.absolutePath().startsWith(top) && folder.absolutePath() != top;) {
        if (folder.exists(QStringLiteral("idVendor")))
            return folder.absolutePath();
        if (!folder.cdUp())
            break;
    }
    return {};
}

bool hasUart(const QString& ttyFolder)
{
    const QString type = readText(QDir(ttyFolder).filePath(QStringLiteral("type")));
    return !type.isEmpty() && type != QLatin1String("0");
}

SerialDevice readDevice(const QString& rootDir, const QString& ttyFolder, const QString& name)
{
    SerialDevice device;
    device.name = name;
    device.devicePath = QStringLiteral("/dev/") + name;
    const QString deviceFolder =
        QFileInfo(QDir(ttyFolder).filePath(QStringLiteral("device"))).canonicalFilePath();
    device.driver = QFileInfo(QDir(deviceFolder).filePath(QStringLiteral("driver")))
                        .canonicalFilePath()
                        .section(QLatin1Char('/'), -1);
    if (const QString usb = usbDeviceFolder(deviceFolder, rootDir); !usb.isEmpty()) {
        const QDir folder(usb);
        device.vendorId = readText(folder.filePath(QStringLiteral("idVendor"))).toLower();
        device.productId = readText(folder.filePath(QStringLiteral("idProduct"))).toLower();
        device.manufacturer = readText(folder.filePath(QStringLiteral("manufacturer")));
        device.product = readText(folder.filePath(QStringLiteral("product")));
    }
    const QMap<QString, QString> udev =
        udevProperties(rootDir, readText(QDir(ttyFolder).filePath(QStringLiteral("dev"))));
    const auto fill = [&udev](QString& field, const char* key) {
        if (field.isEmpty())
            field = udev.value(QString::fromLatin1(key));
    };
    fill(device.vendorId, "ID_VENDOR_ID");
    fill(device.productId, "ID_MODEL_ID");
    fill(device.manufacturer, "ID_VENDOR_FROM_DATABASE");
    fill(device.product, "ID_MODEL_FROM_DATABASE");
    return device;
}

} // namespace

QList<SerialDevice> scanSerialDevices(const QString& rootDir)
{
    static const QRegularExpression serialName(QStringLiteral("^tty(ACM|USB|S)(\\d+)$"));
    static const QStringList kindOrder{QStringLiteral("ACM"), QStringLiteral("USB"), QStringLiteral("S")};
    const QDir classFolder(QDir(rootDir).filePath(QStringLiteral("sys/class/tty")));
    QList<std::pair<std::pair<qsizetype, int>, SerialDevice>> found;
    for (const QString& name : classFolder.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::System)) {
        const QRegularExpressionMatch match = serialName.match(name);
        const QString ttyFolder = classFolder.filePath(name);
        if (!match.hasMatch() || !QFileInfo::exists(QDir(ttyFolder).filePath(QStringLiteral("device"))))
            continue;
        if (match.captured(1) == QLatin1String("S") && !hasUart(ttyFolder))
            continue;
        found.append({{kindOrder.indexOf(match.captured(1)), match.captured(2).toInt()},
                      readDevice(rootDir, ttyFolder, name)});
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    QList<SerialDevice> devices;
    for (const auto& entry : found)
        devices << entry.second;
    return devices;
}
