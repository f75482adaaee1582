#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// How a simulated modem answers. Any command other than "ATZ" and a bare "AT" counts as a caller-ID
// command: "OK" when listed in acceptedCommands, "ERROR" otherwise.
struct ModemProfile {
    QStringList acceptedCommands{QStringLiteral("AT#CID=1"), QStringLiteral("AT+VCID=1")};
    bool silent = false;       // answers nothing at all
    bool echo = false;         // echoes each received byte, as modems do after a reset (ATE1)
    bool errorOnReset = false; // "ERROR" to "ATZ"
    bool crOnly = false;       // lines end in CR alone rather than CR LF

    // Reads "accept=AT#CID=1:AT+VCID=1,echo,cr,silent,reset-error" (the command's --profile option).
    static ModemProfile fromText(const QString& text, QString* error);
};
