#pragma once

#include <QDateTime>
#include <QString>

#include <optional>

// The calls from start to end, both included.
struct CallRange {
    QDateTime start;
    QDateTime end;

    // The two ends as the database stores them, for comparing with PhoneCalls.datetime.
    QString storedStart() const;
    QString storedEnd() const;
    QString describe() const;
};

// Reads the text of a time box: "14:30:00", "14:30", "2:30:00 PM", "2:30 PM". Anything else, "25:00"
// among it, does not read as a time.
std::optional<QTime> readTime(const QString& text);
