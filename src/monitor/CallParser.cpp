#include "CallParser.h"

#include "CallRules.h"
#include "Clock.h"

namespace
{

// Modem bytes are kept one character per byte, so a value is stored exactly as it was received.
QString valueOf(const QByteArray& line)
{
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QString() : QString::fromLatin1(line.mid(equals + 1));
}

bool isCallerIdKey(const QByteArray& key)
{
    return key == "DATE" || key == "TIME" || key == "NMBR" || key == "NAME";
}

} // namespace

CallParser::CallParser(CallStore& store, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_clock(clock)
{
}

void CallParser::parseLine(const QByteArray& line)
{
    if (line == "OK" || line == "ERROR") {
        (line == "OK" ? bOK : bError) = true;
        emit replyReceived();
        ringCheck();
        return;
    }
    if (line == "RING") {
        m_ringing = true;
        ++m_ringCount;
        m_ringTime = m_clock.secondsSinceMidnight();
        m_ringSinceLogged = m_logged;
        ringCheck();
        return;
    }

    const QByteArray key = line.left(4);
    const bool nameLineTaken = key == "NAME" && !m_useNameList;
    if (m_logged && isCallerIdKey(key)) {
        if (m_ringSinceLogged) {
            startNewReport();
        } else {
            completeLoggedCall(key, valueOf(line));
            return;
        }
    }

    QString value;
    if (key == "NMBR") {
        value = valueOf(line);
        m_number = value;
    } else if (nameLineTaken) {
        m_callName = valueOf(line);
        if (!m_callName.isEmpty()) {
            completeCall();
            return;
        }
    }
    numberCheck(value);
}

void CallParser::numberCheck(const QString& value)
{
    if (m_number.isEmpty() || !m_callName.isEmpty()) {
        ringCheck();
        return;
    }
    lookUp(value);
    completeCall();
}

void CallParser::lookUp(const QString& value)
{
    const std::optional<CallerMatch> match = m_store.lookupCaller(value);
    m_playDoorbell = match && match->playDoorbell;
    m_namedByPhoneList = match && !match->name.isEmpty();
    if (m_namedByPhoneList)
        m_callName = match->name;
    else
        m_unknownNumber = value;
}

void CallParser::ringCheck()
{
    if (m_number.isEmpty() && m_callName.isEmpty() && m_ringCount >= 2)
        completeCall();
}

void CallParser::completeCall()
{
    m_loggedCall = m_store.logCall(m_number, m_callName);
    m_logged = true;
    m_ringSinceLogged = false;
    emit callCompleted(m_loggedCall);
}

void CallParser::startNewReport()
{
    // A caller rang again before the ring timer closed the previous call: this is a new call.
    m_number.clear();
    m_callName.clear();
    m_ringCount = 1;
    m_logged = false;
    m_namedByPhoneList = false;
}

void CallParser::completeLoggedCall(const QByteArray& key, const QString& value)
{
    LoggedCall call = m_loggedCall;
    if (key == "NMBR" && call.number == CallRules::kNoNumber && !value.isEmpty()) {
        call.number = value;
        lookUp(value);
        if (m_namedByPhoneList)
            call.name = m_callName;
    } else if (key == "NAME" && !m_useNameList && !value.isEmpty() && call.name == CallRules::kUnknownCaller
               && !m_namedByPhoneList) {
        call.name = value;
    } else {
        return;
    }
    CallRules::applyReasonWords(call.number, call.name);
    m_number = call.number;
    m_callName = call.name;
    m_loggedCall = call;
    m_store.updateLastCall(call);
    emit callUpdated(call);
}

void CallParser::ringTimerTick()
{
    if (!m_ringing)
        return;
    const double now = m_clock.secondsSinceMidnight();
    if (now < m_ringTime) {
        m_ringTime = now; // midnight passed since the last ring: measure again from here
        return;
    }
    if (m_ringTime + kRingTimeoutSeconds < now) {
        m_ringing = false;
        m_number.clear();
        m_callName.clear();
        m_ringCount = 0;
        m_logged = false;
        m_ringSinceLogged = false;
        emit callClosed();
    }
}
