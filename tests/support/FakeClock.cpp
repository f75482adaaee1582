#include "FakeClock.h"

class FakeClockTimer : public ClockTimer
{
public:
    explicit FakeClockTimer(FakeClock& clock)
        : m_clock(clock)
    {
        m_clock.m_timers.append(this);
    }
    ~FakeClockTimer() override { m_clock.m_timers.removeOne(this); }

    void start(int msec) override
    {
        m_interval = std::max(msec, 1);
        m_due = m_clock.m_now.addMSecs(m_interval);
        m_active = true;
    }
    void stop() override { m_active = false; }
    bool isActive() const override { return m_active; }

    void fire()
    {
        if (isSingleShot())
            m_active = false;
        else
            m_due = m_due.addMSecs(m_interval);
        emit timeout();
    }

    FakeClock& m_clock;
    QDateTime m_due;
    int m_interval = 1;
    bool m_active = false;
};

FakeClock::FakeClock(QDateTime start)
    : m_now(std::move(start))
{
}

FakeClock::~FakeClock() = default;

std::unique_ptr<ClockTimer> FakeClock::createTimer()
{
    return std::make_unique<FakeClockTimer>(*this);
}

qint64 FakeClock::msecsToNextTimer() const
{
    qint64 next = -1;
    for (const FakeClockTimer* timer : m_timers) {
        if (timer->m_active) {
            const qint64 wait = m_now.msecsTo(timer->m_due);
            if (next < 0 || wait < next)
                next = wait;
        }
    }
    return next;
}

void FakeClock::advance(qint64 msec)
{
    const QDateTime target = m_now.addMSecs(msec);
    for (;;) {
        FakeClockTimer* due = nullptr;
        for (FakeClockTimer* timer : std::as_const(m_timers)) {
            if (timer->m_active && timer->m_due <= target && (!due || timer->m_due < due->m_due))
                due = timer;
        }
        if (!due)
            break;
        m_now = due->m_due;
        due->fire();
    }
    m_now = target;
}
