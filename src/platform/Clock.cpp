#include "Clock.h"

#include <QTimer>

double Clock::secondsSinceMidnight() const
{
    return now().time().msecsSinceStartOfDay() / 1000.0;
}

QDateTime SystemClock::now() const
{
    return QDateTime::currentDateTime();
}

namespace
{

class SystemClockTimer : public ClockTimer
{
public:
    SystemClockTimer()
    {
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (isSingleShot())
                m_timer.stop();
            emit timeout();
        });
    }
    void start(int msec) override { m_timer.start(msec); }
    void stop() override { m_timer.stop(); }
    bool isActive() const override { return m_timer.isActive(); }

private:
    QTimer m_timer;
};

} // namespace

std::unique_ptr<ClockTimer> SystemClock::createTimer()
{
    return std::make_unique<SystemClockTimer>();
}
