#include "CallSchema.h"

#include "SqliteDatabase.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace CallSchema
{

namespace
{

struct TableDefinition {
    QString name;
    QStringList fields;
    QString createTable;
    QString indexName;
    QString createIndex;
};

const TableDefinition kTables[] = {
    {QStringLiteral("PhoneCalls"),
     {QStringLiteral("id"), QStringLiteral("datetime"), QStringLiteral("number"), QStringLiteral("name")},
     QStringLiteral(
         "CREATE TABLE PhoneCalls (id INTEGER, datetime TEXT, number VARCHAR(%1), name VARCHAR(%2))")
         .arg(kNumberSize)
         .arg(kNameSize),
     QStringLiteral("DateTime"),
     QStringLiteral("CREATE INDEX \"DateTime\" ON PhoneCalls (datetime)")},
    {QStringLiteral("UsersList"),
     {QStringLiteral("id"), QStringLiteral("Name"), QStringLiteral("number"), QStringLiteral("sound")},
     QStringLiteral(
         "CREATE TABLE UsersList (id INTEGER, Name VARCHAR(%1), number VARCHAR(%2), sound BOOLEAN)")
         .arg(kNameSize)
         .arg(kNumberSize),
     QStringLiteral("id"),
     QStringLiteral("CREATE INDEX \"id\" ON UsersList (id)")},
};

QStringList fieldsOf(QSqlDatabase& db, const QString& table, bool* ok, QString* error)
{
    QSqlQuery query(db);
    *ok = query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
    if (!*ok) {
        *error = SqliteDatabase::describe(query.lastError());
        return {};
    }
    QStringList fields;
    while (query.next())
        fields << query.value(1).toString().toLower();
    return fields;
}

QStringList indexNames(QSqlDatabase& db, bool* ok, QString* error)
{
    QSqlQuery query(db);
    *ok = query.exec(QStringLiteral("SELECT lower(name) FROM sqlite_master WHERE type = 'index'"));
    if (!*ok) {
        *error = SqliteDatabase::describe(query.lastError());
        return {};
    }
    QStringList names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

bool exec(QSqlDatabase& db, const QString& sql, QString* error)
{
    QSqlQuery query(db);
    if (query.exec(sql))
        return true;
    *error = SqliteDatabase::describe(query.lastError());
    return false;
}

} // namespace

bool createCallTables(QSqlDatabase& db, QString* error)
{
    bool ok = false;
    const QStringList indexes = indexNames(db, &ok, error);
    if (!ok)
        return false;
    QStringList statements;
    for (const TableDefinition& table : kTables) {
        const QStringList present = fieldsOf(db, table.name, &ok, error);
        if (!ok)
            return false;
        if (present.isEmpty()) {
            statements << table.createTable << table.createIndex;
            continue;
        }
        for (const QString& field : table.fields) {
            if (!present.contains(field.toLower())) {
                *error = QStringLiteral("its table %1 has no field %2, so it is not a Nimbrel database")
                             .arg(table.name, field);
                return false;
            }
        }
        if (!indexes.contains(table.indexName.toLower()))
            statements << table.createIndex;
    }
    if (statements.isEmpty())
        return true;

    if (!db.transaction()) {
        *error = SqliteDatabase::describe(db.lastError());
        return false;
    }
    for (const QString& sql : std::as_const(statements)) {
        if (!exec(db, sql, error)) {
            db.rollback();
            return false;
        }
    }
    if (!db.commit()) {
        *error = SqliteDatabase::describe(db.lastError());
        db.rollback();
        return false;
    }
    return true;
}

} // namespace CallSchema
