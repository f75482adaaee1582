#pragma once

#include "SqliteDatabase.h"

#include <QString>

// The two tables of callerid.mdb and their indexes. Insertion order (rowid) is the tables' natural order.
namespace CallSchema
{

// The sizes of the number and name fields, in PhoneCalls and UsersList alike.
constexpr int kNumberSize = 20;
constexpr int kNameSize = 30;
// Stored as text that sorts in time order and reads plainly in the sqlite3 tool.
inline const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

// Whether the file is a Nimbrel database, reading only: empty, or holding one of the two tables, each
// table present with the fields the program reads and nothing else where an index belongs. Names are
// matched without regard to case, as SQLite does.
bool checkCallTables(QSqlDatabase& db, QString* error);
// Checks as above, then creates whatever table or index is missing, in one transaction.
bool createCallTables(QSqlDatabase& db, QString* error);
inline const SqliteDatabase::Schema kCallTables{checkCallTables, createCallTables};

} // namespace CallSchema
