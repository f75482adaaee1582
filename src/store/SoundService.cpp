#include "SoundService.h"

#include "SoundPlayer.h"

#include <QFile>

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
    if (file.open(QIODevice::ReadOnly) && file.read(4) == "RIFF") {
        m_player.playFile(fileName);
        return;
    }
    if (!m_player.playEvent(QStringLiteral("phone-incoming-call")))
        m_player.playEvent(QStringLiteral("bell"));
}

void SoundService::PlayDoorbell()
{
    QString doorbell = QStringLiteral("\\doorbell.wav");
    PlayWave(doorbell);
}
