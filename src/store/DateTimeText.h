#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

// A call's date and time as the user reads it: the locale's short date and its time with seconds.
class DateTimeText
{
public:
    DateTimeText();
    QString operator()(const QDateTime& dateTime) const;
    QString operator()(QDate date, QTime time) const;
    // From the form the database stores ("yyyy-MM-dd HH:mm:ss").
    QString fromStored(const QString& stored) const;

private:
    QString timeText(QTime time) const;

    QLocale m_locale;
    QString m_timeFormat;
    // Calls come in time order, so the last date's text is usually the next one's too.
    mutable QDate m_lastDate;
    mutable QString m_lastDateText;
};

QString dateTimeText(const QDateTime& dateTime);
