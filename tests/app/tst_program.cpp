// The real nimbrel executable, run as a user runs it: in a program folder of its own, with its settings
// pointing at a simulated modem.
#include "ModemSimulator.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

class tst_Program : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void terminationSignalsShutDownCleanly_data();
    void terminationSignalsShutDownCleanly();
    void secondStartBringsTheFirstForward();
    void commandLineIsAnsweredWithoutADisplay_data();
    void commandLineIsAnsweredWithoutADisplay();
    void startAtLoginMonitorsAtOnce();
    void terminationWhileTheStartUpErrorShows();
    void callsTheDatabaseRefusesOutliveTheEnd();

private:
    void startNimbrel(QProcess& process, const QStringList& arguments = {},
                      QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<ModemSimulator> m_modem;
};

void tst_Program::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_modem = std::make_unique<ModemSimulator>(ModemProfile::fromText("accept=AT#CID=1", nullptr));
    QString error;
    QVERIFY2(m_modem->start(&error), qPrintable(error));
    QDir(m_dir->path()).mkpath("program");
    QDir(m_dir->path()).mkpath("config/Nimbrel");
    QDir(m_dir->path()).mkpath("run");
    QFile::setPermissions(m_dir->filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(QFile::copy(NIMBREL_EXECUTABLE, m_dir->filePath("program/nimbrel")));
    QSettings settings(m_dir->filePath("config/Nimbrel/Nimbrel.conf"), QSettings::IniFormat);
    settings.setValue("Properties/CommPort", "1");
    settings.setValue("Properties/StartMonitoring", "True");
    settings.setValue("Ports/COM1", m_modem->devicePath());
}

void tst_Program::cleanup()
{
    m_modem.reset();
    m_dir.reset();
}

void tst_Program::startNimbrel(QProcess& process, const QStringList& arguments,
                               QProcess::ProcessChannelMode channels)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("XDG_CONFIG_HOME", m_dir->filePath("config"));
    environment.insert("XDG_RUNTIME_DIR", m_dir->filePath("run"));
    environment.insert("XDG_DATA_HOME", m_dir->filePath("data"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(channels);
    process.start(m_dir->filePath("program/nimbrel"), arguments);
    QVERIFY(process.waitForStarted());
}

void tst_Program::terminationSignalsShutDownCleanly_data()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM, as at logout") << int(SIGTERM);
    QTest::newRow("SIGINT, as from Ctrl-C") << int(SIGINT);
}

void tst_Program::terminationSignalsShutDownCleanly()
{
    QFETCH(int, signal);
    QProcess nimbrel;
    startNimbrel(nimbrel);
    QTRY_VERIFY_WITH_TIMEOUT(m_modem->commandsReceived().contains("AT#CID=1"), 15000);
    m_modem->sendLine("RING");
    m_modem->sendLine("NMBR=5551234");
    const QString database = m_dir->filePath("program/callerid.mdb");
    QTRY_COMPARE_WITH_TIMEOUT(TestSupport::readRows(database, "SELECT number, name FROM PhoneCalls"),
                              QStringList{"5551234|Unknown Caller"}, 5000);

    ::kill(pid_t(nimbrel.processId()), signal);
    QVERIFY(nimbrel.waitForFinished(10000));
    QCOMPARE(nimbrel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(nimbrel.exitCode(), 0);
    QSettings settings(m_dir->filePath("config/Nimbrel/Nimbrel.conf"), QSettings::IniFormat);
    QCOMPARE(settings.value("Properties/UseNameList").toString(), QStringLiteral("False"));
    QVERIFY(settings.contains("Window/Top"));
    QVERIFY2(!QFile::exists(database + "-wal"), "the database was not closed");
    QCOMPARE(TestSupport::readRows(database, "SELECT number FROM PhoneCalls"), QStringList{"5551234"});
}

void tst_Program::secondStartBringsTheFirstForward()
{
    QProcess first;
    startNimbrel(first);
    QTRY_VERIFY_WITH_TIMEOUT(m_modem->commandsReceived().contains("ATZ"), 15000);
    QProcess second;
    startNimbrel(second);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    QCOMPARE(m_modem->commandsReceived().count("ATZ"), 1);
    // A first that cannot be reached (its socket gone) is said, and the second ends without taking over.
    QVERIFY(QFile::remove(m_dir->filePath("run/nimbrel.socket")));
    QProcess third;
    startNimbrel(third, {}, QProcess::SeparateChannels);
    QVERIFY(third.waitForFinished(10000));
    QCOMPARE(third.exitCode(), 1);
    QVERIFY(third.readAllStandardError().contains("Nimbrel is already running, but did not answer."));
    QCOMPARE(m_modem->commandsReceived().count("ATZ"), 1);
    first.terminate();
    QVERIFY(first.waitForFinished(10000));
    QCOMPARE(first.exitCode(), 0);
}

void tst_Program::commandLineIsAnsweredWithoutADisplay_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // the start of what is printed on stdout
    QTest::addColumn<QString>("errors"); // a part of what is printed on stderr
    QTest::newRow("version") << QStringList{"--version"} << 0 << "Nimbrel " NIMBREL_VERSION "\n"
                             << "";
    QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: nimbrel [--help | --version]\n"
                          << "";
    QTest::newRow("help wins") << QStringList{"--autostart", "-h"} << 0 << "Usage: nimbrel"
                               << "";
    QTest::newRow("an unknown option") << QStringList{"--port=3"} << 2 << ""
                                       << "nimbrel: Unknown option 'port'.\nTry 'nimbrel --help'.";
    QTest::newRow("an argument") << QStringList{"callerid.mdb"} << 2 << ""
                                 << "Unexpected argument 'callerid.mdb'.";
}

void tst_Program::commandLineIsAnsweredWithoutADisplay()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, errors);
    QProcess nimbrel;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb"); // would abort if it looked for a display
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    nimbrel.setProcessEnvironment(environment);
    nimbrel.start(m_dir->filePath("program/nimbrel"), arguments);
    QVERIFY(nimbrel.waitForFinished(10000));
    QCOMPARE(nimbrel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(nimbrel.exitCode(), exitCode);
    const QString printed = QString::fromLocal8Bit(nimbrel.readAllStandardOutput());
    QVERIFY2(output.isEmpty() ? printed.isEmpty() : printed.startsWith(output), qPrintable(printed));
    const QString complained = QString::fromLocal8Bit(nimbrel.readAllStandardError());
    QVERIFY2(errors.isEmpty() ? complained.isEmpty() : complained.contains(errors), qPrintable(complained));
}

void tst_Program::startAtLoginMonitorsAtOnce()
{
    QSettings(m_dir->filePath("config/Nimbrel/Nimbrel.conf"), QSettings::IniFormat)
        .setValue("Properties/StartMonitoring", "False");
    QProcess nimbrel;
    startNimbrel(nimbrel, {"--autostart"});
    QTRY_VERIFY_WITH_TIMEOUT(m_modem->commandsReceived().contains("AT#CID=1"), 15000);
    nimbrel.terminate();
    QVERIFY(nimbrel.waitForFinished(10000));
    QCOMPARE(nimbrel.exitCode(), 0);
}

void tst_Program::terminationWhileTheStartUpErrorShows()
{
    TestSupport::writeFile(m_dir->filePath("program/callerid.mdb"), "not a database\n");
    QProcess nimbrel;
    startNimbrel(nimbrel, {}, QProcess::SeparateChannels);
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += nimbrel.readAllStandardError()).contains("not a Nimbrel database"),
                             15000);
    ::kill(pid_t(nimbrel.processId()), SIGTERM);
    QVERIFY(nimbrel.waitForFinished(10000));
    QCOMPARE(nimbrel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(nimbrel.exitCode(), 1);
}

void tst_Program::callsTheDatabaseRefusesOutliveTheEnd()
{
    QProcess nimbrel;
    startNimbrel(nimbrel, {}, QProcess::SeparateChannels);
    QTRY_VERIFY_WITH_TIMEOUT(m_modem->commandsReceived().contains("AT#CID=1"), 15000);
    const QString database = m_dir->filePath("program/callerid.mdb");
    {
        TestSupport::DatabaseLock lock(database); // held past the end of Nimbrel
        m_modem->sendLine("RING");
        m_modem->sendLine("NMBR=5551234");
        QByteArray warned; // the call is shown, and the box says it cannot be written
        QTRY_VERIFY_WITH_TIMEOUT((warned += nimbrel.readAllStandardError()).contains("Cannot save the call"),
                                 15000);
        ::kill(pid_t(nimbrel.processId()), SIGTERM);
        QVERIFY(nimbrel.waitForFinished(15000));
    }
    QCOMPARE(nimbrel.exitStatus(), QProcess::NormalExit);
    QCOMPARE(nimbrel.exitCode(), 1);
    const QString said = QString::fromLocal8Bit(nimbrel.readAllStandardError());
    QVERIFY2(said.contains("could not write 1 call(s) to " + database)
                 && said.contains(database + ".unsaved"),
             qPrintable(said));
    QVERIFY(TestSupport::fileBytes(database + ".unsaved").contains("\t5551234\tUnknown Caller\t0\n"));
}

QTEST_GUILESS_MAIN(tst_Program)
#include "tst_program.moc"
