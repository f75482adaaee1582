#include "FakeClock.h"
#include "ProcessExit.h"
#include "SpeechEngine.h"

#include <QSignalSpy>
#include <QTest>

// The program makes one speech engine and keeps it (Qt 6.4's flite engine does not survive a second one
// in the same process), so these cases share one too.
class tst_SpeechEngine : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void fliteSpeaksAText();
    void aTextSaidWhileSpeakingFollowsIt();
    void speechThatNeverEndsCountsAsFailed();
    void missingEngineSaysNothingAndFailsNothing();

private:
    // Skips the case, with the reason, where flite cannot speak here.
    bool skipWithoutAudio(QSignalSpy& finished);

    FakeClock m_clock;
    std::unique_ptr<QtSpeechEngine> m_engine;
};

void tst_SpeechEngine::initTestCase()
{
    m_engine = std::make_unique<QtSpeechEngine>(QtSpeechEngine::defaultEngine(), m_clock);
}

bool tst_SpeechEngine::skipWithoutAudio(QSignalSpy& finished)
{
    if (!m_engine->isUsable())
        return true;
    m_engine->say("Welcome to. Nimbrel");
    return !QTest::qWaitFor([&] { return finished.count() >= 1; }, 15000) || !m_engine->problem().isEmpty();
}

void tst_SpeechEngine::fliteSpeaksAText()
{
    QSignalSpy finished(m_engine.get(), &QtSpeechEngine::finished);
    if (skipWithoutAudio(finished))
        QSKIP(qPrintable("flite cannot speak here: " + m_engine->problem()
                         + " (start a PulseAudio null sink to run this test)"));
    QCOMPARE(finished.count(), 1);
    QVERIFY(m_engine->isUsable());
}

void tst_SpeechEngine::aTextSaidWhileSpeakingFollowsIt()
{
    QSignalSpy finished(m_engine.get(), &QtSpeechEngine::finished);
    if (!m_engine->isUsable())
        QSKIP(qPrintable("flite cannot speak here: " + m_engine->problem()));
    m_engine->stop();
    m_engine->say("Ann is calling");
    m_engine->stop();
    m_engine->say("Bob is calling");
    m_engine->stop();
    m_engine->say("Carol is calling");
    // Ann, then only the last text that waited: Carol.
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 2, 15000);
    QVERIFY(!QTest::qWaitFor([&] { return finished.count() > 2; }, 300)); // and no third
}

void tst_SpeechEngine::speechThatNeverEndsCountsAsFailed()
{
    QSignalSpy finished(m_engine.get(), &QtSpeechEngine::finished);
    if (!m_engine->isUsable())
        QSKIP(qPrintable("flite cannot speak here: " + m_engine->problem()));
    m_engine->say("a text");
    if (finished.isEmpty()) {
        m_clock.advance(60000);
        QCOMPARE(finished.count(), 1);
    }
}

void tst_SpeechEngine::missingEngineSaysNothingAndFailsNothing()
{
    QTest::ignoreMessage(QtWarningMsg,
                         "Nimbrel: callers are not spoken: the speech engine \"no-such-engine\" "
                         "is not installed");
    QtSpeechEngine engine("no-such-engine", m_clock);
    QVERIFY(!engine.isUsable());
    engine.stop();
    engine.say("nobody hears this");
}

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    tst_SpeechEngine test;
    endProcess(QTest::qExec(&test, argc, argv)); // as the program ends: see endProcess()
}
#include "tst_speechengine.moc"
