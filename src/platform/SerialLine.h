#pragma once

#include <QObject>
#include <QSerialPort>

#include <memory>

class Clock;
class ClockTimer;

// The serial line to the modem: 9600 baud, 8N1, no flow control. Received bytes arrive on the UI thread
// in whatever chunks the device delivers; a vanished device is reported once through lost(), and, when
// asked, its return (the same path, or the same /dev/serial/by-id link) through returned().
class SerialLine : public QObject
{
    Q_OBJECT
public:
    explicit SerialLine(Clock& clock, QObject* parent = nullptr);
    ~SerialLine() override;

    // On failure returns false and sets *error to the system's reason followed by what the user can do.
    bool open(const QString& devicePath, QString* error);
    void close();
    bool isOpen() const;
    QString devicePath() const { return m_devicePath; }

    // DTR and RTS together. A pseudo-terminal refuses them; that is not a failure of the line.
    void setControlLines(bool on);
    // Writes to an open line; a write that fails shows as the modem's missing answer.
    void send(const QByteArray& bytes);

    // After a loss: watches the device path until it is there again, then reports returned() once.
    // open() and close() end the watch.
    void watchForReturn();

signals:
    void received(const QByteArray& bytes);
    void lost(const QString& reason);
    void returned();

private:
    void handleError(QSerialPort::SerialPortError error);
    void checkDevicePresent();
    void reportLoss();

    QSerialPort m_port;
    QString m_devicePath;
    std::unique_ptr<ClockTimer> m_presenceWatch;
    bool m_lossPending = false;
    bool m_awaitingReturn = false;
};
