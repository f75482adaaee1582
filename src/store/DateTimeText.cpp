#include "DateTimeText.h"

DateTimeText::DateTimeText()
    : m_timeFormat(m_locale.timeFormat(QLocale::LongFormat))
{
    // The long time format carries the time zone's name, which a list of local calls does not need.
    m_timeFormat.remove(QLatin1Char('t'));
    m_timeFormat = m_timeFormat.trimmed();
}

QString DateTimeText::operator()(const QDateTime& dateTime) const
{
    return m_locale.toString(dateTime.date(), QLocale::ShortFormat) + QLatin1Char(' ')
           + m_locale.toString(dateTime.time(), m_timeFormat);
}

QString DateTimeText::fromStored(const QString& stored) const
{
    // Read by position: this runs once for every line of a report of a million calls.
    const auto number = [&](int from, int length) { return QStringView(stored).mid(from, length).toInt(); };
    const QDateTime dateTime(QDate(number(0, 4), number(5, 2), number(8, 2)),
                             QTime(number(11, 2), number(14, 2), number(17, 2)));
    return dateTime.isValid() ? (*this)(dateTime) : stored;
}

QString dateTimeText(const QDateTime& dateTime)
{
    static const DateTimeText format;
    return format(dateTime);
}
