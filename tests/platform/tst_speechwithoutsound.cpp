#include "FakeClock.h"
#include "ProcessExit.h"
#include "SpeechEngine.h"

#include <QSignalSpy>
#include <QTest>

// Run with no sound server at all, where flite fails every text: at once for the first, and with no word
// at all for the next, which only the watchdog ends.
class tst_SpeechWithoutSound : public QObject
{
    Q_OBJECT
private slots:
    void aTextAfterAFailureIsStillTried();
};

// A failure must not leave the engine waiting for an end that never comes, or no caller is spoken again,
// not even once the sound device is back.
void tst_SpeechWithoutSound::aTextAfterAFailureIsStillTried()
{
    FakeClock clock;
    QtSpeechEngine engine(QtSpeechEngine::defaultEngine(), clock);
    if (!engine.isUsable())
        QSKIP(qPrintable("no speech engine here: " + engine.problem()));
    QSignalSpy finished(&engine, &QtSpeechEngine::finished);
    engine.say("Ann is calling");
    QTRY_COMPARE(finished.count(), 1);
    QVERIFY(!engine.problem().isEmpty());
    engine.say("Bob is calling");
    clock.advance(60000);
    QCOMPARE(finished.count(), 2);
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    tst_SpeechWithoutSound test;
    endProcess(QTest::qExec(&test, argc, argv)); // as the program ends: see endProcess()
}
#include "tst_speechwithoutsound.moc"
