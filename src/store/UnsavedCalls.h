#pragma once

#include "CallStore.h"

#include <QList>
#include <QString>
#include <QStringList>

// The plain-text file beside the call database that keeps the calls it would not take before the program
// ended: one per line, date and time, number, name and the row a late line rewrites (0 for a new call),
// separated by tabs, each field percent-encoded where it holds a tab, a line end or a percent sign.
// The next start adds them to the database and removes the file.
namespace UnsavedCalls
{

struct Entry {
    LoggedCall call;
    qint64 rowId = 0;
};

QString pathFor(const QString& databasePath);
// Appends the entries; false with *error (the system's reason) when the file cannot be written.
bool append(const QString& path, const QList<Entry>& entries, QString* error);
// The entries of the file, and the lines that are not entries (kept for the user to look at).
struct Contents {
    QList<Entry> entries;
    QStringList badLines;
};
Contents read(const QString& path);

} // namespace UnsavedCalls
