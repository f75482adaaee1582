#pragma once

#include "ModemList.h"

#include <optional>

class LineMonitor;
class PortTable;
class QSettings;

// What OK in Setup does: moves the line monitor to the chosen modem's port, takes its caller-ID command
// and stores "CommPort", "UseNameList" and "InitCallerID" under "Properties". It is all or nothing: when
// the port cannot be switched or the settings cannot be written, the port, the command and the settings
// stay as they were.
class ModemSetup
{
public:
    ModemSetup(LineMonitor& monitor, PortTable& ports, QSettings& settings);

    // chosen: the chosen line with its port (asked of the user when the line had none), or nothing when
    // no line was chosen. lentDevice: the device that a lent port number stands for, stored under "Ports".
    // source: where calls come from, the modem or an NCID server (as MonitorSettings reads it).
    bool save(const std::optional<ModemList::Choice>& chosen, const QString& lentDevice,
              const QString& source, QString* error);

private:
    bool storeSettings(const QList<std::pair<QString, QString>>& values, QString* error);

    LineMonitor& m_monitor;
    PortTable& m_ports;
    QSettings& m_settings;
};
