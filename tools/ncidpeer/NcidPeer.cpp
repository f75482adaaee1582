#include "NcidPeer.h"

const QList<QByteArray> NcidPeerServer::kGreeting = {
    "200 Server: ncidd (NCID) 1.14",
    "210 API: 1.11 Feature Set 1 2 3 4 5",
    "251 Call log not sent: no_log",
    "300 End of connection startup",
};

NcidPeerServer::NcidPeerServer(QObject* parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* client = m_server.nextPendingConnection()) {
            m_clients << client;
            connect(client, &QTcpSocket::readyRead, this, [this, client] {
                while (client->canReadLine())
                    received << client->readLine().trimmed();
            });
            for (const QByteArray& line : std::as_const(m_greeting))
                client->write(line + "\r\n");
            emit clientConnected();
        }
    });
}

bool NcidPeerServer::listen(quint16 port)
{
    return m_server.listen(QHostAddress::LocalHost, port);
}

void NcidPeerServer::send(const QByteArray& line)
{
    for (QTcpSocket* client : std::as_const(m_clients)) {
        if (client) {
            client->write(line + "\r\n");
            client->flush(); // on the wire now, so a measurement starts when the line leaves
        }
    }
}

void NcidPeerServer::shutDown()
{
    m_server.close();
    for (QTcpSocket* client : std::as_const(m_clients)) {
        if (client) {
            client->disconnectFromHost();
            client->deleteLater();
        }
    }
    m_clients.clear();
}

int NcidPeerServer::clientCount() const
{
    return int(std::count_if(m_clients.begin(), m_clients.end(), [](const QPointer<QTcpSocket>& client) {
        return client && client->state() == QAbstractSocket::ConnectedState;
    }));
}

NcidPeerClient::NcidPeerClient(quint16 port, QObject* parent)
    : QObject(parent)
{
    socket.connectToHost(QHostAddress::LocalHost, port);
}

QList<QByteArray> NcidPeerClient::read()
{
    while (socket.canReadLine()) {
        const QByteArray line = socket.readLine().trimmed();
        lines << (line.startsWith("CIDINFO:") ? line.left(line.indexOf("*TIME*") + 1) : line);
    }
    return lines;
}
