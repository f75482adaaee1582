#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The caller-ID message as the telephone line carries it (Bellcore GR-30-CORE, ETSI EN 300 659-3), which
// modems pass on as hexadecimal digits in their unformatted mode (AT#CID=2, AT+VCID=2) and inside "MESG"
// lines. Date and time are "MMDD" and "HHMM"; a withheld number or name is its reason code, "O" or "P".
struct CallerIdMessage {
    QString date;
    QString time;
    QString number;
    QString name;

    // A whole message: its type (04 single data message, 80 multiple data message), its length, its
    // parameters and its checksum. Nothing for a line that is not one, fails its checksum, or is another
    // kind of message (message waiting).
    static std::optional<CallerIdMessage> fromHexLine(QByteArrayView line);
    // The parameters alone (type, length, data, ...), with or without a closing checksum byte.
    static std::optional<CallerIdMessage> fromHexParameters(QByteArrayView hex);
};
