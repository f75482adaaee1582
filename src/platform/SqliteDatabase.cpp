#include "SqliteDatabase.h"

#include <QAtomicInt>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace
{

constexpr int kBusyTimeoutMs = 250;

QString nextConnectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("nimbrel-sqlite-%1").arg(counter.fetchAndAddRelaxed(1));
}

bool looksLikeSqlite(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (file.size() == 0)
        return true; // SQLite treats an empty file as an empty database
    return file.read(16) == QByteArray("SQLite format 3\0", 16);
}

QString failure(const QString& path, const QString& reason, const QString& advice)
{
    return QStringLiteral("Cannot open the call database %1: %2.\n%3").arg(path, reason, advice);
}

const QString kLeftUntouched = QStringLiteral("The file has been left as it is.");

} // namespace

SqliteDatabase::SqliteDatabase() = default;

SqliteDatabase::~SqliteDatabase()
{
    close();
}

QString SqliteDatabase::describe(const QSqlError& error)
{
    QString text = error.databaseText();
    if (text.isEmpty())
        text = error.driverText();
    return text.isEmpty() ? error.text() : text;
}

bool SqliteDatabase::open(const QString& path, const Schema& schema, QString* error)
{
    close();
    const QFileInfo info(path);
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir() || !folder.isWritable()) {
        *error =
            failure(path, QStringLiteral("the folder %1 cannot be written").arg(info.absolutePath()),
                    QStringLiteral("Give your user write access to that folder, then start Nimbrel again."));
        return false;
    }

    if (!info.exists()) {
        const QString creating =
            info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".creating");
        QFile::remove(creating); // left behind by a creation that was interrupted
        if (!openConnection(creating, {}, error))
            return false;
        QString reason;
        bool initialised = false;
        {
            QSqlDatabase db = handle();
            initialised = schema.create(db, &reason);
        }
        close();
        if (!initialised) {
            QFile::remove(creating);
            *error = QStringLiteral("Cannot create the call database %1: %2.\n"
                                    "Check that the disk has room, then start Nimbrel again.")
                         .arg(path, reason);
            return false;
        }
        // rename() refuses to replace a file that another instance created meanwhile; that one is used.
        if (!QFile::rename(creating, path))
            QFile::remove(creating);
    }

    const QFileInfo existing(path);
    if (!existing.isReadable() || !existing.isWritable()) {
        *error = failure(path, QStringLiteral("your user cannot read and write it"),
                         QStringLiteral("Give your user write access to it, then start Nimbrel again."));
        return false;
    }
    if (!looksLikeSqlite(path)) {
        *error =
            failure(path, QStringLiteral("it is not a Nimbrel database (it may come from another program)"),
                    kLeftUntouched
                        + QStringLiteral(" Rename or move it, then start Nimbrel again to begin a new one."));
        return false;
    }
    return openConnection(path, schema, error);
}

bool SqliteDatabase::openConnection(const QString& path, const Schema& schema, QString* error)
{
    m_connectionName = nextConnectionName();
    m_path = path;
    bool refused = false;
    const QString reason =
        configure(QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName), schema, &refused);
    if (reason.isEmpty())
        return true;
    close();
    *error =
        failure(path, reason,
                kLeftUntouched
                    + (refused ? QStringLiteral(" Rename or move it, then start Nimbrel again to begin a "
                                                "new one.")
                               : QStringLiteral(" If it is damaged, restore it from a backup or move it "
                                                "aside and start Nimbrel again to begin a new one.")));
    return false;
}

QString SqliteDatabase::configure(QSqlDatabase db, const Schema& schema, bool* refused) const
{
    db.setDatabaseName(m_path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open())
        return describe(db.lastError());
    QSqlQuery query(db);
    // A damaged or foreign file opens lazily and fails on its first read, which is this one.
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
        return describe(query.lastError());
    QString reason;
    if (schema.check && !schema.check(db, &reason)) {
        *refused = true;
        return reason;
    }
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !query.next())
        return describe(query.lastError());
    if (query.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("its journal cannot be switched to WAL mode");
    if (!query.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return describe(query.lastError());
    if (schema.create && !schema.create(db, &reason))
        return reason;
    return {};
}

void SqliteDatabase::close()
{
    if (m_connectionName.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName.clear();
}

bool SqliteDatabase::isOpen() const
{
    return !m_connectionName.isEmpty() && handle().isOpen();
}

QSqlDatabase SqliteDatabase::handle() const
{
    return QSqlDatabase::database(m_connectionName, false);
}
