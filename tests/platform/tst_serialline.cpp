#include "FakeClock.h"
#include "ModemSimulator.h"
#include "PortHolder.h"
#include "PortTable.h"
#include "SerialLine.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QTest>

class tst_SerialLine : public QObject
{
    Q_OBJECT
private slots:
    void openFailuresSayWhatToDo_data();
    void openFailuresSayWhatToDo();
    void aBusyPortNamesItsHolder();
    void portTable_data();
    void portTable();
};

void tst_SerialLine::openFailuresSayWhatToDo_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char* device, const char* reason) {
        QTest::newRow(device) << device << reason;
    };
    row("/dev/ttyNIMBRELNONE", "No such device");
    row("/dev/null", "/dev/null is not a serial device: it is a device");
    row("FILE", "is not a serial device: it is a plain file");
    row("/tmp", "/tmp is not a serial device: it is a folder");
}

void tst_SerialLine::openFailuresSayWhatToDo()
{
    QFETCH(QString, device);
    QFETCH(QString, reason);
    QTemporaryFile plain;
    if (device == "FILE") {
        QVERIFY(plain.open());
        device = plain.fileName();
    }
    FakeClock clock;
    SerialLine line(clock);
    QString error;
    QVERIFY(!line.open(device, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    QVERIFY(!line.isOpen());
}

void tst_SerialLine::aBusyPortNamesItsHolder()
{
    ModemSimulator modem(ModemProfile{});
    QString error;
    QVERIFY2(modem.start(&error), qPrintable(error));
    FakeClock clock;
    SerialLine first(clock);
    QVERIFY2(first.open(modem.devicePath(), &error), qPrintable(error));
    SerialLine second(clock);
    QVERIFY(!second.open(modem.devicePath(), &error));
    const QString holder =
        QStringLiteral("tst_serialline (process %1) holds it").arg(QCoreApplication::applicationPid());
    QVERIFY2(error.startsWith("The port is busy: " + holder), qPrintable(error));
    QVERIFY(error.contains("ModemManager"));
    QVERIFY(portHolder("/dev/nimbrel-absent").isEmpty());
}

void tst_SerialLine::portTable_data()
{
    QTest::addColumn<QStringList>("overrides");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("device");
    QTest::addColumn<int>("firstPresent");
    QTest::newRow("USB ACM modems come first")
        << QStringList() << QStringList{"/dev/ttyACM3", "/dev/ttyS0"} << 1 << "/dev/ttyACM0" << 4;
    QTest::newRow("USB serial adapters next")
        << QStringList() << QStringList{"/dev/ttyUSB3", "/dev/ttyS0"} << 5 << "/dev/ttyUSB0" << 8;
    QTest::newRow("built-in ports last")
        << QStringList() << QStringList{"/dev/ttyS1"} << 9 << "/dev/ttyS0" << 10;
    QTest::newRow("an override names any device")
        << QStringList{"COM3=/dev/pts/7"} << QStringList{"/dev/pts/7"} << 3 << "/dev/pts/7" << 3;
    QTest::newRow("and so does one of the last port")
        << QStringList{"COM16=/dev/pts/9"} << QStringList{"/dev/pts/9"} << 16 << "/dev/pts/9" << 16;
    QTest::newRow("no device at all") << QStringList() << QStringList() << 16 << "/dev/ttyS7" << 0;
}

void tst_SerialLine::portTable()
{
    QFETCH(QStringList, overrides);
    QFETCH(QStringList, present);
    QFETCH(int, port);
    QFETCH(QString, device);
    QFETCH(int, firstPresent);
    QTemporaryDir dir;
    QSettings settings(dir.filePath("Nimbrel.conf"), QSettings::IniFormat);
    for (const QString& entry : overrides)
        settings.setValue("Ports/" + entry.section('=', 0, 0), entry.section('=', 1));
    const PortTable table(settings, [&](const QString& path) { return present.contains(path); });
    QCOMPARE(table.devicePath(port), device);
    QCOMPARE(table.firstPresentPort(), firstPresent);
}

QTEST_GUILESS_MAIN(tst_SerialLine)
#include "tst_serialline.moc"
