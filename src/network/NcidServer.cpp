#include "NcidServer.h"

#include "CappedLines.h"
#include "Clock.h"

#include <QCoreApplication>
#include <QTcpSocket>

struct NcidServer::Client {
    QTcpSocket* socket = nullptr;
    std::unique_ptr<ClockTimer> helloWait;
    bool wantsLog = true;
    bool skippingLine = false;
};

namespace
{

// NCID's words for Nimbrel's: a withheld number is private, an unavailable one out of area.
QByteArray ncidValue(const QString& value)
{
    if (value == QLatin1String("Blocked"))
        return "PRIVATE";
    if (value == QLatin1String("Unavailable"))
        return "OUT-OF-AREA";
    if (value == QLatin1String("No Number"))
        return "NO-NUMBER";
    if (value == QLatin1String("Unknown Caller"))
        return "NO NAME";
    // A star or a line end inside a value would break the field pairs.
    QByteArray text = value.toUtf8();
    text.replace('*', ' ').replace('\r', ' ').replace('\n', ' ');
    return text;
}

} // namespace

NcidServer::NcidServer(Clock& clock, CallLog callLog, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_callLog(std::move(callLog))
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* socket = m_server.nextPendingConnection())
            accept(socket);
    });
}

NcidServer::~NcidServer()
{
    for (const auto& client : m_clients) {
        client->socket->disconnect(this); // abort() reports the disconnection at once
        client->socket->abort();
    }
}

QByteArray NcidServer::callLine(const char* type, const Call& call)
{
    return QByteArray(type) + " *DATE*" + call.dateTime.toString(QStringLiteral("MMddyyyy")).toLatin1()
           + "*TIME*" + call.dateTime.toString(QStringLiteral("HHmm")).toLatin1() + "*LINE*-*NMBR*"
           + ncidValue(call.number) + "*MESG*NONE*NAME*" + ncidValue(call.name) + '*';
}

bool NcidServer::listen(const QString& addressText, quint16 port, const QStringList& allowed, QString* error)
{
    const QHostAddress address(addressText.trimmed());
    if (address.isNull()) {
        *error = QStringLiteral("\"%1\" in ServeNCIDAddress is not an IP address (such as 127.0.0.1 for this "
                                "machine alone, or 0.0.0.0 for every network).")
                     .arg(addressText);
        return false;
    }
    m_allowed.clear();
    for (const QString& entry : allowed) {
        const QString text = entry.trimmed();
        if (text.isEmpty())
            continue;
        std::pair<QHostAddress, int> subnet = QHostAddress::parseSubnet(
            text.contains(QLatin1Char('/'))
                ? text
                : text + (text.contains(QLatin1Char(':')) ? QStringLiteral("/128") : QStringLiteral("/32")));
        if (subnet.first.isNull()) {
            *error = QStringLiteral("\"%1\" in ServeNCIDAllow is not an address or a network (such as "
                                    "192.168.1.0/24).")
                         .arg(text);
            return false;
        }
        m_allowed << subnet;
    }
    if (!m_server.listen(address, port)) {
        *error = QStringLiteral("Nimbrel cannot serve NCID clients on %1 port %2: %3.")
                     .arg(address.toString())
                     .arg(port)
                     .arg(m_server.errorString());
        return false;
    }
    return true;
}

bool NcidServer::isAllowed(const QHostAddress& address) const
{
    bool isIpv4 = false;
    const QHostAddress peer(address.toIPv4Address(&isIpv4));
    const QHostAddress plain = isIpv4 ? peer : address;
    if (m_allowed.isEmpty())
        return plain.isLoopback();
    return std::any_of(m_allowed.begin(), m_allowed.end(),
                       [&](const auto& subnet) { return plain.isInSubnet(subnet.first, subnet.second); });
}

void NcidServer::accept(QTcpSocket* socket)
{
    if (!isAllowed(socket->peerAddress())) {
        emit clientTurnedAway(QStringLiteral("NCID client from %1 refused: not in ServeNCIDAllow.")
                                  .arg(socket->peerAddress().toString()));
        socket->abort();
        socket->deleteLater();
        return;
    }
    // Kept small so that a client that stops reading is noticed after a few lines, not megabytes.
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, 16 * 1024);
    auto client = std::make_unique<Client>();
    client->socket = socket;
    client->helloWait = m_clock.createTimer();
    client->helloWait->setSingleShot(true);
    Client& added = *client;
    m_clients.push_back(std::move(client));
    connect(socket, &QTcpSocket::readyRead, this, [this, &added] { readFrom(added); });
    connect(socket, &QTcpSocket::disconnected, this, [this, &added] { drop(added, {}); });
    connect(added.helloWait.get(), &ClockTimer::timeout, this, [this, &added] { finishStartup(added); });
    send(added, "200 Nimbrel NCID server " + QCoreApplication::applicationVersion().toUtf8());
    send(added, "210 API: 1.0 Feature Set 1");
    added.helloWait->start(kHelloWaitMs);
}

void NcidServer::readFrom(Client& client)
{
    readCappedLines(*client.socket, kMaxLineLength, client.skippingLine, [&client](const QByteArray& line) {
        if (line.trimmed() == "HELLO: CMD: no_log")
            client.wantsLog = false;
    });
}

void NcidServer::finishStartup(Client& client)
{
    QList<QByteArray> lines;
    const QList<Call> log = client.wantsLog ? m_callLog() : QList<Call>();
    if (!client.wantsLog) {
        lines << "251 Call log not sent: no_log";
    } else if (log.isEmpty()) {
        lines << "252 Call log empty";
    } else {
        lines << "254 Start of call log";
        for (const Call& call : log.mid(std::max<qsizetype>(0, log.size() - kCallLogLength)))
            lines << callLine("CIDLOG:", call);
        lines << "250 End of call log";
    }
    lines << "300 End of connection startup";
    // Queued whole and not judged: none of it can have been read yet, and a log of long names may pass
    // kMaxUnsentBytes on its own. A client that does not read it is found out at the next call.
    for (const QByteArray& line : std::as_const(lines))
        write(client, line);
}

void NcidServer::announceCall(const Call& call)
{
    const QByteArray line = callLine("CID:", call);
    for (qsizetype i = qsizetype(m_clients.size()) - 1; i >= 0; --i)
        send(*m_clients[size_t(i)], line);
}

void NcidServer::announceRing(int ringCount)
{
    const QByteArray line = "CIDINFO: *LINE*-*RING*" + QByteArray::number(ringCount) + "*TIME*"
                            + m_clock.now().toString(QStringLiteral("HH:mm:ss")).toLatin1() + '*';
    for (qsizetype i = qsizetype(m_clients.size()) - 1; i >= 0; --i)
        send(*m_clients[size_t(i)], line);
}

void NcidServer::send(Client& client, const QByteArray& line)
{
    if (client.socket->bytesToWrite() > kMaxUnsentBytes) {
        drop(client, QStringLiteral("NCID client at %1 dropped: it did not read its lines.")
                         .arg(client.socket->peerAddress().toString()));
        return;
    }
    write(client, line);
}

void NcidServer::write(Client& client, const QByteArray& line)
{
    client.socket->write(line + "\r\n");
}

void NcidServer::drop(Client& client, const QString& why)
{
    if (!why.isEmpty())
        emit clientTurnedAway(why);
    const auto found =
        std::find_if(m_clients.begin(), m_clients.end(),
                     [&](const std::unique_ptr<Client>& each) { return each.get() == &client; });
    if (found == m_clients.end())
        return;
    std::unique_ptr<Client> gone = std::move(*found);
    m_clients.erase(found);
    // Either may be emitting the signal that led here: both go once it has returned.
    gone->helloWait->stop();
    gone->helloWait->disconnect(this);
    gone->helloWait.release()->deleteLater();
    gone->socket->disconnect(this);
    gone->socket->abort();
    gone->socket->deleteLater();
}
