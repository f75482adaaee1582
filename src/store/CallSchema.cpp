#include "CallSchema.h"

#include "SqliteDatabase.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace CallSchema
{

namespace
{

struct IndexDefinition {
    QString name;
    QString create;
};

struct TableDefinition {
    QString name;
    QStringList fields;
    QString createTable;
    QList<IndexDefinition> indexes;
};

const TableDefinition kTables[] = {
    {QStringLiteral("PhoneCalls"),
     {QStringLiteral("id"), QStringLiteral("datetime"), QStringLiteral("number"), QStringLiteral("name")},
     QStringLiteral(
         "CREATE TABLE PhoneCalls (id INTEGER, datetime TEXT, number VARCHAR(%1), name VARCHAR(%2))")
         .arg(kNumberSize)
         .arg(kNameSize),
     {{QStringLiteral("DateTime"), QStringLiteral("CREATE INDEX \"DateTime\" ON PhoneCalls (datetime)")}}},
    {QStringLiteral("UsersList"),
     {QStringLiteral("id"), QStringLiteral("Name"), QStringLiteral("number"), QStringLiteral("sound")},
     QStringLiteral(
         "CREATE TABLE UsersList (id INTEGER, Name VARCHAR(%1), number VARCHAR(%2), sound BOOLEAN)")
         .arg(kNameSize)
         .arg(kNumberSize),
     // Every call looks its number up here while the phone rings; without an index a long list is read
     // through each time.
     {{QStringLiteral("id"), QStringLiteral("CREATE INDEX \"id\" ON UsersList (id)")},
      {QStringLiteral("UsersListNumber"),
       QStringLiteral("CREATE INDEX \"UsersListNumber\" ON UsersList (number)")}}},
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

// Every table and index of the file, by lower-case name, with its type.
QHash<QString, QString> objectsOf(QSqlDatabase& db, bool* ok, QString* error)
{
    QSqlQuery query(db);
    *ok = query.exec(QStringLiteral("SELECT lower(name), type FROM sqlite_master"));
    if (!*ok) {
        *error = SqliteDatabase::describe(query.lastError());
        return {};
    }
    QHash<QString, QString> objects;
    while (query.next())
        objects.insert(query.value(0).toString(), query.value(1).toString());
    return objects;
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

namespace
{

// What the file lacks, as statements, or false with *error when the file is not one of Nimbrel's.
bool plan(QSqlDatabase& db, QStringList* statements, QString* error)
{
    bool ok = false;
    const QHash<QString, QString> objects = objectsOf(db, &ok, error);
    if (!ok)
        return false;
    bool ours = objects.isEmpty(); // a new, empty file becomes a Nimbrel database
    for (const TableDefinition& table : kTables) {
        const QStringList present = fieldsOf(db, table.name, &ok, error);
        if (!ok)
            return false;
        QStringList missingIndexes;
        for (const IndexDefinition& index : table.indexes) {
            const QString type = objects.value(index.name.toLower());
            if (type.isEmpty()) {
                missingIndexes << index.create;
            } else if (type != QLatin1String("index")) {
                *error = QStringLiteral("there is already a %1 named %2 where its index should be, so it is "
                                        "not a Nimbrel database")
                             .arg(type, index.name);
                return false;
            }
        }
        if (present.isEmpty()) {
            *statements << table.createTable << missingIndexes;
            continue;
        }
        ours = true;
        for (const QString& field : table.fields) {
            if (!present.contains(field.toLower())) {
                *error = QStringLiteral("its table %1 has no field %2, so it is not a Nimbrel database")
                             .arg(table.name, field);
                return false;
            }
        }
        *statements << missingIndexes;
    }
    if (!ours)
        *error = QStringLiteral("it has neither a PhoneCalls nor a UsersList table, so it is not a Nimbrel "
                                "database (it may come from another program)");
    return ours;
}

} // namespace

bool checkCallTables(QSqlDatabase& db, QString* error)
{
    QStringList statements;
    return plan(db, &statements, error);
}

bool createCallTables(QSqlDatabase& db, QString* error)
{
    QStringList statements;
    if (!plan(db, &statements, error))
        return false;
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
