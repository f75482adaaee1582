#pragma once

#include <QDateTime>
#include <QObject>

#include <memory>

// A timer whose time comes from a Clock, so that waits of seconds run in simulated time under test.
class ClockTimer : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
    virtual void start(int msec) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    void setSingleShot(bool singleShot) { m_singleShot = singleShot; }
    bool isSingleShot() const { return m_singleShot; }

signals:
    void timeout();

private:
    bool m_singleShot = false;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    virtual std::unique_ptr<ClockTimer> createTimer() = 0;

    // Seconds since local midnight, with fractions: the measure that ring times are kept in.
    double secondsSinceMidnight() const;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override;
    std::unique_ptr<ClockTimer> createTimer() override;
};
