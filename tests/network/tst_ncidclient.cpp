#include "LineMonitor.h"
#include "NcidLine.h"
#include "NcidPeer.h"
#include "TestDatabase.h"

#include <QSignalSpy>
#include <QTest>

class tst_NcidClient : public QObject
{
    Q_OBJECT
private slots:
    void serverLines_data();
    void serverLines();
    void callsFromTheServerAreLoggedOnce();
    void reconnectsUntilStopped();
};

void tst_NcidClient::serverLines_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("read"); // "call number|name", "ring N", "greeting TEXT", "end", "other"
    // Lines as the NCID API document shows them.
    QTest::newRow("a call") << QByteArray(
        "CID: *DATE*10102016*TIME*1601*LINE*POTS*NMBR*4075551212*MESG*NONE*NAME*"
        "JOHN ON JOB*") << "call 4075551212|JOHN ON JOB";
    QTest::newRow("fields in another order, unknown labels ignored")
        << QByteArray("CID: *NAME*ANN SMITH*FUTURE*x*NMBR*5550100*DATE*12072026*")
        << "call 5550100|ANN SMITH";
    QTest::newRow("out of area") << QByteArray(
        "CID: *DATE*12072026*TIME*0930*LINE*-*NMBR*OUT-OF-AREA*MESG*NONE*NAME*"
        "OUT-OF-AREA*") << "call O|O";
    QTest::newRow("private and anonymous") << QByteArray("CID: *NMBR*PRIVATE*NAME*ANONYMOUS*") << "call P|P";
    QTest::newRow("no name, no number, none")
        << QByteArray("CID: *NMBR*NO-NUMBER*NAME*NO NAME*LINE*-*") << "call |";
    QTest::newRow("an empty value") << QByteArray("CID: *MESG**NMBR*5550100*NAME*ANN*") << "call 5550100|ANN";
    QTest::newRow("a dash is none") << QByteArray("CID: *NMBR*-*NAME*-*") << "call |";
    QTest::newRow("no space after the colon")
        << QByteArray("CID:*NMBR*5550100*NAME*ANN*") << "call 5550100|ANN";
    QTest::newRow("a ring") << QByteArray("CIDINFO: *LINE*POTS*RING*2*TIME*09:30:05*") << "ring 2";
    QTest::newRow("ringing over") << QByteArray("CIDINFO: *LINE*POTS*RING*0*") << "ring 0";
    QTest::newRow("hung up") << QByteArray("CIDINFO: *LINE*POTS*RING*-1*") << "ring -1";
    QTest::newRow("greeting") << QByteArray("200 Server: ncidd (NCID) 1.14")
                              << "greeting Server: ncidd (NCID) 1.14";
    QTest::newRow("end of the start-up") << QByteArray("300 End of connection startup") << "end";
    for (const char* other :
         {"CIDLOG: *DATE*12062026*TIME*1200*NMBR*5550100*NAME*OLD*", "210 API: 1.11 Feature Set 1",
          "254 Start of call log", "250 End of call log", "OPT: hangup-1", "MSG: Hello*NAME*x*",
          "HUP: *NMBR*5550100*", "BLK: *NMBR*5550100*", "OUT: *NMBR*5550100*", "END: *HTYPE*BYE*",
          "WID: *NMBR*5550100*", "CIDINFO: *LINE*POTS*"})
        QTest::newRow(other) << QByteArray(other) << "other";
}

void tst_NcidClient::serverLines()
{
    QFETCH(QByteArray, line);
    QFETCH(QString, read);
    const NcidLine message = NcidLine::read(line);
    QString seen;
    switch (message.kind) {
    case NcidLine::Kind::Call:
        seen = "call " + message.number + '|' + message.name;
        break;
    case NcidLine::Kind::RingInfo:
        seen = "ring " + QString::number(message.ring);
        break;
    case NcidLine::Kind::Greeting:
        seen = "greeting " + message.text;
        break;
    case NcidLine::Kind::StartupEnd:
        seen = "end";
        break;
    case NcidLine::Kind::Other:
        seen = "other";
        break;
    }
    QCOMPARE(seen, read);
}

namespace
{

// The line monitor watching a stand-in NCID server.
struct NetworkRig {
    NetworkRig()
    {
        QVERIFY(server.listen());
        monitor.setNcidServer("127.0.0.1", server.port());
        QObject::connect(&monitor, &LineMonitor::statusChanged,
                         [this](const QString& text) { status = text; });
        QObject::connect(&monitor, &LineMonitor::callCompleted, [this](const LoggedCall& call, bool ring) {
            seen << call.number + '|' + call.name + (ring ? " ding" : "");
        });
        QObject::connect(&monitor, &LineMonitor::callOver, [this] { seen << "-"; });
    }

    TestDatabase db;
    NcidPeerServer server;
    LineMonitor monitor{db.store, db.clock};
    QString status;
    QStringList seen;
};

} // namespace

void tst_NcidClient::callsFromTheServerAreLoggedOnce()
{
    NetworkRig rig;
    rig.db.addPhoneListEntries({"Ann|5551234|1"});
    // A server that ignores "no_log" and sends its call log: history, never logged again.
    rig.server.setGreeting(
        {"200 Server: ncidd (NCID) 1.14", "210 API: 1.11 Feature Set 1 2 3 4 5", "254 Start of call log",
         "CIDLOG: *DATE*12062026*TIME*1200*LINE*POTS*NMBR*5550100*MESG*NONE*NAME*OLD CALL*",
         "250 End of call log", "OPT: hangup-1", "300 End of connection startup"});
    QSignalSpy monitoring(&rig.monitor, &LineMonitor::monitoringChanged);
    rig.monitor.startStopMonitoring();
    QVERIFY(rig.monitor.isMonitoring());
    QCOMPARE(monitoring.count(), 1); // the window's Start becomes Stop
    QCOMPARE(monitoring.first().first().toBool(), true);
    QTRY_VERIFY(
        rig.status.startsWith(QString("Monitoring the NCID server 127.0.0.1:%1").arg(rig.server.port())));
    QTRY_COMPARE(rig.server.received.size(), 2);
    QVERIFY(rig.server.received.at(0).startsWith("HELLO: IDENT: client Nimbrel"));
    QCOMPARE(rig.server.received.at(1), QByteArray("HELLO: CMD: no_log"));

    rig.server.send("CIDINFO: *LINE*POTS*RING*1*");
    // A control character from the peer is dropped before the number is looked up.
    rig.server.send("CID: *DATE*12072026*TIME*0930*LINE*POTS*NMBR*555\x7f"
                    "1234*MESG*NONE*NAME*SMITH ANN*");
    rig.server.send("CIDINFO: *LINE*POTS*RING*2*");
    rig.server.send("MSG: a message is no call");
    rig.server.send("CIDINFO: *LINE*POTS*RING*0*");
    rig.server.send("CID: *NMBR*PRIVATE*NAME*PRIVATE*");
    QTRY_COMPARE(rig.seen, (QStringList{"5551234|Ann ding", "-", "Blocked|Blocked"}));
    QCOMPARE(rig.db.calls(), (QStringList{"1|5551234|Ann", "2|Blocked|Blocked"}));
}

void tst_NcidClient::reconnectsUntilStopped()
{
    NetworkRig rig;
    const quint16 port = rig.server.port();
    rig.monitor.startStopMonitoring();
    QTRY_COMPARE(rig.server.clientCount(), 1);
    QTRY_VERIFY(rig.status.startsWith("Monitoring"));

    rig.server.shutDown();
    QTRY_VERIFY(rig.status.contains("cannot be reached"));
    QVERIFY2(rig.status.contains("Trying again in 1 s"), qPrintable(rig.status));
    QVERIFY(rig.monitor.isMonitoring());
    rig.db.clock.advance(1000); // the server is still away: the next wait is longer
    QTRY_VERIFY(rig.status.contains("Trying again in 2 s"));

    rig.server.setGreeting({}); // what answers now has not yet said it is an NCID server
    QVERIFY(rig.server.listen(port));
    rig.db.clock.advance(2000);
    QTRY_COMPARE(rig.server.clientCount(), 1);
    rig.db.clock.advance(NcidClient::kGreetingWaitMs - 1);
    QVERIFY(rig.status.startsWith("Connecting"));
    rig.db.clock.advance(1); // a port that answers is no NCID server until it greets: the waits go on
    QVERIFY2(rig.status.contains("no NCID greeting came within 10 s") && rig.status.contains("again in 4 s"),
             qPrintable(rig.status));
    QTRY_COMPARE(rig.server.clientCount(), 0);
    rig.db.clock.advance(4000);
    QTRY_COMPARE(rig.server.clientCount(), 1);
    rig.server.send("CID: *NMBR*5550111*NAME*UNGREETED*");
    rig.server.send("200 Server: ncidd (NCID) 1.14");
    QTRY_VERIFY(rig.status.startsWith("Monitoring"));
    rig.server.send("CID: *NMBR*5550100*NAME*AFTER*");
    QTRY_COMPARE(rig.seen, QStringList{"5550100|AFTER"});
    rig.db.clock.advance(NcidClient::kGreetingWaitMs); // eight seconds without a ring: the call is over,
                                                       // and the greeted connection stays
    QCOMPARE(rig.seen.last(), "-");
    QVERIFY2(rig.status.startsWith("Monitoring"), qPrintable(rig.status));

    rig.server.shutDown(); // a server that greeted starts the waits over
    QTRY_VERIFY2(rig.status.contains("Trying again in 1 s"), qPrintable(rig.status));
    rig.monitor.startStopMonitoring(); // and Stop while waiting to try again gives up
    QVERIFY(!rig.monitor.isMonitoring());
    QCOMPARE(rig.db.clock.msecsToNextTimer(), -1);

    QVERIFY(rig.server.listen(port));
    rig.monitor.startStopMonitoring(); // Stop closes the connection, and nothing is left to open it again
    QTRY_COMPARE(rig.server.clientCount(), 1);
    rig.monitor.startStopMonitoring();
    QTRY_COMPARE(rig.server.clientCount(), 0);
    QCOMPARE(rig.db.clock.msecsToNextTimer(), -1);

    rig.monitor.setNcidServer("::1", port); // an IPv6 address is told apart from its port
    rig.monitor.startStopMonitoring();
    QCOMPARE(rig.status, QString("Connecting to the NCID server [::1]:%1...").arg(port));
    rig.monitor.startStopMonitoring();
}

QTEST_GUILESS_MAIN(tst_NcidClient)
#include "tst_ncidclient.moc"
