#pragma once

#include "SqliteDatabase.h"

#include <QDateTime>
#include <QList>
#include <QObject>

#include <memory>
#include <optional>

class Clock;
class ClockTimer;

struct CallerMatch {
    QString name;
    bool playDoorbell = false;
};

// One call as stored in PhoneCalls and shown in the grid.
struct LoggedCall {
    QDateTime dateTime;
    QString number;
    QString name;
};

// callerid.mdb: logging calls and looking up callers. A call is committed before logCall() returns, so
// what the user is shown survives a kill. When the database refuses a write the call is kept in memory,
// the failure is reported once, and the calls are written, in order, as soon as it accepts writes again.
// Calls still unwritten when the program ends go to a side file (UnsavedCalls) that the next open adds.
class CallStore : public QObject
{
    Q_OBJECT
public:
    explicit CallStore(Clock& clock, QObject* parent = nullptr);
    ~CallStore() override;

    // Times of the close: how often the calls still owed are tried again, and for how long.
    static constexpr int kClosingRetryMs = 500;
    static constexpr int kClosingBoundMs = 5000;

    // Opens the file and adds the calls that an earlier run left in its side file.
    bool openCallDatabase(const QString& path, QString* error);
    // Closes the database once the calls it still owes are written, trying for kClosingBoundMs; what is
    // still unwritten then is kept in the side file. `closed` follows (at once when nothing is owed).
    void closeCallDatabase();
    bool isOpen() const { return m_db.isOpen(); }
    QString path() const { return m_db.path(); }
    QString connectionName() const { return m_db.connectionName(); }
    // The open database, for the operations of the phone list and the report.
    QSqlDatabase database() const { return m_db.handle(); }

    // The first phone-list entry, in the list's natural order, whose number equals the received value
    // without its surrounding blanks.
    std::optional<CallerMatch> lookupCaller(const QString& received);

    // Turns number and name into the words that are stored and shown, and appends the call.
    LoggedCall logCall(QString& number, QString& name);
    // Rewrites the last logged call, for a caller-ID line that arrives after its call was logged.
    void updateLastCall(const LoggedCall& call);

    int unsavedCount() const { return int(m_unsaved.size()); }
    // The latest calls in PhoneCalls, oldest first; calls not yet written are not among them.
    QList<LoggedCall> recentCalls(int count) const;

    // While a long change of the table is under way on this connection (clearing calls), new calls are
    // kept in memory, shown as usual, and written when it ends, whether it was committed or rolled back.
    void holdWrites();
    void releaseWrites();
    bool writesHeld() const { return m_writesHeld; }

signals:
    void storeFailed(const QString& message);
    void storeRecovered();
    // The database is closed; `problem` says which calls could not be written and where they are kept.
    void closed(const QString& problem);

private:
    struct Unsaved {
        quint64 serial = 0;
        LoggedCall call;
        bool inserted = false; // only the rewrite of an inserted row is still owed
        qint64 rowId = 0;
    };

    bool write(Unsaved& pending, QString* reason);
    void flushUnsaved();
    void writeNewCalls();
    void reportFailure(const QString& what, const QString& reason);
    void importUnsaved();
    void finishClosing(const QString& problem);
    QString keepInSideFile();

    Clock& m_clock;
    SqliteDatabase m_db;
    QList<Unsaved> m_unsaved;
    Unsaved m_last;
    quint64 m_nextSerial = 0;
    bool m_failing = false;
    bool m_writesHeld = false;
    bool m_closing = false;
    QString m_lastFailure;
    std::unique_ptr<ClockTimer> m_retryTimer;
    std::unique_ptr<ClockTimer> m_closingBound;
};
