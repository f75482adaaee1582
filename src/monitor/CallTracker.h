#pragma once

#include "CallStore.h"
#include "ModemDialect.h"

#include <QObject>
#include <QString>

#include <memory>

class Clock;
class ClockTimer;

// Turns rings and caller-ID fields, from whatever source, into calls: each call is looked up in the phone
// list, logged once and reported through callCompleted(); a field that arrives after its call was logged
// completes the logged row (callUpdated()). Eight seconds after the last ring the call is over.
// callSettled() reports each call once more, when no late field can change it any more: for listeners that
// cannot take an update, such as NCID clients, which would show a second call.
class CallTracker : public QObject
{
    Q_OBJECT
public:
    static constexpr double kRingTimeoutSeconds = 8.0;
    static constexpr int kRingTimerMs = 350;
    // A modem sends the lines of one caller-ID message together: a line not come within a second is not
    // coming.
    static constexpr int kLateLineMs = 1000;

    CallTracker(CallStore& store, Clock& clock, QObject* parent = nullptr);
    ~CallTracker() override;

    void ring();
    // Values are taken as CallRules::printable() makes them, whatever the source sent.
    void field(CallerIdField field, const QString& sent);
    // A whole caller report from a network source: a call of its own, logged once.
    void report(const QString& sentNumber, const QString& sentName);
    // A ring reported by a network source, which reports every call whole: it keeps the call open and
    // completes nothing.
    void keepRinging();
    // The source says the ringing is over: so is the call.
    void endCall();
    // The rings and fields of a modem's line; replies and other reports mean nothing for a call.
    void take(const ModemEvents& events);

    // True: the modem's names are ignored and names come only from the phone list.
    void setUseNameList(bool useNameList) { m_useNameList = useNameList; }
    bool useNameList() const { return m_useNameList; }

    // The current call, as the caller boxes show it; empty between calls.
    QString number() const { return m_number; }
    QString callName() const { return m_callName; }
    int ringCount() const { return m_ringCount; }
    // The last received number that the phone list did not name, as received.
    QString unknownNumber() const { return m_unknownNumber; }
    void setUnknownNumber(const QString& number) { m_unknownNumber = number; }

signals:
    // ringDoorbell: the phone list asks for the doorbell for this caller, and this report is the first of
    // the call to know it.
    void callCompleted(const LoggedCall& call, bool ringDoorbell);
    void callUpdated(const LoggedCall& call, bool ringDoorbell);
    void callSettled(const LoggedCall& call);
    void callOver();
    // A modem's ring, with the count of the call's rings so far.
    void rang(int ringCount);

private:
    void ringTimerTick();
    // The number or the name as the source sent it for the current call.
    QString& received(CallerIdField field);
    void resetCall(int ringCount);
    void lookUp(const QString& value);
    void completeCall();
    void completeLoggedCall(CallerIdField field, const QString& value);
    bool takeDoorbell();
    // What a late field may still complete of the logged call.
    bool numberMayCome() const;
    bool nameMayCome() const;
    void settle();

    CallStore& m_store;
    Clock& m_clock;
    std::unique_ptr<ClockTimer> m_ringTimer;
    std::unique_ptr<ClockTimer> m_lateLineTimer;
    bool m_useNameList = false;

    QString m_number;
    QString m_callName;
    QString m_receivedNumber; // the caller as the source sent it, to know a repeat
    QString m_receivedName;
    double m_ringTime = 0;
    int m_ringCount = 0;
    QString m_unknownNumber;

    bool m_logged = false;          // the current call has its row
    bool m_ringSinceLogged = false; // so caller-ID fields now start the next call's report
    bool m_namedByPhoneList = false;
    bool m_playDoorbell = false;
    bool m_doorbellRung = false;
    bool m_settled = false;
    LoggedCall m_loggedCall;
};
