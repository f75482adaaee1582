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
        m_problem = QStringLiteral("the speech engine \"%1\" is not installed").arg(engineName);
        return;
    }
    m_speech = std::make_unique<QTextToSpeech>(engineName);
    if (m_speech->state() == QTextToSpeech::Error) {
        m_problem = m_speech->errorString();
        return;
    }
    if (m_speech->availableLocales().contains(QLocale()))
        m_speech->setLocale(QLocale());
    connect(m_speech.get(), &QTextToSpeech::stateChanged, this, &QtSpeechEngine::watchState);
}

QtSpeechEngine::~QtSpeechEngine() = default;

bool QtSpeechEngine::isUsable() const
{
    return m_speech && m_problem.isEmpty();
}

void QtSpeechEngine::stop()
{
    m_watchdog->stop();
    if (m_speech && m_speech->state() == QTextToSpeech::Speaking)
        m_speech->stop();
}

void QtSpeechEngine::say(const QString& text)
{
    if (!m_speech)
        return;
    m_speech->say(text);
    m_watchdog->start(generousDurationMs(text));
}

void QtSpeechEngine::watchState()
{
    switch (m_speech->state()) {
    case QTextToSpeech::Ready:
        m_watchdog->stop();
        emit finished();
        break;
    case QTextToSpeech::Error:
        m_watchdog->stop();
        m_problem = m_speech->errorString();
        emit finished();
        break;
    default:
        break;
    }
}

void QtSpeechEngine::giveUp()
{
    m_problem = QStringLiteral("the speech engine did not finish speaking");
    m_speech->stop();
    emit finished();
}
