#include "FakeClock.h"
#include "LineMonitor.h"
#include "NcidPeer.h"
#include "NcidServer.h"
#include "TestDatabase.h"
#include "TestProgram.h"
#include "TestSupport.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QTcpSocket>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using TestClient = NcidPeerClient;

class tst_NcidServer : public QObject
{
    Q_OBJECT
private slots:
    void modemCallsReachEveryClient();
    void nimbrelServesNimbrel();
    void aClientThatDoesNotReadIsDropped();
    void clientsOnlyFromAllowedAddresses();
};

void tst_NcidServer::modemCallsReachEveryClient()
{
    TestProgram program;
    program.settings.setValue("Properties/ServeNCID", "True");
    program.settings.setValue("Properties/ServeNCIDPort", "0");
    program.clock.setNow(QDateTime(QDate(2026, 12, 7), QTime(9, 30)));
    program.load();
    NcidServer* server = program.window->ncidServer();
    QVERIFY(server);
    program.startMonitoring();
    program.play("RING\nNMBR=5550100\nNAME=SMITH ANN\nRING\nwait");

    TestClient logReader(server->port());
    TestClient noLog(server->port());
    QTRY_COMPARE(server->clientCount(), 2);
    logReader.socket.write("HELLO: IDENT: client test 2\r\n"); // says who it is, and wants the log
    noLog.socket.write("HELLO: CMD: no_log\r\nHELLO: IDENT: client test 1\r\n"); // its request first
    QTRY_COMPARE(noLog.read().size(), 2);
    QTest::qWait(20); // the HELLO lines arrive
    program.clock.advance(NcidServer::kHelloWaitMs);
    const QByteArray logged =
        "CIDLOG: *DATE*12072026*TIME*0930*LINE*-*NMBR*5550100*MESG*NONE*NAME*SMITH ANN*";
    QTRY_COMPARE(logReader.read().mid(1),
                 (QList<QByteArray>{"210 API: 1.0 Feature Set 1", "254 Start of call log", logged,
                                    "250 End of call log", "300 End of connection startup"}));
    QVERIFY(logReader.lines.first().startsWith("200 Nimbrel NCID server"));
    QTRY_COMPARE(noLog.read().mid(2),
                 (QList<QByteArray>{"251 Call log not sent: no_log", "300 End of connection startup"}));
    QVERIFY(noLog.lines.first().startsWith("200 Nimbrel NCID server"));

    // A call sent whole, and one whose modem sends the name after the number: clients show no second call,
    // so it goes out once it has its name.
    program.play("RING\nNMBR=P\nRING\nwait\nRING\nNMBR=5550123\nNAME=DOE JOHN\nRING\nwait");
    const QList<QByteArray> calls{
        "CIDINFO: *LINE*-*RING*1*",
        "CID: *DATE*12072026*TIME*0930*LINE*-*NMBR*PRIVATE*MESG*NONE*NAME*PRIVATE*",
        "CIDINFO: *LINE*-*RING*2*",
        "CIDINFO: *LINE*-*RING*0*",
        "CIDINFO: *LINE*-*RING*1*",
        "CID: *DATE*12072026*TIME*0930*LINE*-*NMBR*5550123*MESG*NONE*NAME*DOE JOHN*",
        "CIDINFO: *LINE*-*RING*2*",
        "CIDINFO: *LINE*-*RING*0*"};
    QTRY_COMPARE(noLog.read().mid(4), calls);
    QTRY_COMPARE(logReader.read().mid(6), calls);
}

void tst_NcidServer::nimbrelServesNimbrel()
{
    // One Nimbrel's modem calls, served, are another Nimbrel's calls: names from its own phone list first.
    TestDatabase serving;
    NcidServer server(serving.clock, [] { return QList<NcidServer::Call>(); });
    QString error;
    QVERIFY2(server.listen("127.0.0.1", 0, {}, &error), qPrintable(error));
    TestDatabase watching;
    watching.addPhoneListEntries({"Ann|5551234|0"});
    LineMonitor monitor(watching.store, watching.clock);
    monitor.setNcidServer("localhost", server.port());
    QSignalSpy calls(&monitor, &LineMonitor::callCompleted);
    monitor.startStopMonitoring();
    QTRY_COMPARE(server.clientCount(), 1);
    watching.clock.advance(NcidServer::kHelloWaitMs); // nothing: the timer is the server's clock's
    serving.clock.advance(NcidServer::kHelloWaitMs);
    const QDateTime when(QDate(2026, 12, 7), QTime(9, 30));
    server.announceCall({when, "5551234", "ANN SMITH"});
    server.announceCall({when, "Unavailable", "Unavailable"});
    server.announceCall({when, "No Number", "Unknown Caller"});
    QTRY_COMPARE(watching.calls(),
                 (QStringList{"1|5551234|Ann", "2|Unavailable|Unavailable", "3|No Number|Unknown Caller"}));

    // Its own server is no source for a Nimbrel.
    monitor.startStopMonitoring();
    monitor.setOwnNcidPort(server.port());
    QSignalSpy refused(&monitor, &LineMonitor::message);
    monitor.startStopMonitoring();
    QVERIFY(!monitor.isMonitoring());
    QCOMPARE(refused.count(), 1);
    QVERIFY(refused.first().first().toString().contains("Nimbrel's own NCID server"));
    QTRY_COMPARE(server.clientCount(), 0);
    monitor.setNcidServer("0.0.0.0", server.port()); // this machine by another name: found once connected
    QTest::failOnWarning(QRegularExpression("not open")); // and not spoken to once stopped
    monitor.startStopMonitoring();
    QTRY_COMPARE(refused.count(), 2);
    QVERIFY(!monitor.isMonitoring());
    QVERIFY(refused.last().first().toString().contains("ncid://0.0.0.0:" + QString::number(server.port())));
    QTRY_COMPARE(server.clientCount(), 0);
}

void tst_NcidServer::aClientThatDoesNotReadIsDropped()
{
    FakeClock clock;
    const NcidServer::Call call{QDateTime(QDate(2026, 12, 7), QTime(9, 30)), QString(200, '5'),
                                QString(200, 'N')};
    // A log longer than a client may leave unread: it is sent whole to every client all the same.
    const QList<NcidServer::Call> log(NcidServer::kCallLogLength, call);
    NcidServer server(clock, [&] { return log; });
    QString error;
    QVERIFY(server.listen("127.0.0.1", 0, {}, &error));
    QSignalSpy dropped(&server, &NcidServer::clientTurnedAway);
    TestClient reader(server.port());
    // A client with a receive buffer of 1 KB that never reads.
    const int stalled = ::socket(AF_INET, SOCK_STREAM, 0);
    const int receiveBuffer = 1024;
    QCOMPARE(::setsockopt(stalled, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer), 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(server.port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    QCOMPARE(::connect(stalled, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    QTRY_COMPARE(server.clientCount(), 2);
    clock.advance(NcidServer::kHelloWaitMs);
    const int startup = 2 + 1 + NcidServer::kCallLogLength + 2;
    QTRY_COMPARE(reader.read().size(), startup);
    QCOMPARE(dropped.count(), 0);
    int sent = 0;
    while (server.clientCount() == 2 && sent < 20000) {
        server.announceCall(call);
        ++sent;
        reader.read();
        QCoreApplication::processEvents();
    }
    QCOMPARE(server.clientCount(), 1);
    QCOMPARE(dropped.count(), 1);
    QVERIFY(dropped.first().first().toString().contains("did not read"));
    QTRY_COMPARE(reader.read().size(), startup + sent);
    ::close(stalled);
}

void tst_NcidServer::clientsOnlyFromAllowedAddresses()
{
    FakeClock clock;
    NcidServer server(clock, [] { return QList<NcidServer::Call>(); });
    QString error;
    QVERIFY(!server.listen("localhost", 0, {}, &error)); // a name would be no address: every network
    QVERIFY2(error.startsWith("\"localhost\" in ServeNCIDAddress is not an IP address"), qPrintable(error));
    QVERIFY(!server.listen("127.0.0.1", 0, {"192.168.1.0/24", "the office"}, &error));
    QVERIFY2(error.startsWith("\"the office\" in ServeNCIDAllow"), qPrintable(error));
    QVERIFY(server.listen("127.0.0.1", 0, {"192.168.1.0/24", "10.1.2.3"}, &error));
    NcidServer second(clock, [] { return QList<NcidServer::Call>(); }); // the port is taken
    QVERIFY(!second.listen("127.0.0.1", server.port(), {}, &error));
    QVERIFY2(error.startsWith(
                 QString("Nimbrel cannot serve NCID clients on 127.0.0.1 port %1: ").arg(server.port())),
             qPrintable(error));
    QSignalSpy refused(&server, &NcidServer::clientTurnedAway);
    TestClient outsider(server.port());
    QTRY_COMPARE(refused.count(), 1);
    QVERIFY(refused.first().first().toString().contains("127.0.0.1 refused"));
    QTRY_COMPARE(outsider.socket.state(), QAbstractSocket::UnconnectedState);
    QCOMPARE(server.clientCount(), 0);
}

QTEST_MAIN(tst_NcidServer)
#include "tst_ncidserver.moc"
