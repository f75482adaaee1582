#pragma once

#include "CallStore.h"

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QTcpServer>

#include <functional>
#include <memory>

class Clock;
class QTcpSocket;

// Nimbrel's calls for other screens: the server side of NCID. Each client is greeted, sent the recent
// call log (unless it asks for none), then a "CID:" line for every call and "CIDINFO:" lines for rings.
// Clients are accepted only from the allowed addresses. A client that does not keep up is dropped once
// kMaxUnsentBytes wait for it, so no client can hold up the others or grow Nimbrel's memory; nothing a
// client sends changes Nimbrel's data.
class NcidServer : public QObject
{
    Q_OBJECT
public:
    static constexpr qint64 kMaxUnsentBytes = 64 * 1024;
    static constexpr qsizetype kMaxLineLength = 1024;
    // The latest calls a new client is sent as its call log.
    static constexpr int kCallLogLength = 200;
    // How long a new client may take to say "HELLO: CMD: no_log" before its log is sent.
    static constexpr int kHelloWaitMs = 300;

    // A call as the call store logs it.
    using Call = LoggedCall;
    using CallLog = std::function<QList<Call>()>;

    NcidServer(Clock& clock, CallLog callLog, QObject* parent = nullptr);
    ~NcidServer() override;

    // address: an IP address of this machine, "0.0.0.0" for all of them; a name is refused, since a
    // socket given no address listens on every network. allowed: addresses or networks as
    // "192.168.1.0/24", "10.0.0.5", "::1".
    bool listen(const QString& address, quint16 port, const QStringList& allowed, QString* error);
    quint16 port() const { return m_server.serverPort(); }
    int clientCount() const { return int(m_clients.size()); }

    void announceCall(const Call& call);
    // The ring count of the current call; 0 when the ringing is over.
    void announceRing(int ringCount);

    static QByteArray callLine(const char* type, const Call& call);

signals:
    // A refused or dropped client, said once, for the log.
    void clientTurnedAway(const QString& why);

private:
    struct Client;
    void accept(QTcpSocket* socket);
    void readFrom(Client& client);
    void finishStartup(Client& client);
    void send(Client& client, const QByteArray& line);
    static void write(Client& client, const QByteArray& line);
    void drop(Client& client, const QString& why);
    bool isAllowed(const QHostAddress& address) const;

    Clock& m_clock;
    CallLog m_callLog;
    QTcpServer m_server;
    QList<std::pair<QHostAddress, int>> m_allowed;
    std::vector<std::unique_ptr<Client>> m_clients;
};
