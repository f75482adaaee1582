#pragma once

#include <QStringList>

#include <optional>

class RegistryTree;

// The modem list's lines, "model,port;command": "Generic Voice Modem,3;AT#CID=1".
namespace ModemList
{

// One line per probed modem key that has a "Model", in probing order.
QStringList modemLines(const RegistryTree& registry);

struct Choice {
    std::optional<int> port; // none: the line names no port, so the user is asked for one
    QString command;
};

// Reads a chosen line. The port lies between the last "," before the first ";" and that ";", so a
// model may contain ","; the command is everything after the first ";". Nothing, with *error, for a
// line without ";" or whose port is not a number.
std::optional<Choice> readLine(const QString& line, QString* error);

} // namespace ModemList
