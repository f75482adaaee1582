#pragma once

#include "HelpViewer.h"
#include "SoundPlayer.h"
#include "SpeechEngine.h"
#include "TextViewer.h"

#include <QStringList>

// Speech and sound that record what they were asked to do: "stop", "say:TEXT", "file:PATH", "event:ID".
class FakeSpeech : public SpeechEngine
{
public:
    explicit FakeSpeech(QStringList& log)
        : m_log(log)
    {
    }
    void stop() override { m_log << QStringLiteral("stop"); }
    void say(const QString& text) override { m_log << QStringLiteral("say:") + text; }

private:
    QStringList& m_log;
};

class FakeSound : public SoundPlayer
{
public:
    bool playFile(const QString& path) override
    {
        played << QStringLiteral("file:") + path;
        return true;
    }
    bool playEvent(const QString& eventId) override
    {
        played << QStringLiteral("event:") + eventId;
        return eventsWork;
    }
    QStringList played;
    bool eventsWork = true;
};

class FakeViewer : public TextViewer
{
public:
    bool open(const QString& path, QString* error) override
    {
        opened << path;
        if (!works)
            *error = QStringLiteral("no viewer for ") + path;
        return works;
    }
    QStringList opened;
    bool works = true;
};

class FakeHelpViewer : public HelpViewer
{
public:
    bool open(const QString& chmPath) override
    {
        opened << chmPath;
        return works;
    }
    QStringList opened;
    bool works = true;
};
