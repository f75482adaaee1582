#include "PhoneList.h"

#include "CallRules.h"
#include "CallSchema.h"
#include "CallStore.h"
#include "SqliteDatabase.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace
{

// What an entry stores of the typed text. Pasted text can bring a line end or another control character
// along, which a caller's name never has once received, and which would split the calls' lines in a
// report; the number is compared without blanks at its ends.
struct TypedEntry {
    QString name;
    QString number;
};

TypedEntry storedForm(const QString& name, const QString& number)
{
    return {CallRules::printable(name), CallRules::printable(number).trimmed()};
}

} // namespace

PhoneList::PhoneList(CallStore& store)
    : m_store(store)
{
}

QList<PhoneListEntry> PhoneList::FillPhoneList(QString* error) const
{
    QSqlQuery query(m_store.database());
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

bool PhoneList::canChange(const QString& what, QString* error) const
{
    if (!m_store.writesHeld())
        return true;
    *error = QStringLiteral("Cannot %1 now: calls are being deleted in Calls Database, and the phone list "
                            "can change only when that has finished.\nPress the button again then; "
                            "nothing was changed.")
                 .arg(what);
    return false;
}

bool PhoneList::checkSizes(const QString& name, const QString& number, QString* error) const
{
    if (name.size() > CallSchema::kNameSize) {
        *error = QStringLiteral("The name is %1 characters long; a name can have at most %2.\n"
                                "Shorten it, then press the button again.")
                     .arg(name.size())
                     .arg(CallSchema::kNameSize);
        return false;
    }
    if (number.size() > CallSchema::kNumberSize) {
        *error = QStringLiteral("The number is %1 characters long; a number can have at most %2.\n"
                                "Shorten it, then press the button again.")
                     .arg(number.size())
                     .arg(CallSchema::kNumberSize);
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

bool PhoneList::AddPhoneListEntry(const QString& typedName, const QString& typedNumber, bool sound,
                                  QString* error)
{
    const auto [name, stored] = storedForm(typedName, typedNumber);
    if (name.isEmpty() || stored.isEmpty())
        return false;
    if (!checkSizes(name, stored, error) || !canChange(QStringLiteral("add %1").arg(name), error))
        return false;
    QSqlQuery query(m_store.database());
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
    if (!canChange(QStringLiteral("remove the entry"), error))
        return false;
    QSqlQuery query(m_store.database());
    query.prepare(QStringLiteral("DELETE FROM UsersList WHERE rowid = ?"));
    query.addBindValue(rowId);
    return run(query, QStringLiteral("remove the entry"), error);
}

bool PhoneList::UpdatePhoneListEntry(qint64 rowId, const QString& typedName, const QString& typedNumber,
                                     bool sound, QString* error)
{
    const auto [name, stored] = storedForm(typedName, typedNumber);
    if (name.isEmpty() || stored.isEmpty() || !checkSizes(name, stored, error)
        || !canChange(QStringLiteral("update %1").arg(name), error))
        return false;
    QSqlQuery query(m_store.database());
    query.prepare(QStringLiteral("UPDATE UsersList SET Name = ?, number = ?, sound = ? WHERE rowid = ?"));
    query.addBindValue(name);
    query.addBindValue(stored);
    query.addBindValue(sound);
    query.addBindValue(rowId);
    if (!run(query, QStringLiteral("update %1").arg(name), error))
        return false;
    if (query.numRowsAffected() > 0)
        return true;
    *error = QStringLiteral("The entry you clicked is no longer in the phone list (it was removed), so "
                            "there is nothing to update.\nPress Add to store %1 as a new entry.")
                 .arg(name);
    return false;
}
