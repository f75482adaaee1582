#include "SoundPlayer.h"

#include <QFile>
#include <QTest>

// libcanberra through a private sound server with a null sink: whether a sound could be played decides
// between the doorbell file, the desktop's call sound and the bell.
class tst_SoundPlayer : public QObject
{
    Q_OBJECT
private slots:
    void playsWhatExists();
};

void tst_SoundPlayer::playsWhatExists()
{
    const QString server = qEnvironmentVariable("PULSE_SERVER").remove(QStringLiteral("unix:"));
    if (!QFile::exists(server))
        QSKIP("no sound server here (PulseAudio starts a null sink for this test where it is installed)");
    CanberraSoundPlayer player;
    QVERIFY(player.playFile(QStringLiteral(NIMBREL_DATA_DIR "/doorbell.wav")));
    QVERIFY(player.playEvent(QStringLiteral("phone-incoming-call")));
    QVERIFY(!player.playFile(QStringLiteral(NIMBREL_DATA_DIR "/no-such-sound.wav")));
    QVERIFY(!player.playEvent(QStringLiteral("no-such-sound-event")));
}

QTEST_GUILESS_MAIN(tst_SoundPlayer)
#include "tst_soundplayer.moc"
