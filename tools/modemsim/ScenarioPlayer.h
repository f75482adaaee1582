#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>

class ModemSimulator;
class QTimer;

// Plays a call script on a simulated modem, in real time. A script has one step per line:
//   RING, NMBR = 5551234, ...    a line the modem sends
//   raw <text>                   bytes sent as they stand; \r, \n, \\ and \xHH are understood
//   wait <milliseconds>          a pause
//   unplug                       the modem goes away
//   # ...                        a comment; blank lines are skipped
class ScenarioPlayer : public QObject
{
    Q_OBJECT
public:
    struct Step {
        enum Kind { Line, Raw, Wait, Unplug } kind;
        QByteArray bytes;
        int waitMs = 0;
    };

    static QList<Step> parse(const QString& script, QString* error);

    ScenarioPlayer(ModemSimulator& modem, QObject* parent = nullptr);
    void play(const QList<Step>& steps);
    bool isPlaying() const { return m_next < m_steps.size(); }

signals:
    void finished();

private:
    void playNext();

    ModemSimulator& m_modem;
    QList<Step> m_steps;
    qsizetype m_next = 0;
    QTimer* m_timer;
};
