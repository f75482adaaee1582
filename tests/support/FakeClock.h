#pragma once

#include "Clock.h"

#include <QList>

// Simulated time: timers fire only when a test advances the clock.
class FakeClock : public Clock
{
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    ~FakeClock() override;

    QDateTime now() const override { return m_now; }
    std::unique_ptr<ClockTimer> createTimer() override;

    void setNow(const QDateTime& now) { m_now = now; }
    // Moves time on by msec, firing every timer that falls due on the way, in order.
    void advance(qint64 msec);
    // Milliseconds until the next timer falls due, or -1 when none is running.
    qint64 msecsToNextTimer() const;

private:
    friend class FakeClockTimer;
    QDateTime m_now;
    QList<class FakeClockTimer*> m_timers;
};
