#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

// One SQLite file opened through Qt Sql for a store that must survive a kill at any moment: WAL journal,
// every commit synced, a short busy wait so that a lock held by another program never freezes the UI.
class SqliteDatabase
{
public:
    using Step = std::function<bool(QSqlDatabase&, QString* error)>;
    struct Schema {
        // Reads only: whether an existing file is the program's. A refused file is left as it was, byte
        // for byte.
        Step check;
        // Makes what is missing: all of a new file, or what an accepted one lacks.
        Step create;
    };

    SqliteDatabase();
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens an existing file that the schema accepts, or creates a new one on a temporary file that is
    // renamed into place only when it succeeded, so a new file is either complete or absent. An existing
    // file is never overwritten or removed, and is changed (its journal, missing tables) only once
    // accepted. On failure *error says what failed, why, and what to do.
    bool open(const QString& path, const Schema& schema, QString* error);
    void close();
    bool isOpen() const;

    QSqlDatabase handle() const;
    QString connectionName() const { return m_connectionName; }
    QString path() const { return m_path; }

    static QString describe(const QSqlError& error);

private:
    bool openConnection(const QString& path, const Schema& schema, QString* error);
    QString configure(QSqlDatabase db, const Schema& schema, bool* refused) const;

    QString m_connectionName;
    QString m_path;
};
