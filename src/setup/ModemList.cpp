#include "ModemList.h"

#include "ModemDetection.h"
#include "Registery.h"

namespace
{

const QString kFallback = QStringLiteral("1");

// "COM3" gives "3". A name of three characters or fewer names no port.
QString portNumberText(const QString& portName)
{
    return portName.mid(3);
}

QString portOf(const RegistryTree& registry, const QString& modemKey)
{
    if (RegValueExists(registry, modemKey, QStringLiteral("Attachedto")))
        return portNumberText(RegReadString(registry, modemKey, QStringLiteral("Attachedto"), kFallback));
    const QString id = RegReadString(registry, modemKey, QStringLiteral("MatchingdeviceID"), kFallback);
    const QString idKey = QStringLiteral("ENUM\\") + id;
    const QString deviceKey = idKey + QLatin1Char('\\') + RegLastSubkey(registry, idKey);
    if (!RegValueExists(registry, deviceKey, QStringLiteral("Portname")))
        return {};
    return portNumberText(RegReadString(registry, deviceKey, QStringLiteral("Portname"), kFallback));
}

QString commandOf(const RegistryTree& registry, const QString& modemKey)
{
    const QString key = modemKey + QStringLiteral("\\EnableCallerId");
    if (!RegValueExists(registry, key, QStringLiteral("1")))
        return {};
    const QString command = RegReadString(registry, key, QStringLiteral("1"), kFallback);
    return command.left(command.indexOf(QLatin1String("<cr>")));
}

} // namespace

namespace ModemList
{

QStringList modemLines(const RegistryTree& registry)
{
    QStringList lines;
    for (int index = 0; index < ModemDetection::kMaxModems; ++index) {
        const QString key = ModemDetection::modemKey(index);
        const QString command = commandOf(registry, key);
        if (!RegValueExists(registry, key, QStringLiteral("Model")))
            continue;
        const QString model = RegReadString(registry, key, QStringLiteral("Model"), kFallback);
        if (!model.isEmpty())
            lines << model + QLatin1Char(',') + portOf(registry, key) + QLatin1Char(';') + command;
    }
    return lines;
}

std::optional<Choice> readLine(const QString& line, QString* error)
{
    const qsizetype semicolon = line.indexOf(QLatin1Char(';'));
    const qsizetype comma = semicolon < 0 ? -1 : line.lastIndexOf(QLatin1Char(','), semicolon);
    if (comma < 0) {
        *error = QStringLiteral("The modem line \"%1\" has no \",port;\" part, so its port cannot be read.\n"
                                "Choose another line, or correct the modem in modems.reg.")
                     .arg(line);
        return std::nullopt;
    }
    Choice choice;
    choice.command = line.mid(semicolon + 1);
    const QString portText = line.mid(comma + 1, semicolon - comma - 1);
    if (portText.isEmpty())
        return choice;
    bool isNumber = false;
    choice.port = portText.toInt(&isNumber);
    if (!isNumber) {
        *error = QStringLiteral("The port \"%1\" of the modem line \"%2\" is not a number.\n"
                                "Choose another line, or correct the modem in modems.reg.")
                     .arg(portText, line);
        return std::nullopt;
    }
    return choice;
}

} // namespace ModemList
