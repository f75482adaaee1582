#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

// One SQLite file opened through Qt Sql for a store that must survive a kill at any moment: WAL journal,
// every commit synced, a short busy wait so that a lock held by another program never freezes the UI.
class SqliteDatabase
{
public:
    using Initialiser = std::function<bool(QSqlDatabase&, QString* error)>;

    SqliteDatabase();
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens an existing file, or creates a new one by running `initialise` on a temporary file that is
    // renamed into place only when it succeeded, so a new file is either complete or absent. An existing
    // file is never overwritten or removed. On failure *error says what failed, why, and what to do.
    bool open(const QString& path, const Initialiser& initialise, QString* error);
    void close();
    bool isOpen() const;

    QSqlDatabase handle() const;
    QString connectionName() const { return m_connectionName; }
    QString path() const { return m_path; }

    static QString describe(const QSqlError& error);

private:
    bool openConnection(const QString& path, QString* error);
    QString configure(QSqlDatabase db) const;

    QString m_connectionName;
    QString m_path;
};
