#pragma once

#include <QString>

struct ca_context;

// What the program needs of the sound system: play a wave file, or one of the desktop's event sounds,
// in the background.
class SoundPlayer
{
public:
    virtual ~SoundPlayer() = default;
    virtual bool playFile(const QString& path) = 0;
    virtual bool playEvent(const QString& eventId) = 0;
};

// libcanberra: asynchronous, through whatever sound server the desktop runs.
class CanberraSoundPlayer : public SoundPlayer
{
public:
    CanberraSoundPlayer();
    ~CanberraSoundPlayer() override;
    CanberraSoundPlayer(const CanberraSoundPlayer&) = delete;
    CanberraSoundPlayer& operator=(const CanberraSoundPlayer&) = delete;

    bool playFile(const QString& path) override;
    bool playEvent(const QString& eventId) override;

private:
    bool open();

    ca_context* m_context = nullptr;
    bool m_openFailed = false;
};
