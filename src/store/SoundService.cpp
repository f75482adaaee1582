#include "SoundService.h"

#include "SoundPlayer.h"

#include <QFile>

#include <utility>

SoundService::SoundService(SoundPlayer& player, QString appPath)
    : m_player(player)
    , m_appPath(std::move(appPath))
{
}

void SoundService::PlayWave(QString& fileName)
{
    QString relative = fileName;
    relative.replace(QLatin1Char('\\'), QLatin1Char('/'));
    fileName = m_appPath + relative;
    // Decided here, not from the player's answer: without a sound device every play fails alike.
    QFile file(fileName);
    const bool played = (file.open(QIODevice::ReadOnly) && file.read(4) == "RIFF")
                            ? m_player.playFile(fileName)
                            : m_player.playEvent(QStringLiteral("phone-incoming-call"))
                                  || m_player.playEvent(QStringLiteral("bell"));
    // Silence stops nothing, so it is no message box; the session's log says once why nothing rings.
    if (!played && !std::exchange(m_silenceLogged, true))
        qWarning("Nimbrel: the doorbell is not heard: no sound could be played (no sound server or device)");
}

void SoundService::PlayDoorbell()
{
    QString doorbell = QStringLiteral("\\doorbell.wav");
    PlayWave(doorbell);
}
