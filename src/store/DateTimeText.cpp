#include "DateTimeText.h"

#include <QLocale>

QString dateTimeText(const QDateTime& dateTime)
{
    const QLocale locale;
    // The long time format carries the time zone's name, which a list of local calls does not need.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    return locale.toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + locale.toString(dateTime.time(), timeFormat.trimmed());
}
