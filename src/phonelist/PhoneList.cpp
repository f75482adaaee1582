#include "PhoneList.h"

#include "SqliteDatabase.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

PhoneList::PhoneList(QSqlDatabase database)
    : m_db(std::move(database))
{
}

QList<PhoneListEntry> PhoneList::FillPhoneList(QString* error) const
{
    QSqlQuery query(m_db);
    query.setForwardOnly(true);
    QList<PhoneListEntry> entries;
    if (!query.exec(QStringLiteral("SELECT rowid, id, Name, number, sound FROM UsersList ORDER BY rowid"))) {
        *error = QStringLiteral("Cannot read the phone list: %1.")
                     .arg(SqliteDatabase::describe(query.lastError()));
        return entries;
    }
    while (query.next()) {
        entries.append({query.value(0).toLongLong(), query.value(1).toLongLong(), query.value(2).toString(),
                        query.value(3).toString(), query.value(4).toBool()});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const PhoneListEntry& a, const PhoneListEntry& b) {
        return a.line().compare(b.line(), Qt::CaseInsensitive) < 0;
    });
    return entries;
}

bool PhoneList::checkSizes(const QString& name, const QString& number, QString* error) const
{
    if (name.size() > kNameSize) {
        *error = QStringLiteral("The name is %1 characters long; a name can have at most %2.\n"
                                "Shorten it, then press the button again.")
                     .arg(name.size())
                     .arg(kNameSize);
        return false;
    }
    if (number.size() > kNumberSize) {
        *error = QStringLiteral("The number is %1 characters long; a number can have at most %2.\n"
                                "Shorten it, then press the button again.")
                     .arg(number.size())
                     .arg(kNumberSize);
        return false;
    }
    return true;
}

bool PhoneList::run(QSqlQuery& query, const QString& what, QString* error)
{
    if (query.exec())
        return true;
    *error = QStringLiteral("Cannot %1 in the phone list: %2.\nThe phone list has been left as it was.")
                 .arg(what, SqliteDatabase::describe(query.lastError()));
    return false;
}

bool PhoneList::AddPhoneListEntry(const QString& name, const QString& number, bool sound, QString* error)
{
    const QString stored = number.trimmed();
    if (name.isEmpty() || stored.isEmpty())
        return false;
    if (!checkSizes(name, stored, error))
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral(
        "INSERT INTO UsersList (id, Name, number, sound) "
        "SELECT coalesce((SELECT id FROM UsersList ORDER BY rowid DESC LIMIT 1), 0) + 1, ?, ?, ?"));
    query.addBindValue(name);
    query.addBindValue(stored);
    query.addBindValue(sound);
    return run(query, QStringLiteral("add %1").arg(name), error);
}

bool PhoneList::RemovePhoneListEntry(qint64 rowId, QString* error)
{
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("DELETE FROM UsersList WHERE rowid = ?"));
    query.addBindValue(rowId);
    return run(query, QStringLiteral("remove the entry"), error);
}

bool PhoneList::UpdatePhoneListEntry(qint64 rowId, const QString& name, const QString& number, bool sound,
                                     QString* error)
{
    const QString stored = number.trimmed();
    if (name.isEmpty() || stored.isEmpty() || !checkSizes(name, stored, error))
        return false;
    QSqlQuery query(m_db);
    query.prepare(QStringLiteral("UPDATE UsersList SET Name = ?, number = ?, sound = ? WHERE rowid = ?"));
    query.addBindValue(name);
    query.addBindValue(stored);
    query.addBindValue(sound);
    query.addBindValue(rowId);
    return run(query, QStringLiteral("update %1").arg(name), error);
}
