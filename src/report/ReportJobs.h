#pragma once

#include "CallRange.h"
#include "SqliteDatabase.h"

#include <QObject>
#include <QSaveFile>
#include <QSqlDatabase>

#include <memory>

class CallStore;
class QStringEncoder;

// Long work on PhoneCalls done in slices between other events, so that the window stays responsive and
// calls keep being logged while a million rows are written out or deleted.
class CallsJob : public QObject
{
    Q_OBJECT
public:
    static constexpr int kRowsPerSlice = 50000;

    using QObject::QObject;
    int done() const { return m_done; }
    int total() const { return m_total; }

signals:
    void progress(int done, int total);
    // ok false: message says what failed; nothing was changed.
    void finished(bool ok, const QString& message);

protected:
    void scheduleNextSlice();
    virtual void slice() = 0;
    int countCalls(QSqlDatabase& db, const CallRange& range, QString* error) const;

    int m_done = 0;
    int m_total = 0;
};

// Writes the calls of a range to a report file in ascending time: "number , name , date and time" and
// CR LF, in the locale's encoding. The file is written beside the old one and takes its place only when
// complete, so a report that fails leaves the earlier one as it was.
class ReportWriter : public CallsJob
{
    Q_OBJECT
public:
    ReportWriter(QSqlDatabase db, const QString& path, const CallRange& range, QObject* parent = nullptr);
    ~ReportWriter() override;

    // False with *error when the report cannot be begun. *anyCallFromStart tells whether some call lies
    // at or after the start (only then is the report shown).
    bool start(bool* anyCallFromStart, QString* error);

private:
    void slice() override;
    void fail(const QString& reason);

    QSqlDatabase m_db;
    CallRange m_range;
    QSaveFile m_file;
    std::unique_ptr<QStringEncoder> m_encoder;
    QString m_lastStored;
    qint64 m_lastRowId = 0;
};

// Deletes the calls of a range in one transaction, on a connection of its own, so that rolling it back
// undoes only the deletion: a failure deletes nothing. Calls that arrive meanwhile are held by the store
// and written when the deletion ends.
class CallsClearer : public CallsJob
{
    Q_OBJECT
public:
    CallsClearer(CallStore& store, const CallRange& range, QObject* parent = nullptr);
    // A deletion cut short (its window closed) is rolled back: nothing is deleted.
    ~CallsClearer() override;

    // How many calls the range holds, to ask the user before anything is deleted; -1 on failure.
    int count(QString* error);
    bool start(QString* error);

private:
    void slice() override;
    void end(bool ok, const QString& message);

    CallStore& m_store;
    SqliteDatabase m_connection;
    CallRange m_range;
    bool m_running = false;
};
