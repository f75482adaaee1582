#pragma once

#include <QDateTime>
#include <QString>

// A call's date and time as the user reads it: the locale's short date and its time with seconds.
QString dateTimeText(const QDateTime& dateTime);
