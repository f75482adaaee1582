#include "DateTimeText.h"

#include <QRegularExpression>

DateTimeText::DateTimeText()
    : m_timeFormat(m_locale.timeFormat(QLocale::LongFormat))
{
    // The long time format carries the time zone's name, which a list of local calls does not need; some
    // locales put it in brackets ("H:mm:ss (t)"), which go with it.
    static const QRegularExpression timeZone(QStringLiteral("\\(?\\bt\\b\\)?"));
    m_timeFormat.remove(timeZone);
    m_timeFormat = m_timeFormat.trimmed();
}

QString DateTimeText::operator()(const QDateTime& dateTime) const
{
    return (*this)(dateTime.date(), dateTime.time());
}

QString DateTimeText::operator()(QDate date, QTime time) const
{
    if (date != m_lastDate) {
        m_lastDate = date;
        m_lastDateText = m_locale.toString(date, QLocale::ShortFormat);
    }
    return m_lastDateText + QLatin1Char(' ') + timeText(time);
}

QString DateTimeText::timeText(QTime time) const
{
    // Most locales show a 24-hour clock; writing it directly saves parsing the format for every call.
    if (m_timeFormat == QLatin1String("HH:mm:ss") || m_timeFormat == QLatin1String("H:mm:ss")) {
        const auto twoDigits = [](int value) { return QChar(u'0' + value / 10); };
        QString text;
        text.reserve(8);
        if (time.hour() >= 10 || m_timeFormat.startsWith(QLatin1String("HH")))
            text += twoDigits(time.hour());
        text += QChar(u'0' + time.hour() % 10);
        text += QLatin1Char(':');
        text += twoDigits(time.minute());
        text += QChar(u'0' + time.minute() % 10);
        text += QLatin1Char(':');
        text += twoDigits(time.second());
        text += QChar(u'0' + time.second() % 10);
        return text;
    }
    return m_locale.toString(time, m_timeFormat);
}

QString DateTimeText::fromStored(const QString& stored) const
{
    // Read by position and never as a local QDateTime, whose every construction consults the time zone
    // files: this runs once for every line of a report of a million calls.
    const auto number = [&](int from, int length) { return QStringView(stored).mid(from, length).toInt(); };
    const QDate date(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2), number(17, 2));
    return date.isValid() && time.isValid() ? (*this)(date, time) : stored;
}

QString dateTimeText(const QDateTime& dateTime)
{
    static const DateTimeText format;
    return format(dateTime);
}
