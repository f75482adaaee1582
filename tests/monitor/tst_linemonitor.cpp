#include "LineMonitor.h"
#include "ModemSimulator.h"
#include "MonitorSettings.h"
#include "PortTable.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace
{

// A line monitor on a simulated modem.
struct Rig {
    explicit Rig(const ModemProfile& profile)
        : modem(profile)
    {
        QString error;
        if (!modem.start(&error))
            qFatal("%s", qPrintable(error));
        control.setPort(1, modem.devicePath());
        QObject::connect(&modem, &ModemSimulator::commandReceived, [this](const QString& command) {
            commands << QStringLiteral("%1@%2").arg(command).arg(elapsedMs());
        });
        QObject::connect(
            &control, &LineMonitor::message, [this](const QString& text, LineMonitor::MessageKind kind) {
                messages << (kind == LineMonitor::MessageKind::Critical ? "critical: " : "") + text;
            });
    }
    qint64 elapsedMs() const { return started.msecsTo(db.clock.now()); }
    bool startAndSettle()
    {
        control.startStopMonitoring();
        return TestSupport::runUntil(db.clock, modem, [this] { return !control.isStarting(); });
    }

    TestDatabase db;
    const QDateTime started = db.clock.now();
    ModemSimulator modem;
    LineMonitor control{db.store, db.clock};
    QStringList commands;
    QStringList messages;
};

} // namespace

class tst_LineMonitor : public QObject
{
    Q_OBJECT
private slots:
    void initialisation_data();
    void initialisation();
    void pressWhileStartingIsIgnoredAndStopClosesThePort();
    void switchingThePortMovesTheOpenLine_data();
    void switchingThePortMovesTheOpenLine();
    void unpluggedModemStopsMonitoring_data();
    void unpluggedModemStopsMonitoring();
    void servedPortFromTheSettings_data();
    void servedPortFromTheSettings();
};

void tst_LineMonitor::initialisation_data()
{
    QTest::addColumn<QString>("profile");
    QTest::addColumn<QString>("initCallerID");
    QTest::addColumn<QString>("commands"); // each "COMMAND@ms", ms after the start
    QTest::addColumn<QString>("message");  // empty: monitoring, the port open
    const auto row = [](const char* name, const char* profile, const char* initCallerID, const char* commands,
                        const char* message) {
        QTest::newRow(name) << profile << initCallerID << commands << message;
    };
    const char* const notEnabled = "Port 1: Modem not Caller ID enabled";
    row("first command accepted after the two-second pause", "accept=AT#CID=1", "", "ATZ@0 AT#CID=1@2000",
        "");
    row("third command accepted: the fourth and fifth are not sent", "accept=AT%CCID=1", "",
        "ATZ@0 AT#CID=1@2000 AT+VCID=1@2000 AT%CCID=1@2000", "");
    row("all five refused", "accept-none", "",
        "ATZ@0 AT#CID=1@2000 AT+VCID=1@2000 AT%CCID=1@2000 AT#CC1@2000 AT*ID1@2000", notEnabled);
    row("stored command refused: the list is not tried", "accept=AT#CID=1", "AT#CID=2", "ATZ@0 AT#CID=2@2000",
        notEnabled);
    row("stored command accepted", "accept=AT+VCID=1", "AT+VCID=1", "ATZ@0 AT+VCID=1@2000", "");
    row("ERROR to ATZ is not responding", "reset-error", "", "ATZ@0", "Port 1 not responding");
    row("silence is not responding after two seconds", "silent", "", "ATZ@0", "Port 1 not responding");
    row("echo on", "echo,accept=AT#CID=1", "", "ATZ@0 AT#CID=1@2000", "");
    row("lines ending in CR alone", "cr,accept=AT+VCID=1", "", "ATZ@0 AT#CID=1@2000 AT+VCID=1@2000", "");
}

void tst_LineMonitor::initialisation()
{
    QFETCH(QString, profile);
    QFETCH(QString, initCallerID);
    QFETCH(QString, commands);
    QFETCH(QString, message);
    Rig rig(ModemProfile::fromText(profile, nullptr));
    rig.control.setInitCallerID(initCallerID);
    QSignalSpy starting(&rig.control, &LineMonitor::startingChanged);
    QVERIFY(rig.startAndSettle());
    QCOMPARE(starting, (QList<QVariantList>{{true}, {false}})); // the wait cursor comes and goes
    QCOMPARE(rig.commands.join(' '), commands);
    QCOMPARE(rig.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(rig.control.isMonitoring(), message.isEmpty());
    QCOMPARE(rig.control.isPortOpen(), message.isEmpty());
}

void tst_LineMonitor::pressWhileStartingIsIgnoredAndStopClosesThePort()
{
    Rig rig(ModemProfile::fromText("accept=AT+VCID=1", nullptr));
    QSignalSpy replies(&rig.control, &LineMonitor::replyReceived);
    rig.control.startStopMonitoring();
    TestSupport::waitForQuietLine(rig.modem);
    QVERIFY(rig.control.isStarting());
    rig.control.startStopMonitoring();
    QVERIFY(TestSupport::runUntil(rig.db.clock, rig.modem, [&] { return !rig.control.isStarting(); }));
    QCOMPARE(rig.commands.join(' '), QStringLiteral("ATZ@0 AT#CID=1@2000 AT+VCID=1@2000"));
    QVERIFY(rig.control.isMonitoring());
    QCOMPARE(replies.count(), 3); // OK to ATZ, ERROR to AT#CID=1, OK to AT+VCID=1
    QCOMPARE(replies.at(1).first().value<ModemReply>(), ModemReply::Error);
    QCOMPARE(replies.at(2).first().value<ModemReply>(), ModemReply::Ok);
    QSignalSpy changed(&rig.control, &LineMonitor::monitoringChanged);
    rig.control.startStopMonitoring();
    QCOMPARE(changed.count(), 1);
    QVERIFY(!rig.control.isMonitoring());
    QVERIFY(!rig.control.isPortOpen());
}

void tst_LineMonitor::switchingThePortMovesTheOpenLine_data()
{
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("target"); // "first" (the open line), "second" or "none" (a device not there)
    QTest::newRow("the same port and device: nothing changes") << 1 << "first";
    QTest::newRow("the same number, another device") << 1 << "second";
    QTest::newRow("another number, another device") << 2 << "second";
    QTest::newRow("another number, the same device") << 2 << "first";
    QTest::newRow("a device that is not there: the old line stays") << 2 << "none";
}

void tst_LineMonitor::switchingThePortMovesTheOpenLine()
{
    QFETCH(int, port);
    QFETCH(QString, target);
    Rig rig(ModemProfile::fromText("accept=AT#CID=1", nullptr));
    QVERIFY(rig.startAndSettle());
    ModemSimulator second;
    QString error;
    QVERIFY2(second.start(&error), qPrintable(error));
    const QString device = target == "first"    ? rig.modem.devicePath()
                           : target == "second" ? second.devicePath()
                                                : QStringLiteral("/dev/ttyNIMBRELNONE");
    const bool switched = rig.control.switchPort(port, device, &error);
    QCOMPARE(switched, target != "none");
    QCOMPARE(rig.control.devicePath(), switched ? device : rig.modem.devicePath());
    QCOMPARE(rig.control.port(), switched ? port : 1);
    QVERIFY(rig.control.isPortOpen());
    if (!switched)
        QVERIFY2(error.contains("No such device"), qPrintable(error));
}

void tst_LineMonitor::unpluggedModemStopsMonitoring_data()
{
    QTest::addColumn<bool>("stoppedFirst"); // the user pressed Stop before the modem went
    QTest::addColumn<bool>("comesBack");
    QTest::newRow("pulled out and left out") << false << false;
    QTest::newRow("plugged back in: monitoring resumes") << false << true;
    QTest::newRow("a Stop by the user is never undone") << true << true;
}

void tst_LineMonitor::unpluggedModemStopsMonitoring()
{
    QFETCH(bool, stoppedFirst);
    QFETCH(bool, comesBack);
    Rig rig(ModemProfile::fromText("accept=AT#CID=1", nullptr));
    // The port is named by a stable link, as /dev/serial/by-id names a USB modem whatever its ttyACM number.
    QTemporaryDir byId;
    const QString link = byId.filePath("usb-Modem-if00");
    QVERIFY(QFile::link(rig.modem.devicePath(), link));
    rig.control.setPort(1, link);
    QVERIFY(rig.startAndSettle());
    QSignalSpy status(&rig.control, &LineMonitor::statusChanged);
    rig.modem.sendLine("RING");
    rig.modem.sendLine("NMBR=5551234");
    TestSupport::waitForQuietLine(rig.modem);
    QSignalSpy shownState(&rig.control, &LineMonitor::monitoringChanged); // what the Start button says
    if (stoppedFirst)
        rig.control.startStopMonitoring();
    rig.modem.unplug();
    QTRY_VERIFY_WITH_TIMEOUT(!rig.control.isPortOpen(), 1000);
    QVERIFY(!rig.control.isMonitoring());
    QCOMPARE(shownState, QList<QVariantList>{{false}});
    rig.db.clock.advance(2000); // the watch on the device path must not report it again
    QCoreApplication::processEvents();
    const QStringList whileAway = TestSupport::spiedTexts(status);
    QCOMPARE(whileAway,
             QStringList{stoppedFirst ? "Monitoring stopped."
                                      : "The modem on " + link
                                            + " is gone (unplugged or switched off). Monitoring "
                                              "stopped; it resumes by itself when the modem is back."});
    qint64 returnedAt = 0;
    if (comesBack) {
        QString error;
        QVERIFY2(rig.modem.start(&error), qPrintable(error)); // a new terminal, and the link follows it
        QVERIFY(QFile::remove(link) && QFile::link(rig.modem.devicePath(), link));
        rig.commands.clear();
        returnedAt = rig.elapsedMs();
        TestSupport::runUntil(
            rig.db.clock, rig.modem, [&] { return rig.control.isMonitoring(); }, 4500);
    }
    const bool resumed = comesBack && !stoppedFirst;
    QCOMPARE(rig.control.isMonitoring(), resumed);
    QCOMPARE(shownState.last().first().toBool(), resumed);
    if (resumed) {
        QCOMPARE(rig.commands.size(), 2);
        QVERIFY2(rig.commands.first().startsWith("ATZ@")
                     && rig.commands.first().mid(4).toInt() <= returnedAt + 2000,
                 qPrintable(rig.commands.join(' '))); // within two seconds of its return
        QCOMPARE(TestSupport::spiedTexts(status).mid(whileAway.size(), 1),
                 QStringList{"The modem on port 1 (" + link + ") is back: monitoring resumes."});
        rig.modem.sendLine("RING");
        rig.modem.sendLine("NMBR=5550000");
        TestSupport::runUntil(rig.db.clock, rig.modem, [&] { return rig.db.calls().size() == 2; });
    } else {
        QCOMPARE(TestSupport::spiedTexts(status), whileAway);
    }
    QCOMPARE(rig.db.calls().size(), resumed ? 2 : 1);
    QCOMPARE(rig.db.calls().first(), QStringLiteral("1|5551234|Unknown Caller"));
}

void tst_LineMonitor::servedPortFromTheSettings_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("port");
    QTest::newRow("none: NCID's own") << QString() << 3333;
    QTest::newRow("0: any free port") << "0" << 0;
    QTest::newRow("the highest") << "65535" << 65535;
    QTest::newRow("one past the highest: NCID's own") << "65536" << 3333;
    QTest::newRow("negative: NCID's own") << "-1" << 3333;
}

void tst_LineMonitor::servedPortFromTheSettings()
{
    QFETCH(QString, stored);
    QFETCH(int, port);
    QTemporaryDir dir;
    QSettings settings(dir.filePath("Nimbrel.conf"), QSettings::IniFormat);
    if (!stored.isEmpty())
        settings.setValue("Properties/ServeNCIDPort", stored);
    QCOMPARE(int(MonitorSettings::load(settings, PortTable(settings)).serveNcidPort), port);
}

QTEST_GUILESS_MAIN(tst_LineMonitor)
#include "tst_linemonitor.moc"
