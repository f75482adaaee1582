#include "NcidClient.h"

#include "CappedLines.h"
#include "Clock.h"
#include "NcidLine.h"

#include <QCoreApplication>

NcidClient::NcidClient(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_retryTimer(clock.createTimer())
{
    m_retryTimer->setSingleShot(true);
    connect(m_retryTimer.get(), &ClockTimer::timeout, this, &NcidClient::connectNow);
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_retryMs = kFirstRetryMs;
        const QByteArray ident =
            "HELLO: IDENT: client Nimbrel " + QCoreApplication::applicationVersion().toUtf8();
        m_socket.write(ident + "\r\nHELLO: CMD: no_log\r\n");
    });
    connect(&m_socket, &QTcpSocket::readyRead, this, &NcidClient::readLines);
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] { lost(m_socket.errorString()); });
}

NcidClient::~NcidClient() = default;

QString NcidClient::serverName() const
{
    return QStringLiteral("%1:%2").arg(m_host).arg(m_port);
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
    m_retryTimer->stop();
    m_socket.abort();
}

void NcidClient::connectNow()
{
    emit statusChanged(QStringLiteral("Connecting to the NCID server %1...").arg(serverName()));
    m_socket.abort();
    m_skippingLine = false;
    m_greeted = false; // each connection's peer must say it is an NCID server before its calls count
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
        emit statusChanged(
            QStringLiteral("Monitoring the NCID server %1 (%2).").arg(serverName(), message.text));
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
                           .arg(serverName(), reason)
                           .arg(m_retryMs / 1000));
    m_retryTimer->start(m_retryMs);
    m_retryMs = std::min(m_retryMs * 2, kLastRetryMs);
}
