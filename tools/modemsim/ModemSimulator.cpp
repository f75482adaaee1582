#include "ModemSimulator.h"

#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

ModemSimulator::ModemSimulator(ModemProfile profile, QObject* parent)
    : QObject(parent)
    , m_profile(std::move(profile))
{
}

ModemSimulator::~ModemSimulator()
{
    unplug();
}

bool ModemSimulator::start(QString* error)
{
    m_master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        *error = QStringLiteral("cannot create a pseudo-terminal: %1")
                     .arg(QString::fromLocal8Bit(strerror(errno)));
        unplug();
        return false;
    }
    m_devicePath = QString::fromLocal8Bit(ptsname(m_master));
    // Holding the slave side open keeps the line raw (no echo, no CR translation) before and between
    // the program's opens, and keeps the master readable while the program has the port closed.
    m_slave = ::open(ptsname(m_master), O_RDWR | O_NOCTTY);
    if (m_slave < 0) {
        *error =
            QStringLiteral("cannot open %1: %2").arg(m_devicePath, QString::fromLocal8Bit(strerror(errno)));
        unplug();
        return false;
    }
    termios raw{};
    tcgetattr(m_slave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_slave, TCSANOW, &raw);
    m_notifier = new QSocketNotifier(m_master, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ModemSimulator::readCommands);
    m_writeNotifier = new QSocketNotifier(m_master, QSocketNotifier::Write, this);
    m_writeNotifier->setEnabled(false);
    connect(m_writeNotifier, &QSocketNotifier::activated, this, &ModemSimulator::flushOutgoing);
    return true;
}

void ModemSimulator::unplug()
{
    delete m_notifier;
    delete m_writeNotifier;
    m_notifier = m_writeNotifier = nullptr;
    m_outgoing.clear();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

void ModemSimulator::write(const QByteArray& bytes)
{
    m_outgoing += bytes;
    flushOutgoing();
}

void ModemSimulator::flushOutgoing()
{
    // The program reads on this same thread, so what does not fit into the terminal now waits for room.
    while (m_master >= 0 && !m_outgoing.isEmpty()) {
        const ssize_t n = ::write(m_master, m_outgoing.constData(), size_t(m_outgoing.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        m_outgoing.remove(0, n);
    }
    if (m_writeNotifier)
        m_writeNotifier->setEnabled(m_master >= 0 && !m_outgoing.isEmpty());
}

void ModemSimulator::sendRaw(const QByteArray& bytes)
{
    write(bytes);
}

void ModemSimulator::sendLine(const QByteArray& line)
{
    write(m_profile.crOnly ? line + '\r' : "\r\n" + line + "\r\n");
}

void ModemSimulator::readCommands()
{
    char chunk[512];
    const ssize_t n = ::read(m_master, chunk, sizeof chunk);
    if (n <= 0)
        return;
    const QByteArray bytes(chunk, n);
    if (m_profile.echo && !m_profile.silent)
        write(bytes);
    m_commandBuffer.append(bytes);
    qsizetype end;
    while ((end = m_commandBuffer.indexOf('\r')) >= 0) {
        const QString command =
            QString::fromLatin1(m_commandBuffer.left(end)).remove(QLatin1Char('\n')).trimmed();
        m_commandBuffer.remove(0, end + 1);
        if (command.isEmpty())
            continue;
        m_commands << command;
        emit commandReceived(command);
        answer(command);
    }
}

void ModemSimulator::answer(const QString& command)
{
    if (m_profile.silent)
        return;
    bool ok = true;
    if (command.compare(QLatin1String("ATZ"), Qt::CaseInsensitive) == 0)
        ok = !m_profile.errorOnReset;
    else if (command.compare(QLatin1String("AT"), Qt::CaseInsensitive) != 0)
        ok = m_profile.acceptedCommands.contains(command);
    sendLine(ok ? "OK" : "ERROR");
}

int ModemSimulator::bytesInFlight() const
{
    int towardsModem = 0;
    int towardsProgram = 0;
    if (m_master >= 0)
        ioctl(m_master, FIONREAD, &towardsModem);
    if (m_slave >= 0)
        ioctl(m_slave, FIONREAD, &towardsProgram);
    return towardsModem + towardsProgram + int(m_outgoing.size());
}
