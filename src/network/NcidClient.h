#pragma once

#include <QHostAddress>
#include <QObject>
#include <QTcpSocket>

#include <memory>

class Clock;
class ClockTimer;

// A client of an NCID server: connects, says who it is, asks for no call log (its calls are history,
// never calls to log again), and reports the server's calls and rings. When the server goes away, or
// what answers does not greet as an NCID server does at once, it connects again by itself, waiting
// longer each time, until stop().
class NcidClient : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFirstRetryMs = 1000;
    static constexpr int kLastRetryMs = 60000;
    static constexpr int kGreetingWaitMs = 10000;
    static constexpr quint16 kDefaultPort = 3333;
    static constexpr qsizetype kMaxLineLength = 1024;

    explicit NcidClient(Clock& clock, QObject* parent = nullptr);
    ~NcidClient() override;

    void start(const QString& host, quint16 port);
    void stop();
    // "host:port", an IPv6 address in brackets so that it stays apart from the port.
    static QString serverName(const QString& host, quint16 port);

signals:
    void statusChanged(const QString& text);
    // The connection is made, before a word is said: a receiver may stop() the client here.
    void reached(const QHostAddress& address, quint16 port);
    void callReported(const QString& number, const QString& name);
    void ringReported(int ringCount);

private:
    void readLines();
    void readLine(const QByteArray& line);
    void lost(const QString& reason);
    void connectNow();

    QTcpSocket m_socket;
    bool m_skippingLine = false; // the rest of an over-long line is dropped up to its end
    // The wait for the greeting while a connection is made or open, else the wait for the next try.
    std::unique_ptr<ClockTimer> m_waitTimer;
    QString m_host;
    quint16 m_port = kDefaultPort;
    int m_retryMs = kFirstRetryMs;
    bool m_running = false;
    bool m_greeted = false;
};
