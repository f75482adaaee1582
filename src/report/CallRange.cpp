#include "CallRange.h"

#include "CallSchema.h"
#include "DateTimeText.h"

#include <QStringList>

QString CallRange::storedStart() const
{
    return start.toString(CallSchema::kDateTimeFormat);
}

QString CallRange::storedEnd() const
{
    return end.toString(CallSchema::kDateTimeFormat);
}

QString CallRange::describe() const
{
    return QStringLiteral("%1 to %2").arg(dateTimeText(start), dateTimeText(end));
}

std::optional<QTime> readTime(const QString& text)
{
    static const QStringList formats{QStringLiteral("H:mm:ss"), QStringLiteral("H:mm"),
                                     QStringLiteral("h:mm:ss AP"), QStringLiteral("h:mm AP")};
    const QString trimmed = text.trimmed();
    for (const QString& format : formats) {
        const QTime time = QTime::fromString(trimmed, format);
        if (time.isValid())
            return time;
    }
    return std::nullopt;
}
