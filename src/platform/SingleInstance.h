#pragma once

#include <QLockFile>
#include <QObject>

class QLocalServer;

// One Nimbrel per user: the first start holds a lock and listens; a later start asks it to come forward
// and ends, instead of fighting over the port and the database.
class SingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process is the first; it then reports activationRequested() for later starts.
    bool claim();
    // Asks the running instance to come forward; emits done() when delivered or when it cannot be.
    void activateRunning();

signals:
    void activationRequested();
    void done(bool delivered);

private:
    QString m_name;
    QLockFile m_lock;
    QLocalServer* m_server = nullptr;
};
