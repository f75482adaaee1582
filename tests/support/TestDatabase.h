#pragma once

#include "CallStore.h"
#include "FakeClock.h"

#include <QStringList>
#include <QTemporaryDir>

// A call store on a fresh callerid.mdb in a temporary folder, with a phone list filled as a test needs.
class TestDatabase
{
public:
    TestDatabase();
    QString path() const { return m_dir.filePath(QStringLiteral("callerid.mdb")); }
    // Entries as "Name|number|sound", sound 1 or 0, numbered from 1.
    void addPhoneListEntries(const QStringList& entries);
    // PhoneCalls as "id|number|name" in natural order.
    QStringList calls() const;

    FakeClock clock;
    CallStore store;

private:
    QTemporaryDir m_dir;
};
