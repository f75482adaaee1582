#pragma once

#include <QMap>
#include <QString>

#include <functional>

class QSettings;

// Port numbers 1 to 16 are the program's currency; this maps each to a device path. USB modems come first
// because they are what people plug in today; /dev/ttyS* nodes exist on most PCs whether or not a UART is
// behind them, so they must not win the default over a real modem.
class PortTable
{
public:
    static constexpr int kFirstPort = 1;
    static constexpr int kLastPort = 16;

    using ExistsFunction = std::function<bool(const QString&)>;

    // Reads the overrides of the "Ports" section ("COM3" = "/dev/ttyACM0").
    explicit PortTable(const QSettings& settings, ExistsFunction exists = {});

    static QString builtInDevicePath(int port);
    QString devicePath(int port) const;
    bool isPresent(int port) const;
    // The first port whose device exists, or 0 when none does.
    int firstPresentPort() const;
    // The number that names this device, or 0.
    int portOf(const QString& devicePath) const;
    // What the user chose in Setup, until the settings are read again.
    void setDevicePath(int port, const QString& devicePath) { m_overrides.insert(port, devicePath); }

private:
    QMap<int, QString> m_overrides;
    ExistsFunction m_exists;
};
