#pragma once

#include "CallStore.h"

#include <QByteArray>
#include <QObject>
#include <QString>

class Clock;

// The caller-ID parser: each line from the modem becomes a reply flag, a ring, or part of the current
// call; a complete call is logged and announced through callCompleted(). One report (the caller-ID lines
// of one call, in whatever order the modem sends them) is one call: a line that arrives after its call
// was logged completes the logged row instead of logging a second call.
class CallParser : public QObject
{
    Q_OBJECT
public:
    // Seconds without a ring after which a call is over.
    static constexpr double kRingTimeoutSeconds = 8.0;

    CallParser(CallStore& store, Clock& clock, QObject* parent = nullptr);

    void parseLine(const QByteArray& line);
    // The ring timer's tick: closes the call eight seconds after its last ring.
    void ringTimerTick();

    void setUseNameList(bool useNameList) { m_useNameList = useNameList; }
    bool useNameList() const { return m_useNameList; }

    // The reply flags of the modem initialisation.
    bool bOK = false;
    bool bError = false;
    void clearReplyFlags() { bOK = bError = false; }

    // The current call, as the caller boxes show it.
    QString number() const { return m_number; }
    QString callName() const { return m_callName; }
    int ringCount() const { return m_ringCount; }
    bool playDoorbell() const { return m_playDoorbell; }
    // The last received number that the phone list did not name.
    QString unknownNumber() const { return m_unknownNumber; }
    void setUnknownNumber(const QString& number) { m_unknownNumber = number; }

signals:
    void replyReceived();
    void callCompleted(const LoggedCall& call);
    void callUpdated(const LoggedCall& call);
    void callClosed();

private:
    void numberCheck(const QString& value);
    void ringCheck();
    void completeCall();
    void startNewReport();
    void completeLoggedCall(const QByteArray& key, const QString& value);
    void lookUp(const QString& value);

    CallStore& m_store;
    Clock& m_clock;
    bool m_useNameList = false;

    QString m_number;
    QString m_callName;
    bool m_ringing = false;
    double m_ringTime = 0;
    int m_ringCount = 0;
    bool m_playDoorbell = false;
    QString m_unknownNumber;

    bool m_logged = false;          // the current call has its row
    bool m_ringSinceLogged = false; // so caller-ID lines now start the next call's report
    bool m_namedByPhoneList = false;
    LoggedCall m_loggedCall;
};
