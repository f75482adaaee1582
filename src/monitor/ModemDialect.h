#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVarLengthArray>

// What a modem reports, apart from what it means for a call.
enum class ModemReply { Ok, Error };
enum class CallerIdField { Date, Time, Number, Name };

struct ModemEvent {
    enum class Kind { Other, Reply, Ring, Field };
    Kind kind = Kind::Other;
    ModemReply reply = ModemReply::Ok;
    CallerIdField field = CallerIdField::Date;
    // A field's value without the blanks around it. A withheld number or name is its reason code: "O"
    // (out of area, unavailable) or "P" (private).
    QString value;
};

// One line can say several things ("RING;5550100": a ring and a number).
using ModemEvents = QVarLengthArray<ModemEvent, 4>;

// Reads a modem's line as a person would: the replies "OK" and "ERROR"; a ring ("RING", "RING A" of a
// distinctive ring, ISDN's "RING;number"); the caller-ID fields of every documented dialect ("NMBR = ...",
// "DDN_NMBR=", "CALLER NUMBER: ", "+CLIP: ", unformatted hex messages ...). Anything else is Other.
ModemEvents readModemLine(QByteArrayView line);
