#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class FakeClock;
class QSignalSpy;
class ModemSimulator;

namespace TestSupport
{

// Lets the event loop carry bytes across the pseudo-terminal until neither side has any left to read.
void waitForQuietLine(const ModemSimulator& modem);

// Runs the event loop and simulated time together: whenever the line is quiet and `done` is still false,
// time jumps to the next timer. Gives up after maxSimulatedMs of simulated time.
bool runUntil(FakeClock& clock, const ModemSimulator& modem, const std::function<bool()>& done,
              qint64 maxSimulatedMs = 60000);

// Appends rows to a table: each row's fields joined by '|', in the table's order of fields.
void insertRows(const QString& connectionName, const QString& table, const QStringList& rows);

// The first argument of every signal a spy caught, as text.
QStringList spiedTexts(const QSignalSpy& spy);

// The whole content of a file; empty when it cannot be read.
QByteArray fileBytes(const QString& path);

// Writes a file, making its folder first.
void writeFile(const QString& path, const QByteArray& bytes);

// Rows of a table read through a connection of its own, each row's fields joined by '|'.
QStringList readRows(const QString& databasePath, const QString& sql);

// Another program holding a database's write lock, until release() or the end of its scope.
class DatabaseLock
{
public:
    explicit DatabaseLock(const QString& databasePath);
    ~DatabaseLock();
    Q_DISABLE_COPY_MOVE(DatabaseLock) // one lock, released once
    void release();

private:
    bool m_held = false;
};

} // namespace TestSupport
