#include "SpeechService.h"

#include "SpeechEngine.h"

void SpeechService::SpeakText(const QString& text)
{
    if (!m_engine)
        return;
    m_engine->stop();
    m_engine->say(text);
}
