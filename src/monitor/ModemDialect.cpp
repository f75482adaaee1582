#include "ModemDialect.h"

#include "CallerIdMessage.h"

#include <QList>

#include <cctype>

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

// The reason a number or name is withheld, in the words modems use for it.
QString reasonCode(const QString& value)
{
    if (value == QLatin1String("O") || value == QLatin1String("OUT_OF_AREA"))
        return QStringLiteral("O");
    if (value == QLatin1String("P") || value == QLatin1String("PRIVATE"))
        return QStringLiteral("P");
    return value;
}

void addField(ModemEvents& events, CallerIdField field, QByteArrayView value)
{
    ModemEvent event = eventOf(ModemEvent::Kind::Field);
    event.field = field;
    // Modem bytes are kept one character per byte, so a value is stored as it was received.
    event.value = QString::fromLatin1(value.trimmed());
    if (field == CallerIdField::Number || field == CallerIdField::Name)
        event.value = reasonCode(event.value);
    events.append(event);
}

void addMessage(ModemEvents& events, const CallerIdMessage& message)
{
    const auto add = [&events](CallerIdField field, const QString& value) {
        if (!value.isEmpty())
            addField(events, field, value.toLatin1());
    };
    add(CallerIdField::Date, message.date);
    add(CallerIdField::Time, message.time);
    add(CallerIdField::Number, message.number);
    add(CallerIdField::Name, message.name);
}

bool startsWithWord(QByteArrayView line, QByteArrayView word)
{
    return line.size() >= word.size() && line.first(word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// "RING", "RING A" or "RING 1" (a distinctive ring's cadence), "RING;number;called number" (ISDN).
bool readRing(QByteArrayView line, ModemEvents& events)
{
    if (!line.startsWith("RING"))
        return false;
    const QByteArrayView rest = line.sliced(4);
    const bool distinctive =
        rest.size() == 2 && rest[0] == ' ' && std::isalnum(static_cast<unsigned char>(rest[1]));
    if (!rest.isEmpty() && !distinctive && !rest.startsWith(';'))
        return false;
    events.append(eventOf(ModemEvent::Kind::Ring));
    if (rest.startsWith(';')) {
        QByteArrayView number = rest.sliced(1);
        if (const qsizetype end = number.indexOf(';'); end >= 0)
            number = number.first(end); // then the called number, never the caller's
        addField(events, CallerIdField::Number, number);
    }
    return true;
}

// GSM: +CLIP: "number",type[,subaddress,satype[,"alpha"[,CLI validity]]]; validity 1 is withheld,
// 2 is not available.
void readClip(QByteArrayView parameters, ModemEvents& events)
{
    QList<QByteArrayView> fields;
    const auto take = [&fields, parameters](qsizetype start, qsizetype end) {
        QByteArrayView field = parameters.sliced(start, end - start).trimmed();
        if (field.size() >= 2 && field.front() == '"' && field.back() == '"')
            field = field.sliced(1, field.size() - 2);
        fields << field;
    };
    bool quoted = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        if (parameters[i] == '"') {
            quoted = !quoted;
        } else if (parameters[i] == ',' && !quoted) {
            take(start, i);
            start = i + 1;
        }
    }
    take(start, parameters.size());
    const QByteArrayView validity = fields.value(5);
    QByteArrayView number = fields.value(0);
    if (number.isEmpty() && validity == "1")
        number = "P";
    else if (number.isEmpty() && validity == "2")
        number = "O";
    addField(events, CallerIdField::Number, number);
    if (!fields.value(4).isEmpty())
        addField(events, CallerIdField::Name, fields.at(4));
}

// A key that names a caller-ID field.
struct FieldKey {
    const char* key;
    CallerIdField field;
};

// "KEY: value" lines of other vendors' modems and adapters.
constexpr FieldKey kColonKeys[] = {
    {"CALLER NUMBER:", CallerIdField::Number},
    {"CALLER'S NUMBER:", CallerIdField::Number},
    {"CALLERID:", CallerIdField::Number},
    {"CALLER NAME:", CallerIdField::Name},
    {"REASON FOR NO CALLER NUMBER:", CallerIdField::Number},
    {"REASON FOR NO CALLER NAME:", CallerIdField::Name},
    {"TIME:", CallerIdField::Time},
};

// "KEY = value" lines of the formatted caller-ID report, under all the names modems give the number.
constexpr FieldKey kEqualsKeys[] = {
    {"DATE", CallerIdField::Date},  {"TIME", CallerIdField::Time},       {"NMBR", CallerIdField::Number},
    {"NAME", CallerIdField::Name},  {"DDN_NMBR", CallerIdField::Number}, {"DDN", CallerIdField::Number},
    {"NBR", CallerIdField::Number},
};

bool readEqualsLine(QByteArrayView line, ModemEvents& events)
{
    const qsizetype equals = line.indexOf('=');
    if (equals < 0)
        return false;
    const QByteArrayView key = line.first(equals).trimmed();
    const QByteArrayView value = line.sliced(equals + 1);
    for (const FieldKey& known : kEqualsKeys) {
        if (key == known.key) {
            addField(events, known.field, value);
            return true;
        }
    }
    if (key == "DATE TIME") {
        const QByteArrayView both = value.trimmed();
        const qsizetype blank = both.indexOf(' ');
        addField(events, CallerIdField::Date, blank < 0 ? both : both.first(blank));
        if (blank >= 0)
            addField(events, CallerIdField::Time, both.sliced(blank + 1));
        return true;
    }
    if (key == "MESG") {
        if (const std::optional<CallerIdMessage> message =
                CallerIdMessage::fromHexParameters(value.trimmed()))
            addMessage(events, *message);
        return true;
    }
    return false;
}

} // namespace

ModemEvents readModemLine(QByteArrayView rawLine)
{
    ModemEvents events;
    const QByteArrayView line = rawLine.trimmed();
    if (line == "OK") {
        events.append(reply(ModemReply::Ok));
    } else if (line == "ERROR") {
        events.append(reply(ModemReply::Error));
    } else if (readRing(line, events)) {
    } else if (line.startsWith("+CLIP:")) {
        readClip(line.sliced(6), events);
    } else if (line.startsWith("FM:")) {
        // "FM:number TO:called number": the called number is never the caller's.
        const QByteArrayView from = line.sliced(3);
        const qsizetype to = from.indexOf("TO:");
        addField(events, CallerIdField::Number, to < 0 ? from : from.first(to));
    } else if (readEqualsLine(line, events)) {
    } else if (const std::optional<CallerIdMessage> message = CallerIdMessage::fromHexLine(line)) {
        addMessage(events, *message);
    } else {
        for (const FieldKey& known : kColonKeys) {
            if (startsWithWord(line, known.key)) {
                addField(events, known.field, line.sliced(qstrlen(known.key)));
                return events;
            }
        }
        // Older reports were known by their first four characters ("NMBR:5550100" has no value).
        for (const FieldKey& known : kEqualsKeys) {
            if (qstrlen(known.key) == 4 && line.startsWith(known.key)) {
                const qsizetype equals = line.indexOf('=');
                addField(events, known.field, equals < 0 ? QByteArrayView() : line.sliced(equals + 1));
                return events;
            }
        }
        events.append(eventOf(ModemEvent::Kind::Other));
    }
    return events;
}
