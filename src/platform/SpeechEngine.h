#pragma once

#include <QObject>
#include <QString>

#include <memory>

class Clock;
class ClockTimer;
class QTextToSpeech;

// What the program needs of a speech synthesizer: say a text, and make way for the next one.
class SpeechEngine
{
public:
    virtual ~SpeechEngine() = default;
    virtual void stop() = 0;
    virtual void say(const QString& text) = 0;
};

// Qt TextToSpeech with an engine asked for by name. flite is the default: it is embedded, constructs in
// milliseconds and with no audio device fails at once instead of hanging, as speechd does.
class QtSpeechEngine : public QObject, public SpeechEngine
{
    Q_OBJECT
public:
    static QString defaultEngine() { return QStringLiteral("flite"); }

    QtSpeechEngine(const QString& engineName, Clock& clock, QObject* parent = nullptr);
    ~QtSpeechEngine() override;

    // False, with the reason in problem(), when the engine is not installed or cannot speak.
    bool isUsable() const;
    QString problem() const { return m_problem; }

    void stop() override;
    void say(const QString& text) override;

signals:
    void finished();

private:
    void watchState();
    void giveUp();
    void setProblem(const QString& problem);

    std::unique_ptr<QTextToSpeech> m_speech;
    std::unique_ptr<ClockTimer> m_watchdog;
    QString m_problem;
    QString m_waiting;
    bool m_busy = false; // a text was handed over and the engine has not yet reported it done
};
