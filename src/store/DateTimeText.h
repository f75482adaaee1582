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
    // From the form the database stores ("yyyy-MM-dd HH:mm:ss").
    QString fromStored(const QString& stored) const;

private:
    QLocale m_locale;
    QString m_timeFormat;
};

QString dateTimeText(const QDateTime& dateTime);
