#include "TestDatabase.h"

#include "TestSupport.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

TestDatabase::TestDatabase()
    : store(clock)
{
    QString error;
    if (!store.openCallDatabase(path(), &error))
        qFatal("cannot open the test database: %s", qPrintable(error));
}

void TestDatabase::addPhoneListEntries(const QStringList& entries)
{
    QSqlQuery query(QSqlDatabase::database(store.connectionName()));
    int id = 0;
    for (const QString& entry : entries) {
        const QStringList fields = entry.split(QLatin1Char('|'));
        query.prepare(QStringLiteral("INSERT INTO UsersList (id, Name, number, sound) VALUES (?, ?, ?, ?)"));
        query.addBindValue(++id);
        query.addBindValue(fields.value(0));
        query.addBindValue(fields.value(1));
        query.addBindValue(fields.value(2) == QLatin1String("1"));
        QVERIFY2(query.exec(), qPrintable(entry));
    }
}

QStringList TestDatabase::calls() const
{
    return TestSupport::readRows(path(),
                                 QStringLiteral("SELECT id, number, name FROM PhoneCalls ORDER BY rowid"));
}
