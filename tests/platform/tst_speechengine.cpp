#include "FakeClock.h"
#include "SpeechEngine.h"

#include <QSignalSpy>
#include <QTest>

class tst_SpeechEngine : public QObject
{
    Q_OBJECT
private slots:
    void fliteSpeaksAText();
    void missingEngineSaysNothingAndFailsNothing();
    void speechThatNeverEndsCountsAsFailed();
};

void tst_SpeechEngine::fliteSpeaksAText()
{
    FakeClock clock;
    QtSpeechEngine engine(QtSpeechEngine::defaultEngine(), clock);
    if (!engine.isUsable())
        QSKIP(qPrintable("flite cannot be used here: " + engine.problem()));
    QSignalSpy finished(&engine, &QtSpeechEngine::finished);
    engine.stop();
    engine.say("Welcome to. Nimbrel");
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 15000);
    if (!engine.problem().isEmpty())
        QSKIP(qPrintable("no audio device for flite: " + engine.problem()
                         + " (start a PulseAudio null sink to run this test)"));
    QVERIFY(engine.isUsable());
}

void tst_SpeechEngine::missingEngineSaysNothingAndFailsNothing()
{
    FakeClock clock;
    QtSpeechEngine engine("no-such-engine", clock);
    QVERIFY(!engine.isUsable());
    QVERIFY(engine.problem().contains("no-such-engine"));
    engine.stop();
    engine.say("nobody hears this");
}

void tst_SpeechEngine::speechThatNeverEndsCountsAsFailed()
{
    FakeClock clock;
    QtSpeechEngine engine(QtSpeechEngine::defaultEngine(), clock);
    if (!engine.isUsable())
        QSKIP(qPrintable("flite cannot be used here: " + engine.problem()));
    QSignalSpy finished(&engine, &QtSpeechEngine::finished);
    engine.say("a text");
    if (finished.isEmpty()) {
        clock.advance(60000);
        QVERIFY(finished.count() >= 1);
    }
}

QTEST_GUILESS_MAIN(tst_SpeechEngine)
#include "tst_speechengine.moc"
