#include "CallRules.h"

#include "CallSchema.h"

namespace CallRules
{

namespace
{

QString reasonWord(const QString& text)
{
    const QString code = text.trimmed();
    if (code == QLatin1String("O"))
        return kUnavailable;
    if (code == QLatin1String("P"))
        return kBlocked;
    return {};
}

} // namespace

QString printable(const QString& value)
{
    QString text = value;
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Control && c != QLatin1Char('\t'); });
    return text;
}

bool isReasonCode(const QString& value)
{
    return !reasonWord(value).isEmpty();
}

void applyReasonWords(QString& number, QString& name)
{
    if (number.isEmpty()) {
        number = kNoNumber;
    } else if (const QString word = reasonWord(number); !word.isEmpty()) {
        number = word;
        name = word;
    }
    if (name.isEmpty())
        name = kUnknownCaller;
    else if (const QString word = reasonWord(name); !word.isEmpty())
        name = word;
    number.truncate(CallSchema::kNumberSize);
    name.truncate(CallSchema::kNameSize);
}

} // namespace CallRules
