#pragma once

#include <QString>

class QSqlDatabase;

// The two tables of callerid.mdb and their indexes. Insertion order (rowid) is the tables' natural order.
namespace CallSchema
{

// The sizes of the number and name fields, in PhoneCalls and UsersList alike.
constexpr int kNumberSize = 20;
constexpr int kNameSize = 30;
// Stored as text that sorts in time order and reads plainly in the sqlite3 tool.
inline const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Creates whatever table or index is missing, in one transaction, and checks that existing tables carry
// the fields the program reads. Names are matched without regard to case, as SQLite does.
bool createCallTables(QSqlDatabase& db, QString* error);

} // namespace CallSchema
