#include "BenchDatabase.h"

#include "CallStore.h"
#include "Clock.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

bool fillBenchDatabase(const QString& path, int calls, int entries, QString* error)
{
    SystemClock clock;
    CallStore store(clock);
    if (!store.openCallDatabase(path, error))
        return false;
    QSqlDatabase db = QSqlDatabase::database(store.connectionName());
    QSqlQuery query(db);
    const QStringList statements{
        QStringLiteral("BEGIN"),
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                       "INSERT INTO PhoneCalls (id, datetime, number, name) SELECT i, "
                       "datetime('now', 'localtime', '-' || (%1 - i) || ' minutes'), "
                       "'555' || (i % 9000000), 'Caller ' || (i % 5000) FROM n")
            .arg(calls),
        QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                       "INSERT INTO UsersList (id, Name, number, sound) SELECT i, 'Entry ' || i, "
                       "CAST(5550000000 + i AS TEXT), i % 2 FROM n")
            .arg(entries),
        QStringLiteral("COMMIT")};
    for (const QString& sql : statements) {
        if (!query.exec(sql)) {
            *error = query.lastError().text();
            return false;
        }
    }
    return true;
}
