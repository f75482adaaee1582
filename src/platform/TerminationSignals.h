#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT (logout, kill, Ctrl-C) delivered as a Qt signal on the UI thread, so the program
// can shut down as it does on Exit.
class TerminationSignals : public QObject
{
    Q_OBJECT
public:
    explicit TerminationSignals(QObject* parent = nullptr);
    ~TerminationSignals() override;

signals:
    void terminationRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
};
