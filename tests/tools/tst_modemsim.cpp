#include "ModemSimulator.h"
#include "ScenarioPlayer.h"

#include <QFile>
#include <QSignalSpy>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

class tst_ModemSim : public QObject
{
    Q_OBJECT
private slots:
    void scriptSteps_data();
    void scriptSteps();
    void badWaitIsReported();
    void playSendsTheLinesAndUnplugs();
};

void tst_ModemSim::scriptSteps_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("waitMs");
    QTest::newRow("a modem line") << "  NMBR = 555  " << int(ScenarioPlayer::Step::Line)
                                  << QByteArray("NMBR = 555") << 0;
    QTest::newRow("raw bytes with escapes") << "raw A\\\\B\\r\\n\\x00\\xffZ" << int(ScenarioPlayer::Step::Raw)
                                            << QByteArray("A\\B\r\n\0\xffZ", 8) << 0;
    QTest::newRow("a pause") << "wait 250" << int(ScenarioPlayer::Step::Wait) << QByteArray() << 250;
    QTest::newRow("unplug") << "unplug" << int(ScenarioPlayer::Step::Unplug) << QByteArray() << 0;
}

void tst_ModemSim::scriptSteps()
{
    QFETCH(QString, script);
    QFETCH(int, kind);
    QFETCH(QByteArray, bytes);
    QFETCH(int, waitMs);
    QString error;
    const QList<ScenarioPlayer::Step> steps =
        ScenarioPlayer::parse("# a comment\n\n" + script + "\n", &error);
    QCOMPARE(steps.size(), 1);
    QCOMPARE(int(steps.first().kind), kind);
    QCOMPARE(steps.first().bytes, bytes);
    QCOMPARE(steps.first().waitMs, waitMs);
}

void tst_ModemSim::badWaitIsReported()
{
    QString error;
    QVERIFY(ScenarioPlayer::parse("RING\nwait soon\n", &error).isEmpty());
    QCOMPARE(error, QStringLiteral("line 2: 'wait' needs a number of milliseconds"));
}

void tst_ModemSim::playSendsTheLinesAndUnplugs()
{
    ModemSimulator modem(ModemProfile::fromText("cr", nullptr));
    QString error;
    QVERIFY(modem.start(&error));
    const int program = ::open(qPrintable(modem.devicePath()), O_RDWR | O_NOCTTY | O_NONBLOCK);
    QVERIFY(program >= 0);
    ScenarioPlayer player(modem);
    QSignalSpy finished(&player, &ScenarioPlayer::finished);
    player.play(ScenarioPlayer::parse("RING\nwait 20\nNMBR=5\n", &error));
    QVERIFY(player.isPlaying());
    QTRY_COMPARE(finished.count(), 1);
    char buffer[64] = {};
    const ssize_t n = ::read(program, buffer, sizeof buffer);
    QCOMPARE(QByteArray(buffer, int(n)), QByteArray("RING\rNMBR=5\r"));
    player.play(ScenarioPlayer::parse("unplug\n", &error));
    QVERIFY(!modem.isPlugged());
    QVERIFY(!QFile::exists(modem.devicePath()));
    ::close(program);
}

QTEST_GUILESS_MAIN(tst_ModemSim)
#include "tst_modemsim.moc"
