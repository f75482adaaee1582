#include "TestDatabase.h"

#include "TestSupport.h"

TestDatabase::TestDatabase()
    : store(clock)
{
    QString error;
    if (!store.openCallDatabase(path(), &error))
        qFatal("cannot open the test database: %s", qPrintable(error));
}

void TestDatabase::addPhoneListEntries(const QStringList& entries)
{
    QStringList rows;
    for (const QString& entry : entries)
        rows << QString::number(rows.size() + 1) + QLatin1Char('|') + entry;
    TestSupport::insertRows(store.connectionName(), QStringLiteral("UsersList"), rows);
}

QStringList TestDatabase::calls() const
{
    return TestSupport::readRows(path(),
                                 QStringLiteral("SELECT id, number, name FROM PhoneCalls ORDER BY rowid"));
}
