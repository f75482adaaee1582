#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "CommSetup.h"
#include "SkinStore.h"
#include "TestProgram.h"
#include "TestSupport.h"
#include "frmCommManual.h"

#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

namespace
{

const QByteArray kModems = R"(REGEDIT4

[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Modem\0001]
"Model"="Generic Voice Modem"
"Attachedto"="COM3"
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Modem\0001\EnableCallerID]
"1"="AT#CID=1<cr>"
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Modem\0002]
"Model"="Acme, Inc. Modem"
"Attachedto"="COM4"
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Modem\0003]
"Model"="Bad Port Modem"
"Attachedto"="COMx"
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Modem\0004]
"Model"="Port Zero Modem"
"Attachedto"="COM0"
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Modem\0005]
"Model"="No Port Modem"
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Modem\0005\EnableCallerID]
"1"="AT+VCID=1<cr>"
[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Modem\0006]
"Model"="Absent Modem"
"Attachedto"="COM16"
)";

void click(QWidget* widget, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mousePress(widget, button, Qt::NoModifier, QPoint(5, 5));
    QTest::mouseRelease(widget, button, Qt::NoModifier, QPoint(5, 5));
}

// The main window with the modems above in modems.reg and one USB modem that no port number names in its
// /sys.
struct SetupRig {
    explicit SetupRig(const QString& profile = QStringLiteral("accept=AT#CID=1"))
        : program(profile)
    {
        const QDir root(program.dir.path());
        TestSupport::writeFile(root.filePath("modems.reg"), kModems);
        TestSupport::writeFile(root.filePath("sys/devices/usb1/1-4/idVendor"), "0803");
        TestSupport::writeFile(root.filePath("sys/devices/usb1/1-4/idProduct"), "3095");
        QDir().mkpath(root.filePath("sys/devices/usb1/1-4/1-4:1.0"));
        QFile::link(root.filePath("sys/devices/usb1/1-4/1-4:1.0"),
                    root.filePath("sys/devices/usb1/1-4/1-4:1.0/device"));
        QDir().mkpath(root.filePath("sys/class/tty"));
        QFile::link(root.filePath("sys/devices/usb1/1-4/1-4:1.0"), root.filePath("sys/class/tty/ttyACM9"));
        program.load();
    }

    CommSetup* open()
    {
        click(program.window->lblComm);
        CommSetup* setup = program.window->commSetup();
        Q_ASSERT(setup && setup->isVisible());
        return setup;
    }
    void choose(CommSetup* setup, const QString& line)
    {
        setup->lstmdm->setCurrentIndex(setup->lstmdm->findText(line));
        QVERIFY2(setup->lstmdm->currentIndex() >= 0, qPrintable(line));
    }
    QString stored(const QString& key) { return program.settings.value("Properties/" + key).toString(); }

    TestProgram program;
};

} // namespace

class tst_CommSetup : public QObject
{
    Q_OBJECT
private slots:
    void listsTheModemsSorted();
    void okStoresTheChoice_data();
    void okStoresTheChoice();
    void aLineWithoutPortAsksForIt();
    void aFailedOkChangesNothing_data();
    void aFailedOkChangesNothing();
    void nameListTogglesAtOnce();
    void startAtLogin_data();
    void startAtLogin();
    void sourceOfCalls_data();
    void sourceOfCalls();
};

void tst_CommSetup::listsTheModemsSorted()
{
    SetupRig rig;
    CommSetup* setup = rig.open();
    QStringList lines;
    for (int i = 0; i < setup->lstmdm->count(); ++i)
        lines << setup->lstmdm->itemText(i);
    QCOMPARE(lines, (QStringList{"Absent Modem,16;", "Acme, Inc. Modem,4;", "Bad Port Modem,x;",
                                 "Generic Voice Modem,3;AT#CID=1", "No Port Modem,;AT+VCID=1",
                                 "Port Zero Modem,0;", "USB device 0803:3095 on ttyACM9,2;AT+VCID=1"}));
    QCOMPARE(setup->lstmdm->currentIndex(), -1);
    QVERIFY(setup->lblDevice->text().startsWith("Found 7 modems"));
    for (const QWidget* control : setup->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        QVERIFY2(setup->rect().contains(control->geometry()), qPrintable(control->objectName()));
    rig.choose(setup, "USB device 0803:3095 on ttyACM9,2;AT+VCID=1");
    QCOMPARE(setup->lblDevice->text(), QString("Port 2 is /dev/ttyACM9."));
    rig.choose(setup, "Port Zero Modem,0;"); // no device is any port outside 1 to 16
    QCOMPARE(setup->lblDevice->text(), QString());
}

void tst_CommSetup::okStoresTheChoice_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<QString>("commPort"); // stored; empty when nothing may be stored
    QTest::addColumn<QString>("initCallerID");
    QTest::addColumn<QString>("device"); // what the monitor watches afterwards; empty: port 1 as before
    QTest::addColumn<QString>("message");
    const auto row = [](const char* name, const char* line, const char* commPort, const char* initCallerID,
                        const char* device, const char* message) {
        QTest::newRow(name) << line << commPort << initCallerID << device << message;
    };
    row("port and command", "Generic Voice Modem,3;AT#CID=1", "3", "AT#CID=1", "/dev/ttyACM2", "");
    row("a comma in the model, no command", "Acme, Inc. Modem,4;", "4", "", "/dev/ttyACM3", "");
    row("the first line of the list, on the last port", "Absent Modem,16;", "16", "", "/dev/ttyS7", "");
    row("a lent port number is stored with its device", "USB device 0803:3095 on ttyACM9,2;AT+VCID=1", "2",
        "AT+VCID=1", "/dev/ttyACM9", "");
    row("no line chosen keeps the port", "", "1", "", "", "");
    row("a port that is not a number", "Bad Port Modem,x;", "", "", "", "\"x\" of the modem line");
    row("port 0", "Port Zero Modem,0;", "", "", "", "Port 0 is not one of Nimbrel's ports");
}

void tst_CommSetup::okStoresTheChoice()
{
    QFETCH(QString, line);
    QFETCH(QString, commPort);
    QFETCH(QString, initCallerID);
    QFETCH(QString, device);
    QFETCH(QString, message);
    SetupRig rig;
    rig.program.settings.remove("Properties/CommPort");
    CommSetup* setup = rig.open();
    if (!line.isEmpty())
        rig.choose(setup, line);
    click(setup->lblOK);

    const bool saved = !commPort.isEmpty();
    QCOMPARE(setup->isVisible(), !saved);
    QCOMPARE(rig.program.messages.size(), saved ? 0 : 1);
    if (!saved)
        QVERIFY2(rig.program.messages.first().contains(message), qPrintable(rig.program.messages.first()));
    QCOMPARE(rig.stored("CommPort"), commPort);
    QCOMPARE(rig.stored("InitCallerID"), initCallerID);
    QCOMPARE(rig.stored("UseNameList"), saved ? "False" : "");
    const LineMonitor& monitor = rig.program.window->monitor();
    QCOMPARE(monitor.devicePath(), device.isEmpty() ? rig.program.modem.devicePath() : device);
    QCOMPARE(monitor.initCallerID(), initCallerID);
    QCOMPARE(rig.program.settings.value("Ports/COM2").toString(), device == "/dev/ttyACM9" ? device : "");
}

void tst_CommSetup::aLineWithoutPortAsksForIt()
{
    SetupRig rig;
    CommSetup* setup = rig.open();
    rig.choose(setup, "No Port Modem,;AT+VCID=1");
    click(setup->lblOK);
    frmCommManual* manual = setup->manualDialog();
    QVERIFY(manual && manual->isVisible());
    QVERIFY(manual->txtNotification->toPlainText().startsWith(
        "Nimbrel was unable to auto-detect the communication port of your modem."));
    QVERIFY(manual->txtNotification->toPlainText().contains(
        QString("1 = %1 (present), 2 = /dev/ttyACM1").arg(rig.program.modem.devicePath())));
    QVERIFY(manual->txtNotification->toPlainText().contains("15 = /dev/ttyS6, 16 = /dev/ttyS7."));
    QVERIFY(manual->txtNotification->isReadOnly());
    QCOMPARE(manual->txtcommlist->count(), 16);
    QCOMPARE(manual->txtcommlist->itemText(15), QString("16"));

    click(manual->lblOK); // nothing chosen yet: it says so and stays
    QCOMPARE(rig.program.messages.size(), 1);
    QVERIFY(manual->isVisible());
    click(manual->lblCancel); // no port chosen before in this run: nothing is saved
    QCOMPARE(rig.program.messages.size(), 2);
    QVERIFY(setup->isVisible());
    QCOMPARE(rig.stored("InitCallerID"), "");

    click(setup->lblOK);
    manual = setup->manualDialog();
    manual->txtcommlist->setCurrentIndex(0);
    click(manual->lblOK);
    QVERIFY(!setup->isVisible());
    QCOMPARE(rig.stored("CommPort"), "1");
    QCOMPARE(rig.stored("InitCallerID"), "AT+VCID=1");
    QCOMPARE(rig.program.window->ManualPort, 1);

    // Later in the run, Cancel in the manual dialog takes the port chosen before.
    rig.program.settings.setValue("Properties/CommPort", "9");
    QTRY_VERIFY(!rig.program.window->commSetup());
    setup = rig.open();
    rig.choose(setup, "No Port Modem,;AT+VCID=1");
    click(setup->lblOK);
    click(setup->manualDialog()->lblCancel);
    QCOMPARE(rig.stored("CommPort"), "1");
    QCOMPARE(rig.program.messages.size(), 2);
}

void tst_CommSetup::aFailedOkChangesNothing_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("settingsFileIsAFolder");
    QTest::addColumn<QString>("message"); // its start; SETTINGS stands for the settings file
    QTest::newRow("a port whose device is not there")
        << "Generic Voice Modem,3;AT#CID=1" << false
        << "Cannot open comm port 3 (/dev/ttyACM2): No such device";
    QTest::newRow("settings that cannot be written")
        << "Generic Voice Modem,3;AT#CID=1" << true << "The settings could not be written to SETTINGS";
}

void tst_CommSetup::aFailedOkChangesNothing()
{
    QFETCH(QString, line);
    QFETCH(bool, settingsFileIsAFolder);
    QFETCH(QString, message);
    SetupRig rig;
    rig.program.settings.sync();
    const QString file = rig.program.settings.fileName();
    if (settingsFileIsAFolder)
        QVERIFY(QFile::remove(file) && QDir().mkdir(file));
    message.replace("SETTINGS", file);
    LineMonitor& monitor = rig.program.window->monitor();
    CommSetup* setup = rig.open();
    const bool monitoring = !settingsFileIsAFolder; // the device is tried only while the line is open
    if (monitoring)
        rig.program.startMonitoring(); // calls go on while the dialog is open, and so can monitoring
    rig.choose(setup, line);
    click(setup->lblOK);
    QCOMPARE(rig.program.messages.size(), 1);
    QVERIFY2(rig.program.messages.first().startsWith(message), qPrintable(rig.program.messages.first()));
    QVERIFY(setup->isVisible());
    QCOMPARE(monitor.port(), 1);
    QCOMPARE(monitor.initCallerID(), "");
    QCOMPARE(rig.stored("CommPort"), "1");
    QCOMPARE(rig.stored("InitCallerID"), "");
    QCOMPARE(monitor.isMonitoring(), monitoring);
    if (monitoring) { // the watch goes on on the old port
        rig.program.play("RING\nNMBR=5550100\nRING");
        QCOMPARE(rig.program.gridRows(), QStringList{"5550100|Unknown Caller"});
    }
}

void tst_CommSetup::nameListTogglesAtOnce()
{
    SetupRig rig;
    CallTracker& calls = rig.program.window->monitor().calls();
    CommSetup* setup = rig.open();
    const SkinStore& skins = rig.program.window->skins();
    QCOMPARE(setup->ImgNameList->pixmap().cacheKey(), skins.imgSkins(SkinStore::CheckOff).cacheKey());
    click(setup->ImgNameList, Qt::RightButton);
    QVERIFY(!calls.useNameList());
    click(setup->ImgNameList);
    QVERIFY(calls.useNameList());
    QCOMPARE(setup->ImgNameList->pixmap().cacheKey(), skins.imgSkins(SkinStore::CheckOn).cacheKey());
    click(setup->lblCancel);
    QVERIFY(!setup->isVisible());
    QVERIFY(calls.useNameList());
    QCOMPARE(rig.stored("UseNameList"), "");
}

void tst_CommSetup::startAtLogin_data()
{
    // The entry in the autostart folder; "folder": a file in the folder's place, "entry": a folder in the
    // entry's.
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<bool>("shownOn");
    QTest::addColumn<bool>("onAfterClick");
    QTest::addColumn<QString>("reason"); // why the message says the entry cannot be written; empty: none
    QTest::newRow("off, turned on") << QByteArray() << false << true << QString();
    QTest::newRow("on, turned off") << QByteArray("[Desktop Entry]\nExec=nimbrel --autostart\n") << true
                                    << false << QString();
    QTest::newRow("the desktop's own off counts as off")
        << QByteArray("[Desktop Entry]\nExec=nimbrel --autostart\nHidden=true\n") << false << true
        << QString();
    QTest::newRow("an autostart folder that cannot be made")
        << QByteArray("folder") << false << false << "the folder cannot be made";
    QTest::newRow("an entry that cannot be written")
        << QByteArray("entry") << false << false << "Filename refers to a directory";
}

void tst_CommSetup::startAtLogin()
{
    QFETCH(QByteArray, before);
    QFETCH(bool, shownOn);
    QFETCH(bool, onAfterClick);
    QFETCH(QString, reason);
    SetupRig rig;
    const QDir config(rig.program.dir.filePath("config"));
    const QString entry = config.filePath("autostart/nimbrel.desktop");
    if (before == "folder")
        TestSupport::writeFile(config.filePath("autostart"), {});
    else if (before == "entry")
        QVERIFY(config.mkpath(entry));
    else if (!before.isEmpty())
        TestSupport::writeFile(entry, before);
    CommSetup* setup = rig.open();
    QAccessibleInterface* check = QAccessible::queryAccessibleInterface(setup->ImgAutostart);
    QVERIFY(check->state().checkable); // what tells a screen reader it can be ticked
    QCOMPARE(check->state().checked, shownOn);
    click(setup->ImgAutostart);
    QCOMPARE(check->state().checked, onAfterClick);
    QCOMPARE(rig.program.messages.size(), reason.isEmpty() ? 0 : 1);
    if (!reason.isEmpty())
        QCOMPARE(rig.program.messages.first(),
                 QString("Nimbrel could not write %1: %2.\nIt will not start at "
                         "login; check that the folder exists and can be written.")
                     .arg(entry, reason));
    QCOMPARE(QFileInfo(entry).isFile(), onAfterClick);
    if (onAfterClick) {
        const QByteArray text = TestSupport::fileBytes(entry);
        const QByteArray exec =
            "Exec=" + QDir(rig.program.dir.path()).filePath("nimbrel").toUtf8() + " --autostart\n";
        QVERIFY2(text.startsWith("[Desktop Entry]\nType=Application\n") && text.contains(exec),
                 text.constData());
    }
}

void tst_CommSetup::sourceOfCalls_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored"); // empty: refused
    QTest::addColumn<QString>("host");
    QTest::newRow("empty: the modem") << ""
                                      << "modem"
                                      << "";
    QTest::newRow("a server by its address") << "ncid://192.168.1.5"
                                             << "ncid://192.168.1.5:3333"
                                             << "192.168.1.5";
    QTest::newRow("host and port alone, the lowest port") << " nas.local:1 "
                                                          << "ncid://nas.local:1"
                                                          << "nas.local";
    QTest::newRow("an IPv6 server, kept readable") << "ncid://[2001:db8::5]:3334"
                                                   << "ncid://[2001:db8::5]:3334"
                                                   << "2001:db8::5";
    QTest::newRow("another scheme") << "http://nas.local"
                                    << ""
                                    << "";
    QTest::newRow("a path") << "ncid://nas.local/calls"
                            << ""
                            << "";
}

void tst_CommSetup::sourceOfCalls()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    QFETCH(QString, host);
    SetupRig rig;
    CommSetup* setup = rig.open();
    QVERIFY(setup->txtSource->text().isEmpty());
    rig.choose(setup, "Generic Voice Modem,3;AT#CID=1");
    setup->txtSource->setText(typed);
    click(setup->lblOK);
    QCOMPARE(setup->isVisible(), stored.isEmpty());
    QCOMPARE(rig.stored("Source"), stored);
    QCOMPARE(rig.stored("CommPort"), stored.isEmpty() ? "1" : "3");
    QCOMPARE(rig.program.window->monitor().ncidHost(), host);
    QCOMPARE(rig.program.messages.size(), stored.isEmpty() ? 1 : 0);
    if (!host.isEmpty()) { // the next opening shows the server
        QTRY_VERIFY(!rig.program.window->commSetup());
        QCOMPARE(rig.open()->txtSource->text(), stored);
    }
}

QTEST_MAIN(tst_CommSetup)
#include "tst_commsetup.moc"
