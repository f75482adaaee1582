#include "ReportJobs.h"

#include "CallSchema.h"
#include "CallStore.h"
#include "DateTimeText.h"
#include "SqliteDatabase.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringEncoder>
#include <QTimer>

void CallsJob::scheduleNextSlice()
{
    emit progress(m_done, m_total);
    QTimer::singleShot(0, this, &CallsJob::slice);
}

int CallsJob::countCalls(QSqlDatabase& db, const CallRange& range, QString* error) const
{
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT count(*) FROM PhoneCalls WHERE datetime >= ? AND datetime <= ?"));
    query.addBindValue(range.storedStart());
    query.addBindValue(range.storedEnd());
    if (!query.exec() || !query.next()) {
        *error = SqliteDatabase::describe(query.lastError());
        return -1;
    }
    return query.value(0).toInt();
}

ReportWriter::ReportWriter(QSqlDatabase db, const QString& path, const CallRange& range, QObject* parent)
    : CallsJob(parent)
    , m_db(std::move(db))
    , m_range(range)
    , m_file(path)
    , m_encoder(std::make_unique<QStringEncoder>(QStringConverter::System))
{
}

ReportWriter::~ReportWriter() = default;

bool ReportWriter::start(bool* anyCallFromStart, QString* error)
{
    QSqlQuery first(m_db);
    first.prepare(QStringLiteral("SELECT 1 FROM PhoneCalls WHERE datetime >= ? LIMIT 1"));
    first.addBindValue(m_range.storedStart());
    QString reason;
    if (!first.exec()) {
        reason = SqliteDatabase::describe(first.lastError());
    } else {
        *anyCallFromStart = first.next();
        m_total = countCalls(m_db, m_range, &reason);
    }
    // Writing through a link would replace whatever file it points to.
    if (const QFileInfo file(m_file.fileName()); reason.isEmpty() && file.isSymLink())
        reason =
            QStringLiteral("it is a symbolic link to %1, and Nimbrel writes its report through no link, so "
                           "that no other file is overwritten; remove the link, then create the report "
                           "again")
                .arg(file.symLinkTarget());
    if (reason.isEmpty() && !m_file.open(QIODevice::WriteOnly))
        reason = m_file.errorString();
    if (!reason.isEmpty()) {
        *error =
            QStringLiteral("Cannot write the report %1: %2.\nThe earlier report has been left as it was.")
                .arg(m_file.fileName(), reason);
        return false;
    }
    scheduleNextSlice();
    return true;
}

void ReportWriter::slice()
{
    // Keyset paging along the DateTime index (datetime, then rowid): each slice starts where the last ended.
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT rowid, datetime, coalesce(number, '') || ' , ' || coalesce(name, "
                                 "'') || ' , ' FROM PhoneCalls "
                                 "WHERE datetime >= ? AND datetime <= ? AND (datetime > ? OR rowid > ?) "
                                 "ORDER BY datetime, rowid LIMIT %1")
                      .arg(kRowsPerSlice));
    query.addBindValue(m_lastStored.isEmpty() ? m_range.storedStart() : m_lastStored);
    query.addBindValue(m_range.storedEnd());
    query.addBindValue(m_lastStored);
    query.addBindValue(m_lastRowId);
    if (!query.exec()) {
        fail(SqliteDatabase::describe(query.lastError()));
        return;
    }
    static const DateTimeText dateTimeText;
    QString lines;
    int rows = 0;
    while (query.next()) {
        m_lastRowId = query.value(0).toLongLong();
        m_lastStored = query.value(1).toString();
        lines += query.value(2).toString() + dateTimeText.fromStored(m_lastStored) + QStringLiteral("\r\n");
        ++rows;
    }
    const QByteArray bytes = m_encoder->encode(lines);
    if (m_file.write(bytes) != bytes.size()) {
        fail(m_file.errorString());
        return;
    }
    m_done += rows;
    if (rows == kRowsPerSlice) {
        scheduleNextSlice();
        return;
    }
    if (!m_file.commit()) {
        fail(m_file.errorString());
        return;
    }
    emit progress(m_done, m_total);
    emit finished(true, QStringLiteral("%1 calls written to %2.").arg(m_done).arg(m_file.fileName()));
}

void ReportWriter::fail(const QString& reason)
{
    m_file.cancelWriting();
    emit finished(false,
                  QStringLiteral("Cannot write the report %1: %2.\nThe earlier report has been left as "
                                 "it was.")
                      .arg(m_file.fileName(), reason));
}

CallsClearer::CallsClearer(CallStore& store, const CallRange& range, QObject* parent)
    : CallsJob(parent)
    , m_store(store)
    , m_range(range)
{
}

CallsClearer::~CallsClearer()
{
    if (!m_running)
        return;
    m_connection.handle().rollback();
    m_store.releaseWrites();
}

int CallsClearer::count(QString* error)
{
    QString reason;
    QSqlDatabase db = m_store.database();
    m_total = countCalls(db, m_range, &reason);
    if (m_total < 0)
        *error = QStringLiteral("Cannot count the calls to delete: %1.").arg(reason);
    return m_total;
}

bool CallsClearer::start(QString* error)
{
    if (!m_connection.open(m_store.path(), CallSchema::kCallTables, error))
        return false;
    QSqlDatabase db = m_connection.handle();
    m_store.holdWrites();
    if (!db.transaction()) {
        m_store.releaseWrites();
        *error = QStringLiteral("Cannot delete the calls: %1.\nNo call was deleted.")
                     .arg(SqliteDatabase::describe(db.lastError()));
        return false;
    }
    m_running = true;
    scheduleNextSlice();
    return true;
}

void CallsClearer::slice()
{
    QSqlDatabase db = m_connection.handle();
    QSqlQuery query(db);
    query.prepare(QStringLiteral("DELETE FROM PhoneCalls WHERE rowid IN (SELECT rowid FROM PhoneCalls "
                                 "WHERE datetime >= ? AND datetime <= ? ORDER BY datetime LIMIT %1)")
                      .arg(kRowsPerSlice));
    query.addBindValue(m_range.storedStart());
    query.addBindValue(m_range.storedEnd());
    if (!query.exec()) {
        end(false, SqliteDatabase::describe(query.lastError()));
        return;
    }
    const int deleted = query.numRowsAffected();
    m_done += deleted;
    if (deleted == kRowsPerSlice) {
        scheduleNextSlice();
        return;
    }
    end(db.commit(), SqliteDatabase::describe(db.lastError()));
}

void CallsClearer::end(bool ok, const QString& reason)
{
    m_running = false;
    if (!ok)
        m_connection.handle().rollback();
    m_store.releaseWrites();
    emit progress(m_done, m_total);
    if (ok)
        emit finished(true, QStringLiteral("%1 calls deleted.").arg(m_done));
    else
        emit finished(false,
                      QStringLiteral("Cannot delete the calls: %1.\nNo call was deleted.").arg(reason));
}
