#include "MonitorSettings.h"

#include "PortTable.h"

#include <QSettings>

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
