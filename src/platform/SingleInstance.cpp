#include "SingleInstance.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace
{

// The user's own runtime folder holds both the lock and the socket, so that each session (and each
// test) has its own instance.
QString runtimeFolder()
{
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

SingleInstance::SingleInstance(QObject* parent)
    : QObject(parent)
    , m_name(runtimeFolder() + QStringLiteral("/nimbrel.socket"))
    , m_lock(runtimeFolder() + QStringLiteral("/nimbrel.lock"))
{
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim()
{
    // A lock left by a process that died is taken over: QLockFile checks that its owner still runs.
    if (!m_lock.tryLock(0))
        return false;
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            emit activationRequested();
        }
    });
    m_server->listen(m_name);
    return true;
}

void SingleInstance::activateRunning()
{
    auto* socket = new QLocalSocket(this);
    connect(socket, &QLocalSocket::connected, this, [this, socket] {
        socket->disconnectFromServer();
        emit done(true);
    });
    connect(socket, &QLocalSocket::errorOccurred, this, [this] { emit done(false); });
    socket->connectToServer(m_name);
}
