#include "MonitoringControl.h"

#include "CallParser.h"
#include "Clock.h"
#include "SerialLine.h"

#include <QTimer>

const QStringList MonitoringControl::kCallerIdCommands = {
    QStringLiteral("AT#CID=1"), QStringLiteral("AT+VCID=1"), QStringLiteral("AT%CCID=1"),
    QStringLiteral("AT#CC1"),   QStringLiteral("AT*ID1"),
};

MonitoringControl::MonitoringControl(SerialLine& line, CallParser& parser, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_line(line)
    , m_parser(parser)
    , m_replyTimer(clock.createTimer())
{
    m_replyTimer->setSingleShot(true);
    connect(m_replyTimer.get(), &ClockTimer::timeout, this, &MonitoringControl::endWait);
    connect(&m_parser, &CallParser::replyReceived, this, [this] {
        if (m_replyTimer->isActive())
            endWait();
    });
    connect(&m_line, &SerialLine::lost, this, &MonitoringControl::lineLost);
}

MonitoringControl::~MonitoringControl() = default;

void MonitoringControl::setPort(int portNumber, const QString& devicePath)
{
    m_port = portNumber;
    m_devicePath = devicePath;
}

QString MonitoringControl::portName() const
{
    return QStringLiteral("%1 (%2)").arg(m_port).arg(m_devicePath);
}

bool MonitoringControl::isWaitingForReply() const
{
    return m_replyTimer->isActive();
}

void MonitoringControl::startStopMonitoring()
{
    if (m_starting)
        return;
    if (m_monitoring)
        stop();
    else
        start();
}

void MonitoringControl::stop()
{
    m_line.setControlLines(false);
    m_line.close();
    m_monitoring = false;
    emit monitoringChanged(false);
    emit statusChanged(QStringLiteral("Monitoring stopped."));
}

void MonitoringControl::closePort()
{
    m_replyTimer->stop();
    m_afterWait = nullptr;
    m_line.close();
}

void MonitoringControl::start()
{
    m_starting = true;
    emit startingChanged(true);
    m_commands = m_initCallerID.isEmpty() ? kCallerIdCommands : QStringList{m_initCallerID};
    if (!m_line.isOpen()) {
        QString error;
        if (!m_line.open(m_devicePath, &error)) {
            emit message(QStringLiteral("Cannot open comm port %1: %2").arg(portName(), error),
                         MessageKind::Critical);
            finishStart();
            return;
        }
    }
    emit statusChanged(QStringLiteral("Resetting the modem on port %1...").arg(portName()));
    m_line.setControlLines(true);
    m_parser.clearReplyFlags();
    send("\rATZ\r");
    waitForReply([this] { afterReset(); });
}

void MonitoringControl::afterReset()
{
    if (!m_parser.bOK) {
        emit message(QStringLiteral("Port %1 not responding").arg(m_port), MessageKind::Plain);
        emit statusChanged(
            QStringLiteral("The modem on port %1 did not answer ATZ. Check that it is switched "
                           "on and that port %1 is the modem's port.")
                .arg(portName()));
        m_line.setControlLines(false);
        m_line.close();
        finishStart();
        return;
    }
    m_parser.clearReplyFlags();
    if (!m_initCallerID.isEmpty()) {
        // The stored command goes out after the same pause as the first listed one; flags are kept.
        waitForReply([this] {
            send(m_initCallerID.toLatin1() + '\r');
            waitForReply([this] { conclude(m_initCallerID); });
        });
        return;
    }
    tryCommand(0);
}

void MonitoringControl::tryCommand(int index)
{
    waitForReply([this, index] {
        m_parser.clearReplyFlags();
        send(m_commands.at(index).toLatin1() + '\r');
        waitForReply([this, index] { afterCommand(index); });
    });
}

void MonitoringControl::afterCommand(int index)
{
    if (!m_parser.bError) {
        conclude(m_commands.at(index));
        return;
    }
    waitForReply([this, index] {
        if (index + 1 < m_commands.size())
            tryCommand(index + 1);
        else
            conclude(m_commands.at(index));
    });
}

void MonitoringControl::conclude(const QString& command)
{
    if (m_parser.bError) {
        emit message(QStringLiteral("Port %1: Modem not Caller ID enabled").arg(m_port), MessageKind::Plain);
        emit statusChanged(
            QStringLiteral("The modem on port %1 refused to report caller ID.").arg(portName()));
        m_line.close();
    } else if (m_parser.bOK) {
        m_monitoring = true;
        emit monitoringChanged(true);
        emit statusChanged(
            QStringLiteral("Monitoring port %1 (caller ID on with %2).").arg(portName(), command));
    } else {
        emit statusChanged(QStringLiteral("The modem on port %1 did not answer %2, so caller ID may be off. "
                                          "Press Start to try again, or choose its command in Setup.")
                               .arg(portName(), command));
    }
    finishStart();
}

void MonitoringControl::finishStart()
{
    m_starting = false;
    emit startingChanged(false);
}

void MonitoringControl::waitForReply(std::function<void()> then)
{
    m_afterWait = std::move(then);
    if (m_parser.bOK || m_parser.bError) {
        // A reply already in hand ends the wait after one turn of the event loop, as any reply would.
        QTimer::singleShot(0, this, &MonitoringControl::endWait);
        return;
    }
    m_replyTimer->start(kReplyTimeoutMs);
}

void MonitoringControl::endWait()
{
    m_replyTimer->stop();
    if (auto next = std::exchange(m_afterWait, nullptr))
        next();
}

void MonitoringControl::send(const QByteArray& command)
{
    m_line.send(command);
}

void MonitoringControl::lineLost(const QString& reason)
{
    m_replyTimer->stop();
    m_afterWait = nullptr;
    const bool wasActive = m_monitoring || m_starting;
    if (m_monitoring) {
        m_monitoring = false;
        emit monitoringChanged(false);
    }
    if (m_starting)
        finishStart();
    if (wasActive)
        emit statusChanged(reason + QStringLiteral(" Monitoring stopped; plug it in and press Start."));
}
