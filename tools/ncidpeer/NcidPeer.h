#pragma once

#include <QByteArray>
#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

// A stand-in NCID server on the loopback interface, for tests and demos: greets each client with the
// lines it is given, keeps what clients say, and sends lines to every client on demand.
class NcidPeerServer : public QObject
{
    Q_OBJECT
public:
    // The greeting of a server that honours "no_log", in the API document's words.
    static const QList<QByteArray> kGreeting;

    explicit NcidPeerServer(QObject* parent = nullptr);

    bool listen(quint16 port = 0);
    quint16 port() const { return m_server.serverPort(); }
    void setGreeting(const QList<QByteArray>& lines) { m_greeting = lines; }
    // Each line goes out with CR LF.
    void send(const QByteArray& line);
    // Closes every connection and stops listening, as a server that goes away; listen() again restarts.
    void shutDown();
    int clientCount() const;
    // What clients sent, one entry per line.
    QList<QByteArray> received;

signals:
    void clientConnected();

private:
    QTcpServer m_server;
    QList<QPointer<QTcpSocket>> m_clients;
    QList<QByteArray> m_greeting = kGreeting;
};

// A stand-in NCID client: connects and keeps every line it reads; ring lines without their time of day,
// which a test cannot know in advance.
class NcidPeerClient : public QObject
{
    Q_OBJECT
public:
    explicit NcidPeerClient(quint16 port, QObject* parent = nullptr);
    // The lines read so far.
    QList<QByteArray> read();
    QTcpSocket socket;
    QList<QByteArray> lines;
};
