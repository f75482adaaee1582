#pragma once

#include <QString>

class SoundPlayer;

// Plays a wave file from the program folder in the background; when the file is missing or cannot be
// read, the desktop's incoming-call sound plays instead, and failing that its bell.
class SoundService
{
public:
    SoundService(SoundPlayer& player, QString appPath);

    // fileName is relative to the program folder with a leading separator ("\doorbell.wav" or
    // "/doorbell.wav"); it holds the full path afterwards.
    void PlayWave(QString& fileName);
    // "\doorbell.wav", for callers whose phone-list entry asks for it.
    void PlayDoorbell();

private:
    SoundPlayer& m_player;
    QString m_appPath;
    bool m_silenceLogged = false;
};
