#pragma once

#include "ModemProfile.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QStringList>

class QSocketNotifier;

// A modem on a pseudo-terminal: answers AT commands per its profile and sends whatever lines a test or a
// script asks of it. Its device path opens like a serial port.
class ModemSimulator : public QObject
{
    Q_OBJECT
public:
    explicit ModemSimulator(ModemProfile profile = {}, QObject* parent = nullptr);
    ~ModemSimulator() override;

    bool start(QString* error);
    QString devicePath() const { return m_devicePath; }

    // A line as the modem frames it (with its line ends), or bytes exactly as given.
    void sendLine(const QByteArray& line);
    void sendRaw(const QByteArray& bytes);
    // The modem goes away: the pseudo-terminal is closed and its device node vanishes.
    void unplug();
    bool isPlugged() const { return m_master >= 0; }

    // Bytes written by either side that the other has not read yet.
    int bytesInFlight() const;

    QStringList commandsReceived() const { return m_commands; }

signals:
    void commandReceived(const QString& command);

private:
    void readCommands();
    void answer(const QString& command);
    void write(const QByteArray& bytes);
    void flushOutgoing();

    ModemProfile m_profile;
    int m_master = -1;
    int m_slave = -1;
    QString m_devicePath;
    QSocketNotifier* m_notifier = nullptr;
    QSocketNotifier* m_writeNotifier = nullptr;
    QByteArray m_outgoing;
    QByteArray m_commandBuffer;
    QStringList m_commands;
};
