#include "TestSupport.h"

#include "FakeClock.h"
#include "ModemSimulator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTest>

namespace TestSupport
{

void waitForQuietLine(const ModemSimulator& modem)
{
    int quietTurns = 0;
    for (int turn = 0; turn < 500 && quietTurns < 3; ++turn) {
        QTest::qWait(2);
        quietTurns = modem.bytesInFlight() == 0 ? quietTurns + 1 : 0;
    }
}

bool runUntil(FakeClock& clock, const ModemSimulator& modem, const std::function<bool()>& done,
              qint64 maxSimulatedMs)
{
    qint64 spent = 0;
    for (;;) {
        waitForQuietLine(modem);
        if (done())
            return true;
        const qint64 next = clock.msecsToNextTimer();
        if (next < 0 || spent + next > maxSimulatedMs)
            return false;
        clock.advance(next);
        spent += next;
    }
}

void insertRows(const QString& connectionName, const QString& table, const QStringList& rows)
{
    QSqlQuery query(QSqlDatabase::database(connectionName));
    for (const QString& row : rows) {
        const QStringList fields = row.split(QLatin1Char('|'));
        query.prepare(QStringLiteral("INSERT INTO %1 VALUES (?%2)")
                          .arg(table, QStringLiteral(", ?").repeated(fields.size() - 1)));
        for (const QString& field : fields)
            query.addBindValue(field);
        QVERIFY2(query.exec(), qPrintable(row + ": " + query.lastError().text()));
    }
}

QStringList readRows(const QString& databasePath, const QString& sql)
{
    QStringList rows;
    const QString name = QStringLiteral("test-reader");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(databasePath);
        db.open();
        QSqlQuery query(db);
        if (!query.exec(sql))
            rows << QStringLiteral("query failed: ") + query.lastError().text();
        while (query.next()) {
            QStringList fields;
            for (int i = 0; i < query.record().count(); ++i)
                fields << query.value(i).toString();
            rows << fields.join(QLatin1Char('|'));
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

} // namespace TestSupport

QByteArray TestSupport::fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestSupport::writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), qPrintable(path));
}

namespace
{
const QString kLockConnection = QStringLiteral("other-program");
}

TestSupport::DatabaseLock::DatabaseLock(const QString& databasePath)
{
    QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kLockConnection);
    other.setDatabaseName(databasePath);
    m_held = other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!m_held)
        qFatal("cannot lock %s", qPrintable(databasePath));
}

TestSupport::DatabaseLock::~DatabaseLock()
{
    release();
}

void TestSupport::DatabaseLock::release()
{
    if (!m_held)
        return;
    m_held = false;
    {
        QSqlDatabase other = QSqlDatabase::database(kLockConnection);
        QSqlQuery(other).exec(QStringLiteral("ROLLBACK"));
        other.close();
    }
    QSqlDatabase::removeDatabase(kLockConnection);
}

QStringList TestSupport::spiedTexts(const QSignalSpy& spy)
{
    QStringList texts;
    for (const QList<QVariant>& arguments : spy)
        texts << arguments.first().toString();
    return texts;
}
