#include "SpeechEngine.h"

#include "Clock.h"

#include <QLocale>
#include <QTextToSpeech>

namespace
{

// A text that is still "speaking" long after it could have been said counts as failed: some engines stay
// in that state for ever without an audio device.
int generousDurationMs(const QString& text)
{
    return 10000 + 200 * int(text.size());
}

} // namespace

QtSpeechEngine::QtSpeechEngine(const QString& engineName, Clock& clock, QObject* parent)
    : QObject(parent)
    , m_watchdog(clock.createTimer())
{
    m_watchdog->setSingleShot(true);
    connect(m_watchdog.get(), &ClockTimer::timeout, this, &QtSpeechEngine::giveUp);
    if (!QTextToSpeech::availableEngines().contains(engineName)) {
        setProblem(QStringLiteral("the speech engine \"%1\" is not installed").arg(engineName));
        return;
    }
    m_speech = std::make_unique<QTextToSpeech>(engineName);
    if (m_speech->state() == QTextToSpeech::Error) {
        setProblem(m_speech->errorString());
        return;
    }
    if (m_speech->availableLocales().contains(QLocale()))
        m_speech->setLocale(QLocale());
    connect(m_speech.get(), &QTextToSpeech::stateChanged, this, &QtSpeechEngine::watchState);
}

QtSpeechEngine::~QtSpeechEngine()
{
    // WORKAROUND: destroying Qt 6.4's flite engine races with its audio thread, which then deletes its sound
    // sink twice and crashes, whether or not it is still speaking. The program makes one engine and keeps
    // it to the end, so at exit the engine is let go instead of destroyed.
    if (m_speech)
        (void)m_speech.release();
}

bool QtSpeechEngine::isUsable() const
{
    return m_speech && m_problem.isEmpty();
}

// WORKAROUND: Qt 6.4's flite engine crashes in its synthesis thread when it is stopped, or given a new text,
// before the text it has is finished. So a text being spoken is never cut off: stop() drops the text that
// waits its turn, and a text said meanwhile is spoken as soon as the engine reports the current one done.
void QtSpeechEngine::stop()
{
    m_waiting.clear();
}

void QtSpeechEngine::say(const QString& text)
{
    if (!m_speech)
        return;
    if (m_busy) {
        m_waiting = text;
        return;
    }
    m_busy = true;
    m_speech->say(text);
    m_watchdog->start(generousDurationMs(text));
}

void QtSpeechEngine::watchState()
{
    switch (m_speech->state()) {
    case QTextToSpeech::Ready:
        m_busy = false;
        m_watchdog->stop();
        emit finished();
        if (!m_waiting.isEmpty())
            say(std::exchange(m_waiting, QString()));
        break;
    case QTextToSpeech::Error:
        m_busy = false;
        m_watchdog->stop();
        setProblem(m_speech->errorString());
        emit finished();
        break;
    default:
        break;
    }
}

void QtSpeechEngine::giveUp()
{
    // An engine stuck in "speaking" (no audio device) is no longer waited for.
    setProblem(QStringLiteral("the speech engine did not finish speaking"));
    m_busy = false;
    m_waiting.clear();
    emit finished();
}

void QtSpeechEngine::setProblem(const QString& problem)
{
    // Silence stops nothing, so it is no message box; the session's log says why callers go unspoken.
    if (problem != m_problem)
        qWarning("Nimbrel: callers are not spoken: %s", qPrintable(problem));
    m_problem = problem;
}
