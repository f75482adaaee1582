#pragma once

#include <QList>
#include <QString>

class CallStore;
class QSqlQuery;

// One row of UsersList as the editor shows it. rowId names the row itself: identifiers (id) are given as
// the last row's plus one and can repeat, so the editor never acts on a row through its id.
struct PhoneListEntry {
    qint64 rowId = 0;
    qint64 id = 0;
    QString name;
    QString number;
    bool sound = false;

    // The line the list shows: name, "-", number.
    QString line() const { return name + QLatin1Char('-') + number; }
};

// The phone list operations over the UsersList table. Each change is one statement, so a failure
// leaves the table as it was; failures return false with the reason in *error. While calls are being
// deleted the database takes no other change, so a change is refused then, with a message that says so.
class PhoneList
{
public:
    explicit PhoneList(CallStore& store);

    // Every entry, in order of its line without regard to case.
    QList<PhoneListEntry> FillPhoneList(QString* error) const;
    // Adds an entry; the number is stored without blanks at its ends, as the lookup compares it, and
    // neither text keeps a control character (a tab apart). An empty name or number adds nothing and is
    // no failure (*error stays empty).
    bool AddPhoneListEntry(const QString& typedName, const QString& typedNumber, bool sound, QString* error);
    bool RemovePhoneListEntry(qint64 rowId, QString* error);
    // Rewrites the one row; an empty name or number changes nothing, as with Add. A row that no longer
    // exists is a failure: the user's text is not to be taken as stored.
    bool UpdatePhoneListEntry(qint64 rowId, const QString& typedName, const QString& typedNumber, bool sound,
                              QString* error);

private:
    bool canChange(const QString& what, QString* error) const;
    bool checkSizes(const QString& name, const QString& number, QString* error) const;
    bool run(QSqlQuery& query, const QString& what, QString* error);

    CallStore& m_store;
};
