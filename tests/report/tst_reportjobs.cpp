#include "CallSchema.h"
#include "DateTimeText.h"
#include "PhoneList.h"
#include "ReportJobs.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace
{

// Calls as "yyyy-MM-dd HH:mm:ss|number|name", in this order.
void addCalls(TestDatabase& db, const QStringList& calls)
{
    QStringList rows;
    for (const QString& call : calls)
        rows << "0|" + call;
    TestSupport::insertRows(db.store.connectionName(), "PhoneCalls", rows);
}

// `count` calls at the same moment, numbered from 1.
void addManyCalls(TestDatabase& db, int count, const QString& stored)
{
    QVERIFY(QSqlQuery(db.store.database())
                .exec(QString("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                              "INSERT INTO PhoneCalls SELECT i, '%2', i, 'x' FROM n")
                          .arg(count)
                          .arg(stored)));
}

CallRange range(const QString& start, const QString& end)
{
    return {QDateTime::fromString(start, CallSchema::kDateTimeFormat),
            QDateTime::fromString(end, CallSchema::kDateTimeFormat)};
}

QByteArray reportLine(const QString& call)
{
    const QStringList f = call.split('|');
    const QDateTime at = QDateTime::fromString(f[0], CallSchema::kDateTimeFormat);
    return (f[1] + " , " + f[2] + " , " + (at.isValid() ? dateTimeText(at) : f[0]) + "\r\n").toLocal8Bit();
}

// Runs a job's slices to the end: "ok: MESSAGE" or "failed: MESSAGE".
QString finish(CallsJob& job)
{
    QSignalSpy finished(&job, &CallsJob::finished);
    if (!QTest::qWaitFor([&] { return !finished.isEmpty(); }, 20000))
        return "not finished";
    return (finished.first().at(0).toBool() ? "ok: " : "failed: ") + finished.first().at(1).toString();
}

} // namespace

class tst_ReportJobs : public QObject
{
    Q_OBJECT
private slots:
    void report_data();
    void report();
    void reportOfManySlicesHasEachCallOnce();
    void reportThatFailsKeepsTheEarlierOne();
    void reportIsNotWrittenThroughALink_data();
    void reportIsNotWrittenThroughALink();
    void clear_data();
    void clear();
    void clearingRollsBackOnlyItsOwnDeletions();
    void clearingThatFailsDeletesNothing_data();
    void clearingThatFailsDeletesNothing();
};

void tst_ReportJobs::report_data()
{
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QString>("start"); // times on 2026-03-10
    QTest::addColumn<QString>("end");
    QTest::addColumn<QStringList>("reported");
    QTest::addColumn<bool>("anyFromStart");
    const auto row = [](const char* name, const QStringList& calls, const char* start, const char* end,
                        const QStringList& reported, bool anyFromStart) {
        QTest::newRow(name) << calls << start << end << reported << anyFromStart;
    };
    const QString ann = "2026-03-10 09:30:00|555|Ann", bob = "2026-03-10 15:00:00|222|Bob";
    const QString before = "2026-03-09 10:00:00|000|Old", after = "2026-03-11 08:00:00|999|New";
    const QStringList sameSecond{"2026-03-10 12:00:00|2|Blocked", "2026-03-10 12:00:00|1|Unknown Caller"};
    row("a day's calls in ascending time", {bob, before, ann, after}, "00:00:00", "23:59:59", {ann, bob},
        true);
    row("calls exactly at the start and the end are included", {before, ann, bob, after}, "09:30:00",
        "15:00:00", {ann, bob}, true);
    row("the only call lies exactly at the start", {ann}, "09:30:00", "23:59:59", {ann}, true);
    row("two calls in the same second, in the order they came", sameSecond, "00:00:00", "23:59:59",
        sameSecond, true);
    row("a time that is no time, written by another program, is reported as it is stored",
        {"2026-03-10 12:61:00|7|Odd"}, "00:00:00", "23:59:59", {"2026-03-10 12:61:00|7|Odd"}, true);
    row("end before start: empty, and a call lies after the start", {bob}, "10:00:00", "09:00:00", {}, true);
    row("start after the last call: empty, and none after the start", {before}, "00:00:00", "23:59:59", {},
        false);
}

void tst_ReportJobs::report()
{
    QFETCH(QStringList, calls);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QStringList, reported);
    QFETCH(bool, anyFromStart);
    TestDatabase db;
    addCalls(db, calls);
    QTemporaryDir dir;
    const QString path = dir.filePath("CallLog.txt");
    ReportWriter writer(db.store.database(), path, range("2026-03-10 " + start, "2026-03-10 " + end));
    bool any = !anyFromStart;
    QString error;
    QVERIFY2(writer.start(&any, &error), qPrintable(error));
    QVERIFY(finish(writer).startsWith("ok: "));
    QCOMPARE(any, anyFromStart);
    QByteArray expected;
    for (const QString& call : reported)
        expected += reportLine(call);
    QCOMPARE(TestSupport::fileBytes(path), expected);
}

void tst_ReportJobs::reportOfManySlicesHasEachCallOnce()
{
    TestDatabase db;
    const int count = CallsJob::kRowsPerSlice + 2;
    addManyCalls(db, count, "2026-03-10 12:00:00");
    addCalls(db, {"2026-03-10 13:00:00|last|x"});
    QTemporaryDir dir;
    ReportWriter writer(db.store.database(), dir.filePath("CallLog.txt"),
                        range("2026-03-10 00:00:00", "2026-03-10 23:59:59"));
    bool any = false;
    QString error;
    QVERIFY(writer.start(&any, &error));
    QCOMPARE(finish(writer),
             QString("ok: %1 calls written to %2.").arg(count + 1).arg(dir.filePath("CallLog.txt")));
    const QList<QByteArray> lines = TestSupport::fileBytes(dir.filePath("CallLog.txt")).split('\n');
    QCOMPARE(lines.size(), count + 2); // and the empty text after the last line end
    QVERIFY(
        lines.at(CallsJob::kRowsPerSlice - 1).startsWith(QByteArray::number(CallsJob::kRowsPerSlice) + " ,"));
    QVERIFY(
        lines.at(CallsJob::kRowsPerSlice).startsWith(QByteArray::number(CallsJob::kRowsPerSlice + 1) + " ,"));
    QVERIFY(lines.at(count).startsWith("last ,"));
}

void tst_ReportJobs::reportThatFailsKeepsTheEarlierOne()
{
    TestDatabase db;
    addCalls(db, {"2026-03-10 12:00:00|1|A"});
    QTemporaryDir dir;
    const QString earlier = dir.filePath("CallLog.txt");
    TestSupport::writeFile(earlier, "the earlier report\r\n");
    ReportWriter writer(db.store.database(), earlier, range("2026-03-10 00:00:00", "2026-03-10 23:59:59"));
    bool any = false;
    QString error;
    QVERIFY(writer.start(&any, &error));
    QVERIFY(QSqlQuery(db.store.database()).exec("DROP TABLE PhoneCalls")); // the table goes mid-way
    const QString result = finish(writer);
    QVERIFY2(result.startsWith("failed: Cannot write the report " + earlier), qPrintable(result));
    QCOMPARE(TestSupport::fileBytes(earlier), QByteArray("the earlier report\r\n"));
}

void tst_ReportJobs::reportIsNotWrittenThroughALink_data()
{
    QTest::addColumn<bool>("targetExists");
    QTest::newRow("a link to another file") << true;
    QTest::newRow("a link to no file") << false;
}

void tst_ReportJobs::reportIsNotWrittenThroughALink()
{
    QFETCH(bool, targetExists);
    TestDatabase db;
    addCalls(db, {"2026-03-10 12:00:00|1|A"});
    QTemporaryDir dir;
    const QString target = dir.filePath("precious.txt");
    if (targetExists)
        TestSupport::writeFile(target, "not a report");
    const QString link = dir.filePath("CallLog.txt");
    QVERIFY(QFile::link(target, link));
    ReportWriter writer(db.store.database(), link, range("2026-03-10 00:00:00", "2026-03-10 23:59:59"));
    bool any = false;
    QString error;
    QVERIFY(!writer.start(&any, &error));
    QVERIFY2(error.startsWith("Cannot write the report " + link + ": it is a symbolic link to " + target),
             qPrintable(error));
    QCOMPARE(TestSupport::fileBytes(target), targetExists ? QByteArray("not a report") : QByteArray());
    QCOMPARE(QFile::exists(target), targetExists);
    QCOMPARE(QFileInfo(link).symLinkTarget(), target);
}

void tst_ReportJobs::clear_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("deleted");
    QTest::addColumn<QStringList>("kept");
    // Thirty days from 2026-01-01, with calls at 07:00, 12:00 and 21:00 numbered by day.
    QTest::newRow("from noon to noon two days later")
        << "2026-01-11 12:00:00"
        << "2026-01-13 12:00:00" << 7 << QStringList{"2026-01-11 07:00:00|10", "2026-01-13 21:00:00|12"};
    QTest::newRow("one whole day") << "2026-01-05 00:00:00"
                                   << "2026-01-05 23:59:59" << 3
                                   << QStringList{"2026-01-04 21:00:00|3", "2026-01-06 07:00:00|5"};
    QTest::newRow("end before start deletes nothing") << "2026-01-05 12:00:00"
                                                      << "2026-01-05 11:00:00" << 0 << QStringList{};
}

void tst_ReportJobs::clear()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, deleted);
    QFETCH(QStringList, kept);
    TestDatabase db;
    QStringList calls;
    for (int day = 0; day < 30; ++day) {
        for (const char* time : {"07:00:00", "12:00:00", "21:00:00"})
            calls << QDate(2026, 1, 1).addDays(day).toString("yyyy-MM-dd ") + time + "|"
                         + QString::number(day) + "|X";
    }
    addCalls(db, calls);
    CallsClearer clearer(db.store, range(start, end));
    QString error;
    QCOMPARE(clearer.count(&error), deleted);
    QVERIFY(clearer.start(&error));
    QCOMPARE(finish(clearer), QString("ok: %1 calls deleted.").arg(deleted));
    const QStringList left = TestSupport::readRows(db.path(), "SELECT datetime, number FROM PhoneCalls");
    QCOMPARE(left.size(), 90 - deleted);
    for (const QString& call : kept)
        QVERIFY2(left.contains(call), qPrintable(call));
}

void tst_ReportJobs::clearingRollsBackOnlyItsOwnDeletions()
{
    TestDatabase db;
    db.addPhoneListEntries({"Ann|111|1"});
    addManyCalls(db, CallsJob::kRowsPerSlice * 2, "2026-03-10 12:00:00");
    {
        CallsClearer clearer(db.store, range("2026-03-10 00:00:00", "2026-03-10 23:59:59"));
        QString error;
        QVERIFY(clearer.start(&error));
        QTRY_VERIFY(clearer.done() > 0);
        // Meanwhile a call comes in, and the phone list is edited.
        QString number = "5551234", name;
        QCOMPARE(db.store.logCall(number, name).name, QStringLiteral("Unknown Caller"));
        QVERIFY(!PhoneList(db.store).AddPhoneListEntry("Bob", "222", false, &error));
        QVERIFY2(error.contains("calls are being deleted"), qPrintable(error));
    } // the window closed mid-way: the deletion is rolled back
    QCOMPARE(db.store.unsavedCount(), 0);
    QCOMPARE(TestSupport::readRows(db.path(), "SELECT count(*) FROM PhoneCalls"),
             QStringList{QString::number(CallsJob::kRowsPerSlice * 2 + 1)});
    QCOMPARE(TestSupport::readRows(db.path(), "SELECT Name FROM UsersList"), QStringList{"Ann"});
}

void tst_ReportJobs::clearingThatFailsDeletesNothing_data()
{
    QTest::addColumn<bool>("replaced"); // else another program holds the database
    QTest::addColumn<QString>("reason");
    QTest::newRow("a locked database") << false << "No call was deleted";
    QTest::newRow("the file replaced by another") << true << "not a Nimbrel database";
}

void tst_ReportJobs::clearingThatFailsDeletesNothing()
{
    QFETCH(bool, replaced);
    QFETCH(QString, reason);
    TestDatabase db;
    addCalls(db, {"2026-03-10 12:00:00|1|A", "2026-03-10 13:00:00|2|B"});
    std::optional<TestSupport::DatabaseLock> lock;
    if (replaced) {
        TestSupport::writeFile(db.path() + ".other", "hello\n");
        QVERIFY(::rename(qPrintable(db.path() + ".other"), qPrintable(db.path())) == 0);
    } else {
        lock.emplace(db.path());
    }
    CallsClearer clearer(db.store, range("2026-03-10 00:00:00", "2026-03-10 23:59:59"));
    QString error;
    const QString result = clearer.start(&error) ? finish(clearer) : "failed: " + error;
    lock.reset();
    QVERIFY2(result.startsWith("failed: ") && result.contains(reason), qPrintable(result));
    QSqlQuery count(db.store.database()); // the calls as Nimbrel has them
    QVERIFY(count.exec("SELECT count(*) FROM PhoneCalls") && count.next());
    QCOMPARE(count.value(0).toInt(), 2);
}

QTEST_GUILESS_MAIN(tst_ReportJobs)
#include "tst_reportjobs.moc"
