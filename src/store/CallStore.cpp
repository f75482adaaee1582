#include "CallStore.h"

#include "CallRules.h"
#include "CallSchema.h"
#include "Clock.h"
#include "UnsavedCalls.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>

namespace
{

constexpr int kRetryIntervalMs = 3000;

} // namespace

CallStore::CallStore(Clock& clock, QObject* parent)
    : QObject(parent)
    , m_clock(clock)
    , m_retryTimer(clock.createTimer())
    , m_closingBound(clock.createTimer())
{
    connect(m_retryTimer.get(), &ClockTimer::timeout, this, &CallStore::flushUnsaved);
    m_closingBound->setSingleShot(true);
    connect(m_closingBound.get(), &ClockTimer::timeout, this, [this] { finishClosing(keepInSideFile()); });
}

// Ended without a close (no event loop left to wait in): nothing owed is dropped.
CallStore::~CallStore()
{
    if (!m_unsaved.isEmpty())
        keepInSideFile();
}

bool CallStore::openCallDatabase(const QString& path, QString* error)
{
    if (!m_db.open(path, CallSchema::kCallTables, error))
        return false;
    importUnsaved();
    return true;
}

void CallStore::importUnsaved()
{
    const QString sideFile = UnsavedCalls::pathFor(m_db.path());
    if (!QFile::exists(sideFile))
        return;
    const UnsavedCalls::Contents contents = UnsavedCalls::read(sideFile);
    // All or nothing, and the file goes only once its calls are in: a kill meanwhile loses none.
    QSqlDatabase db = m_db.handle();
    QString reason;
    bool written = db.transaction();
    for (const UnsavedCalls::Entry& entry : contents.entries) {
        Unsaved pending{++m_nextSerial, entry.call, entry.rowId > 0, entry.rowId};
        written = written && write(pending, &reason);
    }
    if (written && db.commit()) {
        if (contents.badLines.isEmpty()) {
            QFile::remove(sideFile);
            return;
        }
        const QString aside = sideFile + QStringLiteral(".unreadable");
        QFile::remove(aside);
        QFile::rename(sideFile, aside);
        emit storeFailed(QStringLiteral("%1 calls kept from an earlier run were added to %2, but %3 lines of "
                                        "%4 are not calls; the file is kept as %5 for you to look at.")
                             .arg(contents.entries.size())
                             .arg(m_db.path())
                             .arg(contents.badLines.size())
                             .arg(sideFile, aside));
        return;
    }
    db.rollback();
    // They stay in the side file for the next start; the calls of this run are saved as usual.
    emit storeFailed(
        QStringLiteral("Cannot add the %1 calls kept in %2 to %3: %4.\nThey stay in that file, and "
                       "the next start adds them.")
            .arg(contents.entries.size())
            .arg(sideFile, m_db.path(),
                 reason.isEmpty() ? SqliteDatabase::describe(db.lastError()) : reason));
}

void CallStore::closeCallDatabase()
{
    m_closing = true;
    flushUnsaved();
    if (!m_closing)
        return; // every call written, closed
    m_retryTimer->start(kClosingRetryMs);
    m_closingBound->start(kClosingBoundMs);
}

QString CallStore::keepInSideFile()
{
    QList<UnsavedCalls::Entry> entries;
    for (const Unsaved& pending : std::as_const(m_unsaved))
        entries << UnsavedCalls::Entry{pending.call, pending.inserted ? pending.rowId : 0};
    const QString sideFile = UnsavedCalls::pathFor(m_db.path());
    QString error;
    const bool kept = UnsavedCalls::append(sideFile, entries, &error);
    const QString problem =
        kept ? QStringLiteral("Nimbrel could not write %1 call(s) to %2 (%3); they are kept in %4 and added "
                              "to the database at the next start.")
                   .arg(entries.size())
                   .arg(m_db.path(), m_lastFailure, sideFile)
             : QStringLiteral("Nimbrel could not write %1 call(s) to %2 (%3), nor to %4 (%5); they are lost.")
                   .arg(entries.size())
                   .arg(m_db.path(), m_lastFailure, sideFile, error);
    m_unsaved.clear();
    return problem;
}

void CallStore::finishClosing(const QString& problem)
{
    m_retryTimer->stop();
    m_closingBound->stop();
    m_closing = false;
    m_db.close();
    emit closed(problem);
}

std::optional<CallerMatch> CallStore::lookupCaller(const QString& received)
{
    QSqlQuery query(m_db.handle());
    query.prepare(
        QStringLiteral("SELECT Name, sound FROM UsersList WHERE number = ? ORDER BY rowid LIMIT 1"));
    query.addBindValue(received.trimmed());
    if (!query.exec()) {
        reportFailure(QStringLiteral("look up %1 in the phone list").arg(received.trimmed()),
                      SqliteDatabase::describe(query.lastError()));
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    return CallerMatch{query.value(0).toString(), query.value(1).toBool()};
}

LoggedCall CallStore::logCall(QString& number, QString& name)
{
    CallRules::applyReasonWords(number, name);
    QDateTime now = m_clock.now();
    now.setTime(QTime(now.time().hour(), now.time().minute(), now.time().second()));
    m_last = Unsaved{++m_nextSerial, LoggedCall{now, number, name}};
    m_unsaved.append(m_last);
    writeNewCalls();
    return m_last.call;
}

void CallStore::updateLastCall(const LoggedCall& call)
{
    m_last.call = call;
    for (Unsaved& pending : m_unsaved) {
        if (pending.serial == m_last.serial && !pending.inserted) {
            pending.call = call; // not written yet: it will be written as it now stands
            writeNewCalls();
            return;
        }
    }
    m_unsaved.append(m_last);
    m_unsaved.last().inserted = true;
    writeNewCalls();
}

bool CallStore::write(Unsaved& pending, QString* reason)
{
    QSqlQuery query(m_db.handle());
    if (pending.inserted) {
        query.prepare(QStringLiteral("UPDATE PhoneCalls SET number = ?, name = ? WHERE rowid = ?"));
        query.addBindValue(pending.call.number);
        query.addBindValue(pending.call.name);
        query.addBindValue(pending.rowId);
    } else {
        // One statement, so the new id and the row are one atomic step.
        query.prepare(QStringLiteral(
            "INSERT INTO PhoneCalls (id, datetime, number, name) "
            "SELECT coalesce((SELECT id FROM PhoneCalls ORDER BY rowid DESC LIMIT 1), 0) + 1, ?, ?, ?"));
        query.addBindValue(pending.call.dateTime.toString(CallSchema::kDateTimeFormat));
        query.addBindValue(pending.call.number);
        query.addBindValue(pending.call.name);
    }
    if (!query.exec()) {
        *reason = SqliteDatabase::describe(query.lastError());
        return false;
    }
    if (!pending.inserted) {
        pending.rowId = query.lastInsertId().toLongLong();
        if (pending.serial == m_last.serial)
            m_last.rowId = pending.rowId;
    }
    return true;
}

QList<LoggedCall> CallStore::recentCalls(int count) const
{
    QList<LoggedCall> calls;
    QSqlQuery query(m_db.handle());
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("SELECT datetime, number, name FROM PhoneCalls ORDER BY rowid DESC LIMIT ?"));
    query.addBindValue(count);
    if (!query.exec())
        return calls;
    while (query.next()) {
        calls.prepend({QDateTime::fromString(query.value(0).toString(), CallSchema::kDateTimeFormat),
                       query.value(1).toString(), query.value(2).toString()});
    }
    return calls;
}

void CallStore::holdWrites()
{
    m_writesHeld = true;
}

void CallStore::releaseWrites()
{
    m_writesHeld = false;
    flushUnsaved();
}

void CallStore::writeNewCalls()
{
    // While the database refuses writes, a new call waits for the retry with the others instead of
    // holding the window for another busy wait.
    if (!m_failing)
        flushUnsaved();
}

void CallStore::flushUnsaved()
{
    if (m_writesHeld)
        return;
    while (!m_unsaved.isEmpty()) {
        QString reason;
        if (!m_db.isOpen()) {
            reason = QStringLiteral("the database is not open");
        } else if (write(m_unsaved.first(), &reason)) {
            m_unsaved.removeFirst();
            continue;
        }
        const LoggedCall& call = m_unsaved.first().call;
        reportFailure(QStringLiteral("save the call from %1 (%2) of %3")
                          .arg(call.name, call.number, call.dateTime.toString(CallSchema::kDateTimeFormat)),
                      reason);
        m_lastFailure = reason;
        if (!m_retryTimer->isActive())
            m_retryTimer->start(kRetryIntervalMs);
        return;
    }
    m_retryTimer->stop();
    if (m_failing) {
        m_failing = false;
        emit storeRecovered();
    }
    if (m_closing)
        finishClosing({});
}

void CallStore::reportFailure(const QString& what, const QString& reason)
{
    if (m_failing)
        return;
    m_failing = true;
    emit storeFailed(QStringLiteral("Cannot %1 in %2: %3.\nNimbrel keeps the calls it shows and saves them "
                                    "as soon as the database accepts them again; check that the disk has "
                                    "room and that no other program holds the file.")
                         .arg(what, m_db.path(), reason));
}
