#pragma once

#include "CallTracker.h"
#include "LineAssembler.h"
#include "ModemDialect.h"
#include "NcidClient.h"
#include "SerialLine.h"

#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class CallStore;
class Clock;
class ClockTimer;

// The watch on the modem's line: the serial port, the lines it delivers read as modem events, and the
// calls they make. Starting opens the port, resets the modem and switches on its caller-ID reporting (the
// stored command, or the known commands in turn), each reply awaited at most two seconds. The sequence is a
// chain of states driven by replies and timer ticks; nothing blocks the UI thread.
class LineMonitor : public QObject
{
    Q_OBJECT
public:
    enum class MessageKind { Plain, Critical };

    static constexpr int kReplyTimeoutMs = 2000;
    static const QStringList kCallerIdCommands;

    LineMonitor(CallStore& store, Clock& clock, QObject* parent = nullptr);
    ~LineMonitor() override;

    void setPort(int portNumber, const QString& devicePath);
    int port() const { return m_port; }
    QString devicePath() const { return m_devicePath; }
    // Moves the watch to another port: an open port is closed and the new one opened in its place. When
    // that fails, the old port is back as it was and *error says why.
    bool switchPort(int portNumber, const QString& devicePath, QString* error);
    void setInitCallerID(const QString& command) { m_initCallerID = command; }
    // Calls come from an NCID server instead of the modem; an empty host means the modem.
    void setNcidServer(const QString& host, quint16 port);
    bool watchesNetwork() const { return !m_ncidHost.isEmpty(); }
    // The port of Nimbrel's own NCID server, 0 when it serves none: a source must not be that server.
    void setOwnNcidPort(quint16 port) { m_ownNcidPort = port; }
    QString ncidHost() const { return m_ncidHost; }
    quint16 ncidPort() const { return m_ncidPort; }
    QString initCallerID() const { return m_initCallerID; }
    CallTracker& calls() { return m_tracker; }

    // The Start/Stop button: stops while monitoring, starts otherwise; ignored while a start is under way.
    void startStopMonitoring();
    // Closes the port without talking to the modem, as at exit.
    void closePort();

    bool isMonitoring() const { return m_monitoring; }
    bool isStarting() const { return m_starting; }
    // The port can stay open without monitoring: when the modem did not answer the caller-ID command.
    bool isPortOpen() const { return m_line.isOpen(); }

signals:
    void replyReceived(ModemReply reply);
    // The calls, as CallTracker reports them.
    void callCompleted(const LoggedCall& call, bool ringDoorbell);
    void callUpdated(const LoggedCall& call, bool ringDoorbell);
    void callSettled(const LoggedCall& call);
    void callOver();
    void rang(int ringCount);
    void monitoringChanged(bool monitoring);
    void startingChanged(bool starting);
    void message(const QString& text, LineMonitor::MessageKind kind);
    void statusChanged(const QString& text);

private:
    bool openLine(QString* error);
    void readLine(const QByteArray& line);
    void takeReply(ModemReply reply);
    void clearReplies() { m_ok = m_error = false; }
    void stop();
    void start();
    void startNetwork();
    void refuseIfOwnServer(const QHostAddress& address, quint16 port);
    void refuseOwnServer();
    void waitForReply(std::function<void()> then);
    void endWait();
    void send(const QByteArray& command);
    void afterReset();
    void tryCommand(int index);
    void afterCommand(int index);
    void conclude(const QString& command);
    void finishStart();
    void lineLost(const QString& reason);
    void resume();
    QString portName() const;

    SerialLine m_line;
    NcidClient m_ncid;
    QString m_ncidHost;
    quint16 m_ncidPort = NcidClient::kDefaultPort;
    quint16 m_ownNcidPort = 0;
    LineAssembler m_lines;
    CallTracker m_tracker;
    std::unique_ptr<ClockTimer> m_replyTimer;
    std::function<void()> m_afterWait;
    QStringList m_commands;
    QString m_initCallerID;
    QString m_devicePath;
    int m_port = 1;
    bool m_ok = false;    // the modem answered OK since the replies were last cleared
    bool m_error = false; // ... or ERROR
    bool m_monitoring = false;
    bool m_starting = false;
};
