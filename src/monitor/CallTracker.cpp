#include "CallTracker.h"

#include "CallRules.h"
#include "Clock.h"

CallTracker::CallTracker(CallStore& store, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_clock(clock)
    , m_ringTimer(clock.createTimer())
    , m_lateLineTimer(clock.createTimer())
{
    connect(m_ringTimer.get(), &ClockTimer::timeout, this, &CallTracker::ringTimerTick);
    m_lateLineTimer->setSingleShot(true);
    connect(m_lateLineTimer.get(), &ClockTimer::timeout, this, &CallTracker::settle);
}

CallTracker::~CallTracker() = default;

void CallTracker::ring()
{
    settle(); // fields after a ring start the next call's report
    ++m_ringCount;
    m_ringSinceLogged = m_logged;
    keepRinging();
    emit rang(m_ringCount);
    // Without any caller ID, the second ring completes the call.
    if (m_number.isEmpty() && m_callName.isEmpty() && m_ringCount >= 2)
        completeCall();
}

void CallTracker::field(CallerIdField field, const QString& sent)
{
    const QString value = CallRules::printable(sent);
    // The date and time say nothing of who calls; they neither start nor complete a call.
    if (field == CallerIdField::Date || field == CallerIdField::Time)
        return;
    if (m_logged) {
        if (!m_ringSinceLogged) {
            completeLoggedCall(field, value);
            return;
        }
        // GSM and ISDN adapters repeat the caller at every ring: the same caller again is the same call.
        if (value == received(field))
            return;
        // Another caller rang before the previous call was over: this is a new call.
        resetCall(1);
    }
    received(field) = value;
    if (field == CallerIdField::Number) {
        m_number = value;
        if (!m_number.isEmpty() && m_callName.isEmpty()) {
            lookUp(value);
            completeCall();
        }
    } else if (field == CallerIdField::Name && !m_useNameList) {
        m_callName = value;
        if (!m_callName.isEmpty())
            completeCall();
    }
}

void CallTracker::report(const QString& sentNumber, const QString& sentName)
{
    const QString number = CallRules::printable(sentNumber);
    const QString name = CallRules::printable(sentName);
    resetCall(m_ringCount);
    m_receivedNumber = m_number = number;
    m_receivedName = name;
    if (!m_useNameList)
        m_callName = name;
    if (!number.isEmpty())
        lookUp(number);
    completeCall();
    settle(); // a network source reports a call whole
}

void CallTracker::keepRinging()
{
    m_ringTime = m_clock.secondsSinceMidnight();
    if (!m_ringTimer->isActive())
        m_ringTimer->start(kRingTimerMs);
}

void CallTracker::endCall()
{
    if (!m_ringTimer->isActive())
        return;
    m_ringTimer->stop();
    resetCall(0);
    emit callOver();
}

void CallTracker::take(const ModemEvents& events)
{
    for (const ModemEvent& event : events) {
        if (event.kind == ModemEvent::Kind::Ring)
            ring();
        else if (event.kind == ModemEvent::Kind::Field)
            field(event.field, event.value);
    }
}

QString& CallTracker::received(CallerIdField field)
{
    return field == CallerIdField::Number ? m_receivedNumber : m_receivedName;
}

void CallTracker::resetCall(int ringCount)
{
    settle();
    m_number.clear();
    m_callName.clear();
    m_receivedNumber.clear();
    m_receivedName.clear();
    m_ringCount = ringCount;
    m_logged = false;
    m_ringSinceLogged = false;
    m_namedByPhoneList = false;
    m_playDoorbell = false;
    m_doorbellRung = false;
    m_settled = false;
}

void CallTracker::lookUp(const QString& value)
{
    const std::optional<CallerMatch> match = m_store.lookupCaller(value);
    m_playDoorbell = match && match->playDoorbell;
    m_namedByPhoneList = match && !match->name.isEmpty();
    if (m_namedByPhoneList)
        m_callName = match->name;
    else if (!CallRules::isReasonCode(value))
        m_unknownNumber = value;
}

bool CallTracker::takeDoorbell()
{
    const bool ring = m_playDoorbell && !m_doorbellRung;
    m_doorbellRung = m_doorbellRung || ring;
    return ring;
}

void CallTracker::completeCall()
{
    m_loggedCall = m_store.logCall(m_number, m_callName);
    m_logged = true;
    // Caller ID can come before the first ring (much of Europe): the call is over eight seconds from here
    // unless a ring follows.
    if (!m_ringTimer->isActive())
        keepRinging();
    m_ringSinceLogged = false;
    emit callCompleted(m_loggedCall, takeDoorbell());
    if (numberMayCome() || nameMayCome())
        m_lateLineTimer->start(kLateLineMs);
    else
        settle();
}

bool CallTracker::numberMayCome() const
{
    return m_loggedCall.number == CallRules::kNoNumber;
}

bool CallTracker::nameMayCome() const
{
    return m_loggedCall.name == CallRules::kUnknownCaller && !m_namedByPhoneList && !m_useNameList;
}

void CallTracker::settle()
{
    if (!m_logged || m_settled)
        return;
    m_settled = true;
    m_lateLineTimer->stop();
    emit callSettled(m_loggedCall);
}

void CallTracker::completeLoggedCall(CallerIdField field, const QString& value)
{
    received(field) = value;
    LoggedCall call = m_loggedCall;
    if (field == CallerIdField::Number && numberMayCome() && !value.isEmpty()) {
        call.number = value;
        lookUp(value);
        if (m_namedByPhoneList)
            call.name = m_callName;
    } else if (field == CallerIdField::Name && nameMayCome() && !value.isEmpty()) {
        call.name = value;
    } else {
        return;
    }
    CallRules::applyReasonWords(call.number, call.name);
    m_number = call.number;
    m_callName = call.name;
    m_loggedCall = call;
    m_store.updateLastCall(call);
    emit callUpdated(call, takeDoorbell());
    if (!numberMayCome() && !nameMayCome())
        settle();
}

void CallTracker::ringTimerTick()
{
    const double now = m_clock.secondsSinceMidnight();
    if (now < m_ringTime) {
        m_ringTime = now; // midnight passed since the last ring: measure again from here
        return;
    }
    if (m_ringTime + kRingTimeoutSeconds < now)
        endCall();
}
