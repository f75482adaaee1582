#include "ModemDialect.h"

namespace
{

ModemEvent eventOf(ModemEvent::Kind kind)
{
    ModemEvent event;
    event.kind = kind;
    return event;
}

ModemEvent reply(ModemReply reply)
{
    ModemEvent event = eventOf(ModemEvent::Kind::Reply);
    event.reply = reply;
    return event;
}

ModemEvent field(CallerIdField field, QByteArrayView line)
{
    ModemEvent event = eventOf(ModemEvent::Kind::Field);
    event.field = field;
    // Modem bytes are kept one character per byte, so a value is stored exactly as it was received.
    if (const qsizetype equals = line.indexOf('='); equals >= 0)
        event.value = QString::fromLatin1(line.sliced(equals + 1));
    return event;
}

} // namespace

ModemEvent readModemLine(QByteArrayView line)
{
    if (line == "OK")
        return reply(ModemReply::Ok);
    if (line == "ERROR")
        return reply(ModemReply::Error);
    if (line == "RING")
        return eventOf(ModemEvent::Kind::Ring);
    const QByteArrayView key = line.first(std::min<qsizetype>(4, line.size()));
    if (key == "DATE")
        return field(CallerIdField::Date, line);
    if (key == "TIME")
        return field(CallerIdField::Time, line);
    if (key == "NMBR")
        return field(CallerIdField::Number, line);
    if (key == "NAME")
        return field(CallerIdField::Name, line);
    return {};
}
