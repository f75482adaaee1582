#pragma once

#include <QString>

class PortTable;
class QSettings;

// The options of the "Properties" section. A hand-edited value that does not convert falls back to the
// key's default.
struct MonitorSettings {
    int commPort = 1;
    bool useNameList = false;
    QString initCallerID;
    bool startMonitoring = false;
    QString speechEngine = QStringLiteral("flite");

    static MonitorSettings load(const QSettings& settings, const PortTable& ports);
    // What the window's unload stores in its normal state.
    void saveOptions(QSettings& settings) const;
};
