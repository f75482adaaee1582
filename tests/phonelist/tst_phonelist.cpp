#include "PhoneList.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QTest>

namespace
{

QStringList lines(const QList<PhoneListEntry>& entries)
{
    QStringList result;
    for (const PhoneListEntry& entry : entries)
        result << QStringLiteral("%1 %2 %3").arg(entry.id).arg(entry.line()).arg(entry.sound ? "bell" : "-");
    return result;
}

} // namespace

class tst_PhoneList : public QObject
{
    Q_OBJECT
private slots:
    void operations_data();
    void operations();
    void refusals_data();
    void refusals();
    void lockedDatabaseLeavesTheTableAsItWas_data();
    void lockedDatabaseLeavesTheTableAsItWas();
};

// Each step: "add NAME|NUMBER|SOUND", "remove LINE", "update LINE=NAME|NUMBER|SOUND" (LINE picks the entry
// whose line it is; with several such lines, the second one when it ends in "#2"), or "row
// ID|NAME|NUMBER|SOUND" written by another program.
void tst_PhoneList::operations_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("list");
    QTest::newRow("empty table") << QStringList() << QStringList();
    QTest::newRow("first entry gets id 1, sorted without regard to case")
        << QStringList{"add bob|222|0", "add Ann|555|1", "add alice|111|0"}
        << QStringList{"3 alice-111 -", "2 Ann-555 bell", "1 bob-222 -"};
    QTest::newRow("ids follow the last row after a removal")
        << QStringList{"add A|1|0", "add B|2|0", "add C|3|0", "remove C-3", "add D|4|0"}
        << QStringList{"1 A-1 -", "2 B-2 -", "3 D-4 -"};
    QTest::newRow("of two entries named Ann the selected one is removed")
        << QStringList{"add Ann|111|0", "add Ann|222|0", "remove Ann-222"} << QStringList{"1 Ann-111 -"};
    QTest::newRow("duplicate numbers are separate entries")
        << QStringList{"add Ann|111|0", "add Bob|111|1", "remove Bob-111"} << QStringList{"1 Ann-111 -"};
    QTest::newRow("a name with a hyphen is removed and updated")
        << QStringList{"add Jean-Paul|555|0", "add Zoe|9|0", "update Jean-Paul-555=Jean-Paul|556|1",
                       "remove Zoe-9"}
        << QStringList{"1 Jean-Paul-556 bell"};
    QTest::newRow("update rewrites only the row clicked")
        << QStringList{"add Ann|111|0", "add Ann|111|0", "update Ann-111#2=Anne|111|1"}
        << QStringList{"1 Ann-111 -", "2 Anne-111 bell"};
    QTest::newRow("numbers are stored without blanks at their ends")
        << QStringList{"add Ann| 555 1234 |0"} << QStringList{"1 Ann-555 1234 -"};
    QTest::newRow("line ends and other control characters pasted along are dropped, a tab kept")
        << QStringList{"add SMITH ANN\r\n|555\x1b"
                       "1234\n|0",
                       "update SMITH ANN-5551234=ANN\tB\n|\x7f"
                       "5551234|1"}
        << QStringList{"1 ANN\tB-5551234 bell"};
    QTest::newRow("blanks make a name") << QStringList{"add  |5|0"} << QStringList{"1  -5 -"};
    QTest::newRow("ids past 32767") << QStringList{"row 2147483000|Big|1|0", "add Next|2|0",
                                                   "update Next-2=Renamed|2|1"}
                                    << QStringList{"2147483000 Big-1 -", "2147483001 Renamed-2 bell"};
    QTest::newRow("a name of 30 and a number of 20 fit")
        << QStringList{"add " + QString(30, 'n') + "|" + QString(20, '5') + "|0"}
        << QStringList{"1 " + QString(30, 'n') + "-" + QString(20, '5') + " -"};
}

void tst_PhoneList::operations()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, list);
    TestDatabase db;
    PhoneList phoneList(db.store);
    QString error;
    for (const QString& step : steps) {
        const QString verb = step.section(' ', 0, 0);
        const QString rest = step.section(' ', 1);
        const auto pick = [&](QString line) {
            const int occurrence = line.endsWith("#2") ? 2 : 1;
            line.remove("#2");
            int seen = 0;
            for (const PhoneListEntry& entry : phoneList.FillPhoneList(&error)) {
                if (entry.line() == line && ++seen == occurrence)
                    return entry.rowId;
            }
            return qint64(0);
        };
        if (verb == "row") {
            TestSupport::insertRows(db.store.connectionName(), "UsersList", {rest});
        } else if (verb == "add") {
            const QStringList f = rest.split('|');
            QVERIFY(phoneList.AddPhoneListEntry(f[0], f[1], f[2] == "1", &error));
        } else if (verb == "remove") {
            QVERIFY(phoneList.RemovePhoneListEntry(pick(rest), &error));
        } else {
            const QStringList f = rest.section('=', 1).split('|');
            QVERIFY(phoneList.UpdatePhoneListEntry(pick(rest.section('=', 0, 0)), f[0], f[1], f[2] == "1",
                                                   &error));
        }
        QCOMPARE(error, QString());
    }
    QCOMPARE(lines(phoneList.FillPhoneList(&error)), list);
    // What a call looks up is what the list shows.
    for (const PhoneListEntry& entry : phoneList.FillPhoneList(&error))
        QVERIFY(db.store.lookupCaller(" " + entry.number + " ").has_value());
}

void tst_PhoneList::refusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty name: nothing, silently") << ""
                                                   << "555" << QString();
    QTest::newRow("empty number: nothing, silently") << "Ann"
                                                     << "" << QString();
    QTest::newRow("a number of blanks is empty") << "Ann"
                                                 << "   " << QString();
    QTest::newRow("name over 30") << QString(31, 'n') << "555"
                                  << "a name can have at most 30";
    QTest::newRow("number over 20") << "Ann" << QString(21, '5') << "a number can have at most 20";
}

void tst_PhoneList::refusals()
{
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(QString, message);
    TestDatabase db;
    db.addPhoneListEntries({"Bob|1|0"});
    PhoneList phoneList(db.store);
    QString error;
    QVERIFY(!phoneList.AddPhoneListEntry(name, number, true, &error));
    QVERIFY2(message.isEmpty() ? error.isEmpty() : error.contains(message), qPrintable(error));
    const qint64 bob = phoneList.FillPhoneList(&error).first().rowId;
    error.clear();
    QVERIFY(!phoneList.UpdatePhoneListEntry(bob, name, number, true, &error));
    QVERIFY2(message.isEmpty() ? error.isEmpty() : error.contains(message), qPrintable(error));
    QCOMPARE(lines(phoneList.FillPhoneList(&error)), QStringList{"1 Bob-1 -"});
}

void tst_PhoneList::lockedDatabaseLeavesTheTableAsItWas_data()
{
    QTest::addColumn<bool>("whileClearing");
    QTest::addColumn<QString>("reason");
    QTest::newRow("another program holds the database") << false << "locked";
    QTest::newRow("calls are being deleted") << true << "calls are being deleted";
}

void tst_PhoneList::lockedDatabaseLeavesTheTableAsItWas()
{
    QFETCH(bool, whileClearing);
    QFETCH(QString, reason);
    TestDatabase db;
    db.addPhoneListEntries({"Ann|111|1"});
    PhoneList phoneList(db.store);
    QString error;
    const qint64 ann = phoneList.FillPhoneList(&error).first().rowId;
    std::optional<TestSupport::DatabaseLock> lock;
    if (whileClearing)
        db.store.holdWrites();
    else
        lock.emplace(db.path());
    QVERIFY(!phoneList.AddPhoneListEntry("Bob", "222", false, &error));
    QVERIFY2(error.contains("Cannot add Bob") && error.contains(reason), qPrintable(error));
    error.clear();
    QVERIFY(!phoneList.UpdatePhoneListEntry(ann, "Anne", "111", false, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    error.clear();
    QVERIFY(!phoneList.RemovePhoneListEntry(ann, &error));
    QVERIFY2(error.contains(reason), qPrintable(error));
    lock.reset();
    QCOMPARE(TestSupport::readRows(db.path(), "SELECT id, Name, number, sound FROM UsersList"),
             QStringList{"1|Ann|111|1"});
}

QTEST_GUILESS_MAIN(tst_PhoneList)
#include "tst_phonelist.moc"
