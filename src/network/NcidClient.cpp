#include "NcidClient.h"

#include "CappedLines.h"
#include "Clock.h"
#include "NcidLine.h"

#include <QCoreApplication>

NcidClient::NcidClient(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_waitTimer(clock.createTimer())
{
    m_waitTimer->setSingleShot(true);
    connect(m_waitTimer.get(), &ClockTimer::timeout, this, [this] {
        if (m_socket.state() == QAbstractSocket::UnconnectedState)
            connectNow();
        else
            lost(QStringLiteral("no NCID greeting came within %1 s (check the address and the port)")
                     .arg(kGreetingWaitMs / 1000));
    });
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        emit reached(m_socket.peerAddress(), m_socket.peerPort());
        if (!m_running)
            return;
        const QByteArray ident =
            "HELLO: IDENT: client Nimbrel " + QCoreApplication::applicationVersion().toUtf8();
        m_socket.write(ident + "\r\nHELLO: CMD: no_log\r\n");
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &NcidClient::readLines);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] { lost(m_socket.errorString()); });
}

NcidClient::~NcidClient() = default;

QString NcidClient::serverName(const QString& host, quint16 port)
{
    const QString shown = host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return QStringLiteral("%1:%2").arg(shown).arg(port);
}

void NcidClient::start(const QString& host, quint16 port)
{
    m_host = host;
    m_port = port;
    m_running = true;
    m_retryMs = kFirstRetryMs;
    connectNow();
}

void NcidClient::stop()
{
    m_running = false;
    m_waitTimer->stop();
    m_socket.abort();
}

void NcidClient::connectNow()
{
    emit statusChanged(QStringLiteral("Connecting to the NCID server %1...").arg(serverName(m_host, m_port)));
    m_socket.abort();
    m_skippingLine = false;
    m_greeted = false; // each connection's peer must say it is an NCID server before its calls count
    // Before connecting, since a failure reported at once starts the wait for the next try instead. A host
    // that drops the attempt is found out by the same bound.
    m_waitTimer->start(kGreetingWaitMs);
    m_socket.connectToHost(m_host, m_port);
}

void NcidClient::readLines()
{
    readCappedLines(m_socket, kMaxLineLength, m_skippingLine, [this](QByteArray line) {
        line.removeIf([](char c) { return static_cast<unsigned char>(c) < 0x20; });
        if (!line.isEmpty())
            readLine(line);
    });
}

void NcidClient::readLine(const QByteArray& line)
{
    const NcidLine message = NcidLine::read(line);
    switch (message.kind) {
    case NcidLine::Kind::Greeting:
        m_greeted = true;
        m_waitTimer->stop();
        m_retryMs = kFirstRetryMs; // only a server that greets ends the backoff, not any open port
        emit statusChanged(QStringLiteral("Monitoring the NCID server %1 (%2).")
                               .arg(serverName(m_host, m_port), message.text));
        break;
    case NcidLine::Kind::Call:
        if (m_greeted)
            emit callReported(message.number, message.name);
        break;
    case NcidLine::Kind::RingInfo:
        if (m_greeted)
            emit ringReported(message.ring);
        break;
    case NcidLine::Kind::StartupEnd:
    case NcidLine::Kind::Other:
        break;
    }
}

void NcidClient::lost(const QString& reason)
{
    if (!m_running)
        return;
    m_socket.abort();
    emit statusChanged(QStringLiteral("The NCID server %1 cannot be reached: %2. Trying again in %3 s; "
                                      "press Stop to give up.")
                           .arg(serverName(m_host, m_port), reason)
                           .arg(m_retryMs / 1000));
    m_waitTimer->start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, kLastRetryMs);
}
