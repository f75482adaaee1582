#include "MonitorSettings.h"

#include "NcidClient.h"
#include "PortTable.h"

#include <QSettings>
#include <QUrl>

namespace
{

bool toBoolean(const QVariant& value, bool fallback)
{
    const QString text = value.toString().trimmed();
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    return isNumber ? number != 0 : fallback;
}

QString booleanText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

MonitorSettings MonitorSettings::load(const QSettings& settings, const PortTable& ports)
{
    MonitorSettings result;
    const int present = ports.firstPresentPort();
    result.commPort = present ? present : PortTable::kFirstPort;
    bool isNumber = false;
    const int port =
        settings.value(QStringLiteral("Properties/CommPort")).toString().trimmed().toInt(&isNumber);
    if (isNumber && port >= PortTable::kFirstPort && port <= PortTable::kLastPort)
        result.commPort = port;
    result.useNameList = toBoolean(settings.value(QStringLiteral("Properties/UseNameList")), false);
    result.initCallerID = settings.value(QStringLiteral("Properties/InitCallerID")).toString();
    result.startMonitoring = toBoolean(settings.value(QStringLiteral("Properties/StartMonitoring")), false);
    readSource(settings.value(QStringLiteral("Properties/Source")).toString(), &result.ncidHost,
               &result.ncidPort);
    result.serveNcid = toBoolean(settings.value(QStringLiteral("Properties/ServeNCID")), false);
    const int servePort =
        settings.value(QStringLiteral("Properties/ServeNCIDPort")).toString().toInt(&isNumber);
    if (isNumber && servePort >= 0 && servePort < 65536) // 0: any free port
        result.serveNcidPort = quint16(servePort);
    const QString address =
        settings.value(QStringLiteral("Properties/ServeNCIDAddress")).toString().trimmed();
    if (!address.isEmpty())
        result.serveNcidAddress = address;
    // The INI format reads "a, b" as a list already.
    result.serveNcidAllow = settings.value(QStringLiteral("Properties/ServeNCIDAllow")).toStringList();
    const QString engine = settings.value(QStringLiteral("Properties/SpeechEngine")).toString().trimmed();
    if (!engine.isEmpty())
        result.speechEngine = engine;
    return result;
}

void MonitorSettings::saveOptions(QSettings& settings) const
{
    settings.setValue(QStringLiteral("Properties/UseNameList"), booleanText(useNameList));
    settings.setValue(QStringLiteral("Properties/InitCallerID"), initCallerID);
}

bool MonitorSettings::readSource(const QString& text, QString* ncidHost, quint16* ncidPort)
{
    const QString source = text.trimmed();
    ncidHost->clear();
    *ncidPort = 3333;
    if (source.isEmpty() || source == QLatin1String("modem"))
        return true;
    const QUrl url(source.contains(QLatin1String("://")) ? source : QStringLiteral("ncid://") + source);
    if (!url.isValid() || url.scheme() != QLatin1String("ncid") || url.host().isEmpty()
        || !url.path().isEmpty() || url.port(*ncidPort) < 1)
        return false;
    *ncidHost = url.host();
    *ncidPort = quint16(url.port(*ncidPort));
    return true;
}

QString MonitorSettings::sourceText(const QString& ncidHost, quint16 ncidPort)
{
    if (ncidHost.isEmpty())
        return QStringLiteral("modem");
    return QStringLiteral("ncid://") + NcidClient::serverName(ncidHost, ncidPort);
}
