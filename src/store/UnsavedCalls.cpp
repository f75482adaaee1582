#include "UnsavedCalls.h"

#include "CallSchema.h"

#include <QFile>

namespace UnsavedCalls
{

namespace
{

const QByteArray kKeptAsText = " :-+()#*.,;'\"/";

QByteArray field(const QString& text)
{
    return text.toUtf8().toPercentEncoding(kKeptAsText);
}

QString text(const QByteArray& field)
{
    return QString::fromUtf8(QByteArray::fromPercentEncoding(field));
}

} // namespace

QString pathFor(const QString& databasePath)
{
    return databasePath + QStringLiteral(".unsaved");
}

bool append(const QString& path, const QList<Entry>& entries, QString* error)
{
    QFile file(path);
    const bool isNew = !file.exists();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        *error = file.errorString();
        return false;
    }
    QByteArray lines;
    if (isNew)
        lines += "# Calls that Nimbrel could not write to its call database; the next start adds them.\n";
    for (const Entry& entry : entries) {
        lines += field(entry.call.dateTime.toString(CallSchema::kDateTimeFormat)) + '\t'
                 + field(entry.call.number) + '\t' + field(entry.call.name) + '\t'
                 + QByteArray::number(entry.rowId) + '\n';
    }
    if (file.write(lines) != lines.size() || !file.flush()) {
        *error = file.errorString();
        return false;
    }
    return true;
}

Contents read(const QString& path)
{
    Contents contents;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return contents;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        const QList<QByteArray> fields = line.split('\t');
        bool rowIdRead = false;
        const qint64 rowId = fields.size() == 4 ? fields[3].toLongLong(&rowIdRead) : 0;
        const QDateTime dateTime =
            rowIdRead ? QDateTime::fromString(text(fields[0]), CallSchema::kDateTimeFormat) : QDateTime();
        if (!rowIdRead || rowId < 0 || !dateTime.isValid()) {
            contents.badLines << QString::fromUtf8(line);
            continue;
        }
        contents.entries << Entry{LoggedCall{dateTime, text(fields[1]), text(fields[2])}, rowId};
    }
    return contents;
}

} // namespace UnsavedCalls
