#pragma once

#include <QString>
#include <QStringList>

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
    // "Source": "modem", or an NCID server as "ncid://host:port" (the port 3333 unless given).
    QString ncidHost;
    quint16 ncidPort = 3333;
    // Nimbrel's own NCID server: off unless "ServeNCID" is True; on the loopback interface unless
    // "ServeNCIDAddress" names another; clients only from "ServeNCIDAllow" (a comma-separated list).
    bool serveNcid = false;
    quint16 serveNcidPort = 3333;
    QString serveNcidAddress = QStringLiteral("127.0.0.1");
    QStringList serveNcidAllow;

    static MonitorSettings load(const QSettings& settings, const PortTable& ports);
    // Reads a source as Setup takes it: empty or "modem", or an NCID server as "ncid://host:port",
    // "host:port" or "host". False for anything else.
    static bool readSource(const QString& text, QString* ncidHost, quint16* ncidPort);
    // The "Source" setting for a host: "modem" for none.
    static QString sourceText(const QString& ncidHost, quint16 ncidPort);
    // What the window's unload stores in its normal state.
    void saveOptions(QSettings& settings) const;
};
