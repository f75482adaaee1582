#include "LineMonitor.h"

#include "Clock.h"
#include "MonitorSettings.h"

#include <QHostAddress>
#include <QNetworkInterface>
#include <QTimer>

const QStringList LineMonitor::kCallerIdCommands = {
    QStringLiteral("AT#CID=1"), QStringLiteral("AT+VCID=1"), QStringLiteral("AT%CCID=1"),
    QStringLiteral("AT#CC1"),   QStringLiteral("AT*ID1"),
};

LineMonitor::LineMonitor(CallStore& store, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_line(clock)
    , m_ncid(clock)
    , m_lines([this](const QByteArray& line) { readLine(line); })
    , m_tracker(store, clock)
    , m_replyTimer(clock.createTimer())
{
    m_replyTimer->setSingleShot(true);
    connect(m_replyTimer.get(), &ClockTimer::timeout, this, &LineMonitor::endWait);
    connect(&m_line, &SerialLine::received, this, [this](const QByteArray& bytes) { m_lines.feed(bytes); });
    connect(&m_line, &SerialLine::lost, this, &LineMonitor::lineLost);
    connect(&m_line, &SerialLine::returned, this, &LineMonitor::resume);
    connect(&m_ncid, &NcidClient::statusChanged, this, &LineMonitor::statusChanged);
    connect(&m_ncid, &NcidClient::reached, this, &LineMonitor::refuseIfOwnServer);
    connect(&m_ncid, &NcidClient::callReported, &m_tracker, &CallTracker::report);
    connect(&m_ncid, &NcidClient::ringReported, &m_tracker, [this](int ringCount) {
        if (ringCount > 0)
            m_tracker.keepRinging();
        else
            m_tracker.endCall(); // answered or hung up
    });
    connect(&m_tracker, &CallTracker::callCompleted, this, &LineMonitor::callCompleted);
    connect(&m_tracker, &CallTracker::callUpdated, this, &LineMonitor::callUpdated);
    connect(&m_tracker, &CallTracker::callSettled, this, &LineMonitor::callSettled);
    connect(&m_tracker, &CallTracker::callOver, this, &LineMonitor::callOver);
    connect(&m_tracker, &CallTracker::rang, this, &LineMonitor::rang);
}

LineMonitor::~LineMonitor() = default;

void LineMonitor::readLine(const QByteArray& line)
{
    const ModemEvents events = readModemLine(line);
    for (const ModemEvent& event : events) {
        if (event.kind == ModemEvent::Kind::Reply)
            takeReply(event.reply);
    }
    m_tracker.take(events);
}

void LineMonitor::takeReply(ModemReply reply)
{
    (reply == ModemReply::Ok ? m_ok : m_error) = true;
    emit replyReceived(reply);
    if (m_replyTimer->isActive())
        endWait();
}

void LineMonitor::setPort(int portNumber, const QString& devicePath)
{
    m_port = portNumber;
    m_devicePath = devicePath;
}

bool LineMonitor::switchPort(int portNumber, const QString& devicePath, QString* error)
{
    if (portNumber == m_port && devicePath == m_devicePath)
        return true;
    const bool wasOpen = m_line.isOpen();
    const int oldPort = m_port;
    const QString oldPath = m_devicePath;
    closePort();
    setPort(portNumber, devicePath);
    if (!wasOpen || openLine(error))
        return true;
    setPort(oldPort, oldPath);
    QString ignored;
    openLine(&ignored);
    return false;
}

bool LineMonitor::openLine(QString* error)
{
    QString reason;
    if (!m_line.open(m_devicePath, &reason)) {
        *error = QStringLiteral("Cannot open comm port %1: %2").arg(portName(), reason);
        return false;
    }
    m_line.setControlLines(true);
    return true;
}

QString LineMonitor::portName() const
{
    return QStringLiteral("%1 (%2)").arg(m_port).arg(m_devicePath);
}

void LineMonitor::setNcidServer(const QString& host, quint16 port)
{
    m_ncidHost = host;
    m_ncidPort = port;
}

void LineMonitor::startStopMonitoring()
{
    if (m_starting)
        return;
    if (m_monitoring)
        stop();
    else if (watchesNetwork())
        startNetwork();
    else
        start();
}

void LineMonitor::startNetwork()
{
    const bool local = m_ncidHost == QLatin1String("localhost") || QHostAddress(m_ncidHost).isLoopback();
    if (local && m_ncidPort == m_ownNcidPort) {
        refuseOwnServer();
        return;
    }
    m_ncid.start(m_ncidHost, m_ncidPort);
    m_monitoring = true;
    emit monitoringChanged(true);
}

// A name or an address of this machine other than loopback's reaches the own server too, which only the
// address the connection reached tells.
void LineMonitor::refuseIfOwnServer(const QHostAddress& address, quint16 port)
{
    const QList<QHostAddress> own = QNetworkInterface::allAddresses();
    if (port == m_ownNcidPort && std::any_of(own.begin(), own.end(), [&](const QHostAddress& each) {
            return each.isEqual(address, QHostAddress::TolerantConversion);
        })) {
        stop();
        refuseOwnServer();
    }
}

void LineMonitor::refuseOwnServer()
{
    emit message(QStringLiteral("The source of calls, %1, is Nimbrel's own NCID server: its calls would come "
                                "round again and again.\nChoose another server, or the modem, in Setup.")
                     .arg(MonitorSettings::sourceText(m_ncidHost, m_ncidPort)),
                 MessageKind::Critical);
}

void LineMonitor::stop()
{
    m_ncid.stop();
    m_line.setControlLines(false);
    m_line.close();
    m_monitoring = false;
    emit monitoringChanged(false);
    emit statusChanged(QStringLiteral("Monitoring stopped."));
}

void LineMonitor::closePort()
{
    m_ncid.stop();
    m_replyTimer->stop();
    m_afterWait = nullptr;
    m_line.close();
}

void LineMonitor::start()
{
    m_starting = true;
    emit startingChanged(true);
    m_commands = m_initCallerID.isEmpty() ? kCallerIdCommands : QStringList{m_initCallerID};
    QString error;
    if (!m_line.isOpen() && !openLine(&error)) {
        emit message(error, MessageKind::Critical);
        finishStart();
        return;
    }
    emit statusChanged(QStringLiteral("Resetting the modem on port %1...").arg(portName()));
    m_line.setControlLines(true);
    clearReplies();
    send("\rATZ\r");
    waitForReply([this] { afterReset(); });
}

void LineMonitor::afterReset()
{
    if (!m_ok) {
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
    clearReplies();
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

void LineMonitor::tryCommand(int index)
{
    waitForReply([this, index] {
        clearReplies();
        send(m_commands.at(index).toLatin1() + '\r');
        waitForReply([this, index] { afterCommand(index); });
    });
}

void LineMonitor::afterCommand(int index)
{
    if (!m_error) {
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

void LineMonitor::conclude(const QString& command)
{
    if (m_error) {
        emit message(QStringLiteral("Port %1: Modem not Caller ID enabled").arg(m_port), MessageKind::Plain);
        emit statusChanged(
            QStringLiteral("The modem on port %1 refused to report caller ID.").arg(portName()));
        m_line.close();
    } else if (m_ok) {
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

void LineMonitor::finishStart()
{
    m_starting = false;
    emit startingChanged(false);
}

void LineMonitor::waitForReply(std::function<void()> then)
{
    m_afterWait = std::move(then);
    if (m_ok || m_error) {
        // A reply already in hand ends the wait after one turn of the event loop, as any reply would.
        QTimer::singleShot(0, this, &LineMonitor::endWait);
        return;
    }
    m_replyTimer->start(kReplyTimeoutMs);
}

void LineMonitor::endWait()
{
    m_replyTimer->stop();
    if (auto next = std::exchange(m_afterWait, nullptr))
        next();
}

void LineMonitor::send(const QByteArray& command)
{
    m_line.send(command);
}

void LineMonitor::lineLost(const QString& reason)
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
    if (!wasActive)
        return;
    emit statusChanged(reason
                       + QStringLiteral(" Monitoring stopped; it resumes by itself when the modem is back."));
    m_line.watchForReturn(); // a Stop, a port switch or the end closes the line, which ends the watch
}

void LineMonitor::resume()
{
    QString error;
    if (!openLine(&error)) {
        // udev may not have given the node its group yet, or a prober holds it for a moment.
        emit statusChanged(error.section(QLatin1Char('\n'), 0, 0)
                           + QStringLiteral(" The modem is back; trying again."));
        m_line.watchForReturn();
        return;
    }
    emit statusChanged(QStringLiteral("The modem on port %1 is back: monitoring resumes.").arg(portName()));
    start();
}
