#pragma once

#include <QByteArray>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>

class CallParser;
class Clock;
class ClockTimer;
class SerialLine;

// Starting and stopping the watch on the line: open the port, reset the modem, switch on its caller-ID
// reporting (the stored command, or the known commands in turn), each reply awaited at most two seconds.
// The sequence is a chain of states driven by replies and timer ticks; nothing blocks the UI thread.
class MonitoringControl : public QObject
{
    Q_OBJECT
public:
    enum class MessageKind { Plain, Critical };

    static constexpr int kReplyTimeoutMs = 2000;
    static const QStringList kCallerIdCommands;

    MonitoringControl(SerialLine& line, CallParser& parser, Clock& clock, QObject* parent = nullptr);
    ~MonitoringControl() override;

    void setPort(int portNumber, const QString& devicePath);
    int port() const { return m_port; }
    void setInitCallerID(const QString& command) { m_initCallerID = command; }
    QString initCallerID() const { return m_initCallerID; }

    // The Start/Stop button: stops while monitoring, starts otherwise; ignored while a start is under way.
    void startStopMonitoring();
    // Closes the port without talking to the modem, as at exit.
    void closePort();

    bool isMonitoring() const { return m_monitoring; }
    bool isStarting() const { return m_starting; }
    bool isWaitingForReply() const;

signals:
    void monitoringChanged(bool monitoring);
    void startingChanged(bool starting);
    void message(const QString& text, MonitoringControl::MessageKind kind);
    void statusChanged(const QString& text);

private:
    void stop();
    void start();
    void waitForReply(std::function<void()> then);
    void endWait();
    void send(const QByteArray& command);
    void afterReset();
    void tryCommand(int index);
    void afterCommand(int index);
    void conclude(const QString& command);
    void finishStart();
    void lineLost(const QString& reason);
    QString portName() const;

    SerialLine& m_line;
    CallParser& m_parser;
    std::unique_ptr<ClockTimer> m_replyTimer;
    std::function<void()> m_afterWait;
    QStringList m_commands;
    QString m_initCallerID;
    QString m_devicePath;
    int m_port = 1;
    bool m_monitoring = false;
    bool m_starting = false;
};
