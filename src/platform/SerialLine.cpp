#include "SerialLine.h"

#include "Clock.h"
#include "PortHolder.h"

#include <QFile>
#include <QTimer>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr int kPresenceCheckMs = 500;

QString busyText(const QString& devicePath)
{
    const QString holder = portHolder(devicePath);
    const QString who = holder.isEmpty()
                            ? QStringLiteral("another program holds it, most likely ModemManager, which "
                                             "probes every new modem")
                            : holder + QStringLiteral(" holds it");
    return QStringLiteral("The port is busy: %1.\nClose that program, or if it is ModemManager, wait a few "
                          "seconds or stop it (sudo systemctl stop ModemManager; Nimbrel's udev rule, "
                          "described in its help, keeps it away for good). Then press Start again.")
        .arg(who);
}

// What a path that the serial driver refused is, when it is no serial port at all; empty otherwise.
QString notSerialKind(const QString& devicePath)
{
    const QByteArray path = QFile::encodeName(devicePath);
    struct stat info = {};
    if (::stat(path.constData(), &info) != 0)
        return {};
    if (S_ISDIR(info.st_mode))
        return QStringLiteral("a folder");
    if (S_ISREG(info.st_mode))
        return QStringLiteral("a plain file");
    if (!S_ISCHR(info.st_mode))
        return QStringLiteral("not a device");
    const int fd = ::open(path.constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return {};
    const bool terminal = ::isatty(fd);
    ::close(fd);
    return terminal ? QString() : QStringLiteral("a device that is not a serial port");
}

QString openFailureText(QSerialPort::SerialPortError error, const QString& systemReason,
                        const QString& devicePath)
{
    if (error != QSerialPort::DeviceNotFoundError) {
        if (const QString kind = notSerialKind(devicePath); !kind.isEmpty())
            return QStringLiteral("%1 is not a serial device: it is %2.\nChoose the modem's port in Setup, "
                                  "or correct the port's device under [Ports] in the settings.")
                .arg(devicePath, kind);
    }
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return QStringLiteral("No such device.\nPlug the modem in, or choose its port in Setup.");
    case QSerialPort::PermissionError:
        if (systemReason.contains(QLatin1String("lock"), Qt::CaseInsensitive)
            || systemReason.contains(QLatin1String("busy"), Qt::CaseInsensitive))
            return busyText(devicePath);
        return QStringLiteral("Permission denied.\n"
                              "Add your user to the dialout group (sudo adduser $USER dialout), then log in "
                              "again.");
    default:
        return systemReason + QStringLiteral(".\nCheck the modem and its cable, then press Start again.");
    }
}

} // namespace

SerialLine::SerialLine(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_presenceWatch(clock.createTimer())
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port.readAll();
        if (!bytes.isEmpty())
            emit received(bytes);
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialLine::handleError);
    connect(m_presenceWatch.get(), &ClockTimer::timeout, this, &SerialLine::checkDevicePresent);
}

SerialLine::~SerialLine() = default;

bool SerialLine::open(const QString& devicePath, QString* error)
{
    close();
    m_awaitingReturn = false;
    m_devicePath = devicePath;
    m_port.setPortName(devicePath);
    m_port.setBaudRate(QSerialPort::Baud9600);
    m_port.setDataBits(QSerialPort::Data8);
    m_port.setParity(QSerialPort::NoParity);
    m_port.setStopBits(QSerialPort::OneStop);
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!m_port.open(QIODevice::ReadWrite)) {
        if (error)
            *error = openFailureText(m_port.error(), m_port.errorString(), devicePath);
        m_port.clearError();
        return false;
    }
    m_lossPending = false;
    m_presenceWatch->start(kPresenceCheckMs);
    return true;
}

void SerialLine::close()
{
    m_presenceWatch->stop();
    m_awaitingReturn = false;
    if (m_port.isOpen())
        m_port.close();
}

bool SerialLine::isOpen() const
{
    return m_port.isOpen() && !m_lossPending;
}

void SerialLine::setControlLines(bool on)
{
    if (!m_port.isOpen())
        return;
    m_port.setDataTerminalReady(on);
    m_port.setRequestToSend(on);
    if (m_port.error() == QSerialPort::UnsupportedOperationError)
        m_port.clearError();
}

void SerialLine::send(const QByteArray& bytes)
{
    if (isOpen())
        m_port.write(bytes);
}

void SerialLine::handleError(QSerialPort::SerialPortError error)
{
    // A vanished device makes Qt repeat ReadError in a tight loop and close() from inside this handler
    // re-enters it, so the port is closed once, from a queued call.
    if (error == QSerialPort::ReadError || error == QSerialPort::ResourceError)
        reportLoss();
}

void SerialLine::watchForReturn()
{
    m_awaitingReturn = true;
    m_presenceWatch->start(kPresenceCheckMs);
}

void SerialLine::checkDevicePresent()
{
    const bool present = QFile::exists(m_devicePath);
    if (m_port.isOpen() && !present)
        reportLoss();
    if (m_awaitingReturn && present) {
        m_awaitingReturn = false;
        m_presenceWatch->stop();
        emit returned();
    }
}

void SerialLine::reportLoss()
{
    if (m_lossPending || !m_port.isOpen())
        return;
    m_lossPending = true;
    m_presenceWatch->stop();
    QTimer::singleShot(0, this, [this] {
        m_port.close();
        m_lossPending = false;
        emit lost(QStringLiteral("The modem on %1 is gone (unplugged or switched off).").arg(m_devicePath));
    });
}
