#pragma once

#include "RegistryTree.h"
#include "SerialDevices.h"

#include <QMap>
#include <QStringList>

class PortTable;

// The machine's serial devices as installed-modem keys in the registry's layout, for the modem list:
// one key per device under kModemClass (…0000 to …0009, then …00010 to …00016), with "Model",
// "MatchingdeviceID" naming a device key under "ENUM\" whose "Portname" is "COMn" from the port table,
// and "EnableCallerID" holding the caller-ID command where the modem's is known.
struct DetectedModems {
    RegistryTree registry;
    // Port numbers lent to devices that no port number names; each becomes a setting only when the
    // user presses OK with that modem.
    QMap<int, QString> lentPorts;
    // What each port number found here is, to show the user.
    QMap<int, QString> devicePaths;
    // Lines of .reg files that could not be read.
    QStringList problems;
};

namespace ModemDetection
{

inline constexpr int kMaxModems = 17;
inline const QString kModemClass = QStringLiteral("System\\CurrentControlSet\\Services\\Class\\Modem");

// "…\Modem\0000" for 0, "…\Modem\00010" for 10: the digits follow "000" as written.
QString modemKey(int index);
QString modelFor(const SerialDevice& device);
// The devices in order, then each .reg file that exists, which may add or override keys.
DetectedModems detect(const QList<SerialDevice>& devices, const PortTable& ports,
                      const QStringList& regFiles);

} // namespace ModemDetection
