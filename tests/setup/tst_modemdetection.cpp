#include "ModemDetection.h"
#include "ModemList.h"
#include "PortTable.h"
#include "RegistryFile.h"
#include "SerialDevices.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace
{

const QByteArray kModem = "[HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Services\\Class\\Modem\\";

// A modem key: its own values, then its caller-ID command key when one is given.
QByteArray modemKey(const QByteArray& name, const QByteArray& values, const QByteArray& command = {})
{
    QByteArray text = kModem + name + "]\n" + values + "\n";
    if (!command.isNull())
        text += kModem + name + "\\EnableCallerID]\n\"1\"=" + command + "\n";
    return text;
}

const QByteArray kUsbModem = "\"Model\"=\"Generic Voice Modem\"\n\"MatchingdeviceID\"=\"USB\\\\VID_1\"\n";
const QByteArray kDeviceKey = "[HKEY_LOCAL_MACHINE\\ENUM\\USB\\VID_1\\inst1]\n\"Portname\"=\"COM3\"\n";

void link(const QString& target, const QString& linkPath)
{
    QDir().mkpath(QFileInfo(linkPath).absolutePath());
    QVERIFY(QFile::link(target, linkPath));
}

// A tty as the kernel shows it: /sys/class/tty/NAME -> the device's folder, with "device" pointing at the
// hardware and, for a UART, its type.
void addTty(const QDir& root, const QString& name, const QString& hardware, const QByteArray& uartType = {})
{
    const QString ttyFolder = root.filePath("sys/devices/" + hardware + "/tty/" + name);
    QDir().mkpath(ttyFolder);
    link(root.filePath("sys/devices/" + hardware), ttyFolder + "/device");
    link(ttyFolder, root.filePath("sys/class/tty/" + name));
    TestSupport::writeFile(ttyFolder + "/dev", "166:" + name.right(1).toLatin1() + "\n");
    if (!uartType.isNull())
        TestSupport::writeFile(ttyFolder + "/type", uartType + "\n");
}

void addUsbDevice(const QDir& root, const QString& usbFolder, const QByteArray& vendor,
                  const QByteArray& product, const QByteArray& manufacturerText,
                  const QByteArray& productText)
{
    const QString folder = root.filePath("sys/devices/" + usbFolder);
    TestSupport::writeFile(folder + "/idVendor", vendor + "\n");
    TestSupport::writeFile(folder + "/idProduct", product + "\n");
    if (!manufacturerText.isEmpty())
        TestSupport::writeFile(folder + "/manufacturer", manufacturerText + "\n");
    if (!productText.isEmpty())
        TestSupport::writeFile(folder + "/product", productText + "\n");
}

} // namespace

class tst_ModemDetection : public QObject
{
    Q_OBJECT
private slots:
    void modemLinesFromKeys_data();
    void modemLinesFromKeys();
    void badRegFileLinesAreSkippedAndNamed();
    void chosenLineIsRead_data();
    void chosenLineIsRead();
    void detectsTheMachinesModems();
};

void tst_ModemDetection::modemLinesFromKeys_data()
{
    QTest::addColumn<QByteArray>("reg");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("model, port and command") << modemKey("0000", kUsbModem, "\"AT#CID=1<cr>\"") + kDeviceKey
                                             << QStringList{"Generic Voice Modem,3;AT#CID=1"};
    QTest::newRow("names match without regard to case")
        << modemKey("0000", "\"MODEL\"=\"M\"\n\"matchingDEVICEid\"=\"usb\\\\vid_1\"",
                    "\"AT+VCID=1<cr>ATS0=0<cr>\"")
               + kDeviceKey
        << QStringList{"M,3;AT+VCID=1"};
    QTest::newRow("a model that is not text reads as the fallback")
        << modemKey("0000", "\"Model\"=dword:00000007\n\"MatchingdeviceID\"=\"USB\\\\VID_1\"") + kDeviceKey
        << QStringList{"1,3;"};
    QTest::newRow("no device key: empty port")
        << modemKey("0000", kUsbModem, "\"AT#CID=1<cr>\"") << QStringList{"Generic Voice Modem,;AT#CID=1"};
    QTest::newRow("the last instance gives the port")
        << modemKey("0000", kUsbModem) + kDeviceKey
               + "[HKEY_LOCAL_MACHINE\\ENUM\\USB\\VID_1\\inst2]\n\"Portname\"=\"COM12\"\n"
        << QStringList{"Generic Voice Modem,12;"};
    QTest::newRow("attached to a port")
        << modemKey("0000", "\"Model\"=\"Old Modem\"\n\"Attachedto\"=\"COM7\"")
        << QStringList{"Old Modem,7;"};
    QTest::newRow("a key without model gives no line")
        << modemKey("0000", "\"Other\"=\"x\"", "\"AT#CID=1<cr>\"") << QStringList();
    QTest::newRow("text up to the first NUL, none without NUL")
        << modemKey("0000", "\"Model\"=hex(1):41,42,00,43,00", "hex(1):41,54") << QStringList{"AB,;"};
    QTest::newRow("a command without <cr> is kept whole")
        << modemKey("0000", "\"Model\"=\"M\"", "\"AT%CCID=1\"") << QStringList{"M,;AT%CCID=1"};
    QTest::newRow("seventeen keys, 0000 to 0009 and 00010 to 00016, in that order")
        << modemKey("00016", "\"Model\"=\"Last\"") + modemKey("0010", "\"Model\"=\"Never\"")
               + modemKey("00017", "\"Model\"=\"Beyond\"") + modemKey("0009", "\"Model\"=\"Ninth\"")
               + modemKey("00010", "\"Model\"=\"Tenth\"") + modemKey("0000", "\"Model\"=\"First\"")
        << QStringList{"First,;", "Ninth,;", "Tenth,;", "Last,;"};
    QTest::newRow("a removed key and a removed value")
        << modemKey("0001", "\"Model\"=\"Gone\"") + modemKey("0002", "\"Model\"=\"Kept\"", "\"AT#CID=1<cr>\"")
               + "[-" + kModem.mid(1) + "0001]\n" + kModem + "0002\\EnableCallerID]\n\"1\"=-\n"
        << QStringList{"Kept,;"};
}

void tst_ModemDetection::modemLinesFromKeys()
{
    QFETCH(QByteArray, reg);
    QFETCH(QStringList, lines);
    RegistryTree registry;
    const QStringList problems = RegistryFile::mergeText(registry, "REGEDIT4\n\n" + reg, "modems.reg");
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join('\n')));
    QCOMPARE(ModemList::modemLines(registry), lines);
}

void tst_ModemDetection::badRegFileLinesAreSkippedAndNamed()
{
    RegistryTree registry;
    const QByteArray text =
        "REGEDIT4\r\n"
        "[HKEY_CURRENT_USER\\Software]\r\n"
        "\"Model\"=\"Not here\"\r\n"
        + modemKey("0000", "\"Model\"=\"Good\"\r\n\"Model\":\"Bad\"\r\n\"Attachedto\"=hex:zz\r\n"
                           "\"Extra\"=hex:01,02,\\\r\n  ff")
        + kModem + "0000\\EnableCallerID]\n\"1\"=\"AT#CID=1<cr>\"\n\"2\"=\"quote lost after a backslash\\\n"
        + kModem + "0009\n\"1\"=\"ATZ<cr>\"\n"; // a key without its closing bracket, and its value
    const QStringList problems = RegistryFile::mergeText(registry, text, "modems.reg");
    QCOMPARE(problems.size(), 5);
    QVERIFY2(problems.at(0).startsWith("modems.reg line 2: only keys under HKEY_LOCAL_MACHINE"),
             qPrintable(problems.at(0)));
    QVERIFY2(problems.at(1).startsWith("modems.reg line 6: \"\"Model\":\"Bad\"\" is not a value"),
             qPrintable(problems.at(1)));
    QVERIFY2(problems.at(2).startsWith("modems.reg line 7: the data of \"Attachedto\""),
             qPrintable(problems.at(2)));
    QVERIFY2(problems.at(3).startsWith("modems.reg line 12: the data of \"2\""), qPrintable(problems.at(3)));
    QVERIFY2(problems.at(4).startsWith("modems.reg line 13: \"" + kModem
                                       + "0009\" is a key without its closing bracket"),
             qPrintable(problems.at(4)));
    QCOMPARE(ModemList::modemLines(registry), QStringList{"Good,;AT#CID=1"});
    QCOMPARE(registry.openKey(ModemDetection::modemKey(0))->value("extra")->data, QByteArray("\x01\x02\xff"));

    RegistryTree untouched;
    const QStringList refused =
        RegistryFile::mergeText(untouched, modemKey("0000", "\"Model\"=\"M\""), "x.reg");
    QCOMPARE(refused, QStringList{"x.reg does not start with REGEDIT4; the file was not used."});
    QVERIFY(ModemList::modemLines(untouched).isEmpty());
}

void tst_ModemDetection::chosenLineIsRead_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("port"); // -1: refused, 0: none
    QTest::addColumn<QString>("command");
    QTest::newRow("port and command") << "Generic Voice Modem,3;AT#CID=1" << 3 << "AT#CID=1";
    QTest::newRow("no command") << "M,12;" << 12 << "";
    QTest::newRow("no port: asked for") << "M,;AT+VCID=1" << 0 << "AT+VCID=1";
    QTest::newRow("a comma in the model") << "Acme, Inc. Modem,4;AT+VCID=1" << 4 << "AT+VCID=1";
    QTest::newRow("the command may hold ; and ,") << "M,2;AT#CID=1;S0=0,1" << 2 << "AT#CID=1;S0=0,1";
    QTest::newRow("port not a number") << "M,x;AT" << -1 << "";
    QTest::newRow("no semicolon") << "M,3" << -1 << "";
    QTest::newRow("semicolon before the comma") << "M;3,AT" << -1 << "";
}

void tst_ModemDetection::chosenLineIsRead()
{
    QFETCH(QString, line);
    QFETCH(int, port);
    QFETCH(QString, command);
    QString error;
    const std::optional<ModemList::Choice> choice = ModemList::readLine(line, &error);
    QCOMPARE(choice.has_value(), port >= 0);
    if (!choice) {
        QVERIFY2(error.contains(line), qPrintable(error));
        return;
    }
    QCOMPARE(choice->port.value_or(0), port);
    QCOMPARE(choice->port.has_value(), port != 0);
    QCOMPARE(choice->command, command);
}

void tst_ModemDetection::detectsTheMachinesModems()
{
    QTemporaryDir dir;
    const QDir root(dir.path());
    // A USB modem of the table, with its maker's texts.
    addUsbDevice(root, "usb1/1-1", "0baf", "0303", "U.S. Robotics", "USB Modem");
    addTty(root, "ttyACM0", "usb1/1-1/1-1:1.0");
    // A modem of the table known only to udev's hardware database.
    addUsbDevice(root, "usb1/1-2", "0572", "1340", "", "");
    addTty(root, "ttyACM1", "usb1/1-2/1-2:1.0");
    TestSupport::writeFile(
        root.filePath("run/udev/data/c166:1"),
        "S:serial/by-id/x\nE:ID_VENDOR_FROM_DATABASE=Conexant Systems\n"
        "E:ID_MODEL_FROM_DATABASE=CX93010 ACF Modem\nQ:ID_MODEL_FROM_DATABASE=not a property\n");
    // An unknown USB serial adapter whose product text holds the line format's separators.
    addUsbDevice(root, "usb1/1-3", "0403", "6001", "FTDI", "FT232R; UART, rev B");
    addTty(root, "ttyUSB0", "usb1/1-3/1-3:1.0/ttyUSB0");
    // A modem on a device that no port number names, without any texts.
    addUsbDevice(root, "usb1/1-4", "0803", "3095", "", "");
    addTty(root, "ttyACM7", "usb1/1-4/1-4:1.0");
    // A built-in port with a UART, one without (the kernel's placeholder), and a tty without hardware.
    addTty(root, "ttyS0", "platform/serial8250/tty0", "4");
    addTty(root, "ttyS1", "platform/serial8250/tty1", "0");
    QDir().mkpath(root.filePath("sys/class/tty/ttyS2"));
    addTty(root, "tty5", "virtual/tty5");

    const QList<SerialDevice> devices = scanSerialDevices(dir.path());
    QStringList names;
    for (const SerialDevice& device : devices)
        names << device.name;
    QCOMPARE(names, (QStringList{"ttyACM0", "ttyACM1", "ttyACM7", "ttyUSB0", "ttyS0"}));

    QSettings settings(root.filePath("Nimbrel.conf"), QSettings::IniFormat);
    const QStringList present{"/dev/ttyACM0", "/dev/ttyACM1", "/dev/ttyACM2", "/dev/ttyUSB0", "/dev/ttyS0"};
    const PortTable ports(settings, [&](const QString& path) { return present.contains(path); });
    QCOMPARE(ports.portOf("/dev/ttyS7"), 16); // the last port's own device: a modem there keeps its number
    // modems.reg adds a modem and renames one that was found.
    TestSupport::writeFile(
        root.filePath("modems.reg"),
        "REGEDIT4\n"
            + modemKey("0005", "\"Model\"=\"Hand-made\"\n\"Attachedto\"=\"COM16\"", "\"AT#CID=1<cr>\"")
            + modemKey("0004", "\"Model\"=\"Built-in modem\""));
    const DetectedModems found =
        ModemDetection::detect(devices, ports, {root.filePath("modems.reg"), root.filePath("absent.reg")});
    QVERIFY(found.problems.isEmpty());
    QCOMPARE(ModemList::modemLines(found.registry), (QStringList{
                                                        "U.S. Robotics USB Modem,1;AT+VCID=1",
                                                        "Conexant Systems CX93010 ACF Modem,2;AT+VCID=1",
                                                        "USB device 0803:3095 on ttyACM7,4;AT+VCID=1",
                                                        "FTDI FT232R UART rev B,5;",
                                                        "Built-in modem,9;",
                                                        "Hand-made,16;AT#CID=1",
                                                    }));
    // Port 3's device is present, so the lent number is 4, the first whose device is absent.
    QCOMPARE(found.lentPorts, (QMap<int, QString>{{4, "/dev/ttyACM7"}}));
    QCOMPARE(found.devicePaths.value(9), QString("/dev/ttyS0"));
    // With every other port's device present, the last port is the one lent.
    const PortTable crowded(settings, [](const QString& path) { return path != "/dev/ttyS7"; });
    QCOMPARE(ModemDetection::detect(devices, crowded, {}).lentPorts,
             (QMap<int, QString>{{16, "/dev/ttyACM7"}}));
}

QTEST_GUILESS_MAIN(tst_ModemDetection)
#include "tst_modemdetection.moc"
