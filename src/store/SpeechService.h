#pragma once

#include <QString>

class SpeechEngine;

// Every spoken announcement goes through SpeakText: it stops whatever is still being said, then says
// the text. Without an engine nothing is said and nothing fails.
class SpeechService
{
public:
    explicit SpeechService(SpeechEngine* engine = nullptr)
        : m_engine(engine)
    {
    }
    void setEngine(SpeechEngine* engine) { m_engine = engine; }
    void SpeakText(const QString& text);

private:
    SpeechEngine* m_engine;
};
