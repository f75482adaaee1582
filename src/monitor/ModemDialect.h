#pragma once

#include <QByteArrayView>
#include <QString>

// What a modem reports, apart from what it means for a call.
enum class ModemReply { Ok, Error };
enum class CallerIdField { Date, Time, Number, Name };

struct ModemEvent {
    enum class Kind { Other, Reply, Ring, Field };
    Kind kind = Kind::Other;
    ModemReply reply = ModemReply::Ok;
    CallerIdField field = CallerIdField::Date;
    // A field's value: everything after the line's first "=", blanks included, empty without "=".
    QString value;
};

// The formatted caller-ID dialect: "OK", "ERROR" and "RING" as whole lines, and "DATE", "TIME", "NMBR" and
// "NAME" lines named by their first four characters. Keywords are compared exactly: "ring" or "RING " is
// some other report.
ModemEvent readModemLine(QByteArrayView line);
