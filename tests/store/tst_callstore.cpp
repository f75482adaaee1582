#include "CallSchema.h"
#include "CallStore.h"
#include "DateTimeText.h"
#include "FakeClock.h"
#include "TestDatabase.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

using TestSupport::readRows;

class tst_CallStore : public QObject
{
    Q_OBJECT
private slots:
    void firstRunCreatesTheFileAndTheNextKeepsItsCalls_data();
    void firstRunCreatesTheFileAndTheNextKeepsItsCalls();
    void existingFiles_data();
    void existingFiles();
    void anEarlierDatabaseGainsTheLookupIndex();
    void unwritableFolderIsNamed();
    void dateAndTimeAsTheLocaleWritesThem_data();
    void dateAndTimeAsTheLocaleWritesThem();
    void identifiersFollowTheLastRow();
    void refusedWritesKeepCallsUntilAccepted_data();
    void refusedWritesKeepCallsUntilAccepted();
    void callsOwedAtTheEndAreKept_data();
    void callsOwedAtTheEndAreKept();
    void callsThatCannotBeKeptAreSaidToBeLost_data();
    void callsThatCannotBeKeptAreSaidToBeLost();
    void aDamagedSideFileLosesNoCall();
    void killAtAnyMomentLosesNoShownCall();
};

void tst_CallStore::firstRunCreatesTheFileAndTheNextKeepsItsCalls_data()
{
    QTest::addColumn<QString>("leftBehind");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("a first run that was killed") << ".callerid.mdb.creating" << QByteArray("half a database");
    QTest::newRow("an empty file becomes the database") << "callerid.mdb" << QByteArray();
}

void tst_CallStore::firstRunCreatesTheFileAndTheNextKeepsItsCalls()
{
    QFETCH(QString, leftBehind);
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    const QString path = dir.filePath("callerid.mdb");
    const QString interrupted = dir.filePath(".callerid.mdb.creating");
    TestSupport::writeFile(dir.filePath(leftBehind), content);
    FakeClock clock;
    QString error;
    {
        CallStore store(clock);
        QVERIFY2(store.openCallDatabase(path, &error), qPrintable(error));
        QCOMPARE(
            readRows(path, "SELECT type, name, tbl_name FROM sqlite_master ORDER BY type, name"),
            QStringList({"index|DateTime|PhoneCalls", "index|UsersListNumber|UsersList", "index|id|UsersList",
                         "table|PhoneCalls|PhoneCalls", "table|UsersList|UsersList"}));
        QCOMPARE(readRows(path, "SELECT name, type FROM pragma_table_info('PhoneCalls')"),
                 QStringList({"id|INTEGER", "datetime|TEXT", "number|VARCHAR(20)", "name|VARCHAR(30)"}));
        QCOMPARE(readRows(path, "SELECT name, type FROM pragma_table_info('UsersList')"),
                 QStringList({"id|INTEGER", "Name|VARCHAR(30)", "number|VARCHAR(20)", "sound|BOOLEAN"}));
        QCOMPARE(readRows(path, "PRAGMA journal_mode"), QStringList{"wal"});
        QVERIFY(!QFile::exists(interrupted));
        QString number = "5551234", name = "Ann";
        store.logCall(number, name);
        QSignalSpy closed(&store, &CallStore::closed);
        store.closeCallDatabase();
        QCOMPARE(closed.count(), 1); // nothing owed: closed at once, and only once
        clock.advance(CallStore::kClosingBoundMs);
        QCOMPARE(closed, QList<QVariantList>{{QString()}});
    }
    CallStore store(clock);
    QVERIFY2(store.openCallDatabase(path, &error), qPrintable(error));
    QString number, name;
    store.logCall(number, name);
    QCOMPARE(
        readRows(path, "SELECT id, datetime, number, name FROM PhoneCalls"),
        QStringList({"1|2026-12-07 09:30:00|5551234|Ann", "2|2026-12-07 09:30:05|No Number|Unknown Caller"}));
}

void tst_CallStore::existingFiles_data()
{
    QTest::addColumn<QByteArray>("content"); // the file's bytes, the statements that made it, or "folder"
    QTest::addColumn<QString>("refusal");    // what the message must say, in parts separated by |
    const QByteArray phoneCalls =
        "CREATE TABLE PhoneCalls (id INTEGER, datetime TEXT, number TEXT, name TEXT)";
    QTest::newRow("an Access file from another program")
        << QByteArray("\0\1\0\0Standard Jet DB\0", 20) + QByteArray(4000, 'j') << "not a Nimbrel database";
    QTest::newRow("a text file") << QByteArray("hello\n") << "not a Nimbrel database";
    QTest::newRow("a folder") << QByteArray("folder") << "not a Nimbrel database";
    QTest::newRow("a damaged SQLite file") << QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\xff')
                                           << "left as it is. If it is damaged, restore it from a backup";
    QTest::newRow("a missing table is created") << phoneCalls << "";
    QTest::newRow("a table without a field is refused")
        << QByteArray("CREATE TABLE PhoneCalls (id INTEGER, datetime TEXT, number TEXT)")
        << "its table PhoneCalls has no field name";
    QTest::newRow("a table where an index should be is refused") << phoneCalls + ";CREATE TABLE DateTime (x)"
                                                                 << "already a table named DateTime";
    QTest::newRow("another program's database is refused")
        << QByteArray("CREATE TABLE Contacts (id INTEGER, name TEXT)")
        << "neither a PhoneCalls nor a UsersList|Rename or move it, then start Nimbrel again";
}

void tst_CallStore::existingFiles()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, refusal);
    QTemporaryDir dir;
    const QString path = dir.filePath("callerid.mdb");
    if (content.startsWith("CREATE")) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "setup");
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QSqlQuery query(db);
            for (const QByteArray& statement : content.split(';'))
                QVERIFY(query.exec(QString::fromLatin1(statement)));
            if (content.startsWith("CREATE TABLE PhoneCalls"))
                QVERIFY(query.exec("INSERT INTO PhoneCalls (id, number) VALUES (7, '111')"));
        }
        QSqlDatabase::removeDatabase("setup");
    } else if (content == "folder") {
        QVERIFY(QDir().mkdir(path));
    } else {
        TestSupport::writeFile(path, content);
    }
    const QByteArray before = TestSupport::fileBytes(path);
    FakeClock clock;
    CallStore store(clock);
    QString error;
    QCOMPARE(store.openCallDatabase(path, &error), refusal.isEmpty());
    if (!refusal.isEmpty()) { // a refused file is not touched, its journal mode included
        for (const QString& part : refusal.split('|') + QStringList{path, "left as it is"})
            QVERIFY2(error.contains(part), qPrintable(error));
        QCOMPARE(TestSupport::fileBytes(path), before);
        return;
    }
    QCOMPARE(readRows(path, "SELECT count(*) FROM sqlite_master WHERE type = 'index'"), QStringList{"3"});
    QString number = "222", name;
    store.logCall(number, name);
    QCOMPARE(readRows(path, "SELECT id, number FROM PhoneCalls"), QStringList({"7|111", "8|222"}));
}

void tst_CallStore::anEarlierDatabaseGainsTheLookupIndex()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("callerid.mdb");
    FakeClock clock;
    QString error;
    {
        CallStore earlier(clock);
        QVERIFY2(earlier.openCallDatabase(path, &error), qPrintable(error));
        QString number = "111", name;
        earlier.logCall(number, name);
        QVERIFY(
            QSqlQuery(earlier.database()).exec("DROP INDEX UsersListNumber")); // as versions before made it
        earlier.closeCallDatabase();
    }
    const QString index = "SELECT name FROM sqlite_master WHERE name = 'UsersListNumber'";
    CallStore store(clock);
    {
        TestSupport::DatabaseLock lock(path); // another program writes just then: tried at the next start
        QVERIFY(!store.openCallDatabase(path, &error));
        QVERIFY2(error.contains("locked") && error.contains("left as it is"), qPrintable(error));
    }
    QCOMPARE(readRows(path, index), QStringList());
    QVERIFY2(store.openCallDatabase(path, &error), qPrintable(error));
    QCOMPARE(readRows(path, index), QStringList{"UsersListNumber"});
    QCOMPARE(readRows(path, "SELECT id, number FROM PhoneCalls"), QStringList{"1|111"});
}

void tst_CallStore::unwritableFolderIsNamed()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("not-a-folder");
    TestSupport::writeFile(folder, {});
    FakeClock clock;
    CallStore store(clock);
    QString error;
    QVERIFY(!store.openCallDatabase(folder + "/callerid.mdb", &error));
    QVERIFY2(error.contains(folder + " cannot be written"), qPrintable(error));
}

void tst_CallStore::dateAndTimeAsTheLocaleWritesThem_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QTime>("time");
    QTest::addColumn<QString>("text"); // after the locale's short date
    QTest::newRow("24 hours with two digits") << "de_DE" << QTime(9, 5, 7) << "09:05:07";
    QTest::newRow("24 hours, one digit before ten") << "cs_CZ" << QTime(9, 5, 7) << "9:05:07";
    QTest::newRow("24 hours, two digits from ten") << "cs_CZ" << QTime(10, 5, 7) << "10:05:07";
    QTest::newRow("no empty brackets where the zone was") << "es_ES" << QTime(10, 5, 7) << "10:05:07";
    QTest::newRow("12 hours") << "en_US" << QTime(22, 5, 7) << "10:05:07 PM";
}

void tst_CallStore::dateAndTimeAsTheLocaleWritesThem()
{
    QFETCH(QString, locale);
    QFETCH(QTime, time);
    QFETCH(QString, text);
    const QLocale previous;
    QLocale::setDefault(QLocale(locale));
    const QDate date(2026, 12, 7);
    const QString shown = DateTimeText()(date, time);
    QLocale::setDefault(previous);
    QCOMPARE(shown, QLocale(locale).toString(date, QLocale::ShortFormat) + " " + text);
}

void tst_CallStore::identifiersFollowTheLastRow()
{
    TestDatabase db;
    for (int i = 0; i < 3; ++i) {
        QString number = QString::number(i), name;
        db.store.logCall(number, name);
    }
    QSqlQuery(QSqlDatabase::database(db.store.connectionName())).exec("DELETE FROM PhoneCalls WHERE id >= 2");
    QString number = "9", name;
    db.store.logCall(number, name);
    QCOMPARE(readRows(db.path(), "SELECT id, number FROM PhoneCalls ORDER BY rowid"),
             QStringList({"1|0", "2|9"}));
}

void tst_CallStore::refusedWritesKeepCallsUntilAccepted_data()
{
    QTest::addColumn<bool>("diskFull"); // else another program holds the database
    QTest::addColumn<QString>("reason");
    QTest::newRow("a locked database") << false << "locked";
    QTest::newRow("a full disk") << true << "full";
}

void tst_CallStore::refusedWritesKeepCallsUntilAccepted()
{
    QFETCH(bool, diskFull);
    QFETCH(QString, reason);
    TestDatabase db;
    QSqlQuery pragma(QSqlDatabase::database(db.store.connectionName()));
    QVERIFY(pragma.exec("PRAGMA page_count") && pragma.next());
    const int pages = pragma.value(0).toInt();
    std::optional<TestSupport::DatabaseLock> lock;
    if (diskFull)
        QVERIFY(pragma.exec(QString("PRAGMA max_page_count = %1").arg(pages)));
    else
        lock.emplace(db.path());
    QSignalSpy failed(&db.store, &CallStore::storeFailed);
    QSignalSpy recovered(&db.store, &CallStore::storeRecovered);
    const int calls = diskFull ? 200 : 2;
    for (int i = 0; i < calls; ++i) {
        QString number = QString::number(i), name = QString(30, 'x');
        QCOMPARE(db.store.logCall(number, name).name, name); // shown as it came
    }
    QCOMPARE(failed.count(), 1);
    const QString said = failed.first().first().toString();
    QVERIFY2(said.contains(db.path()) && said.contains(reason), qPrintable(said));
    const int owed = db.store.unsavedCount();
    QVERIFY(owed > 0 && owed <= calls);
    db.clock.advance(3000); // tried again, and refused again without a second message
    QCOMPARE(db.store.unsavedCount(), owed);
    QCOMPARE(failed.count(), 1);

    lock.reset();
    QVERIFY(pragma.exec("PRAGMA max_page_count = 100000"));
    db.clock.advance(3000);
    QCOMPARE(db.store.unsavedCount(), 0);
    QCOMPARE(recovered.count(), 1);
    QCOMPARE(readRows(db.path(), "SELECT count(*), min(id), max(id), min(number) FROM PhoneCalls"),
             QStringList{QString("%1|1|%1|0").arg(calls)});
    QString number = "5551234", name;
    db.store.logCall(number, name);
    QCOMPARE(db.store.unsavedCount(), 0); // the next call is written at once again, not held
}

void tst_CallStore::callsOwedAtTheEndAreKept_data()
{
    QTest::addColumn<int>("lockedForMs"); // after the close begins; -1: until the next start
    QTest::addColumn<QString>("problem");
    QTest::newRow("written while the close waits") << 1200 << "";
    QTest::newRow("kept in the side file, added at the next start")
        << -1 << "Nimbrel could not write 3 call(s) to ";
    QTest::newRow("still locked at the next start: kept for the one after")
        << -2 << "Nimbrel could not write 3 call(s) to ";
}

void tst_CallStore::callsOwedAtTheEndAreKept()
{
    QFETCH(int, lockedForMs);
    QFETCH(QString, problem);
    TestDatabase db;
    QString number = "111", name = "Ann";
    const LoggedCall first = db.store.logCall(number, name);
    TestSupport::DatabaseLock lock(db.path());
    db.store.updateLastCall({first.dateTime, "111", "Ann\tSmith 100%"}); // a late name for a written row
    for (const char* received : {"222", "333"}) {
        QString owed = QString::fromLatin1(received), noName;
        db.store.logCall(owed, noName);
    }
    QCOMPARE(db.store.unsavedCount(), 3);

    QSignalSpy closed(&db.store, &CallStore::closed);
    db.store.closeCallDatabase();
    QCOMPARE(closed.count(), 0); // waiting for the lock
    const int waited = lockedForMs < 0 ? CallStore::kClosingBoundMs : lockedForMs;
    db.clock.advance(waited - 1);
    if (lockedForMs >= 0)
        lock.release();
    db.clock.advance(CallStore::kClosingRetryMs);
    QCOMPARE(closed.count(), 1);
    const QString said = closed.first().first().toString();
    QVERIFY2(problem.isEmpty() ? said.isEmpty() : said.startsWith(problem + db.path()), qPrintable(said));
    QVERIFY(!db.store.isOpen());
    const QString sideFile = db.path() + ".unsaved";
    QCOMPARE(QFile::exists(sideFile), lockedForMs < 0);
    QVERIFY2(said.contains("they are kept in " + sideFile) == (lockedForMs < 0), qPrintable(said));
    if (lockedForMs == -2) {
        CallStore stillLocked(db.clock);
        QSignalSpy failed(&stillLocked, &CallStore::storeFailed);
        QString error;
        QVERIFY2(stillLocked.openCallDatabase(db.path(), &error), qPrintable(error));
        QCOMPARE(failed.count(), 1);
        QVERIFY2(failed.first().first().toString().startsWith("Cannot add the 3 calls kept in " + sideFile),
                 qPrintable(failed.first().first().toString()));
        QVERIFY(QFile::exists(sideFile));
    }
    lock.release();

    CallStore next(db.clock);
    QString error;
    QVERIFY2(next.openCallDatabase(db.path(), &error), qPrintable(error));
    QVERIFY(!QFile::exists(sideFile));
    QCOMPARE(db.calls(),
             QStringList({"1|111|Ann\tSmith 100%", "2|222|Unknown Caller", "3|333|Unknown Caller"}));
    QCOMPARE(readRows(db.path(), "SELECT DISTINCT datetime FROM PhoneCalls"),
             QStringList{first.dateTime.toString(CallSchema::kDateTimeFormat)});
}

void tst_CallStore::callsThatCannotBeKeptAreSaidToBeLost_data()
{
    QTest::addColumn<QString>("sideFileTarget");
    QTest::newRow("a disk with no room left") << "/dev/full";
    QTest::newRow("a side file that cannot be opened") << "/"; // a folder, refused even to root
}

void tst_CallStore::callsThatCannotBeKeptAreSaidToBeLost()
{
    QFETCH(QString, sideFileTarget);
    TestDatabase db;
    const QString sideFile = db.path() + ".unsaved";
    QVERIFY(QFile::link(sideFileTarget, sideFile));
    TestSupport::DatabaseLock lock(db.path());
    QString number = "111", name;
    db.store.logCall(number, name);
    QSignalSpy closed(&db.store, &CallStore::closed);
    db.store.closeCallDatabase();
    db.clock.advance(CallStore::kClosingBoundMs);
    QCOMPARE(closed.count(), 1);
    const QString said = closed.first().first().toString();
    QVERIFY2(said.contains(", nor to " + sideFile) && said.endsWith("they are lost."), qPrintable(said));
    QVERIFY(QFile::remove(sideFile));
}

void tst_CallStore::aDamagedSideFileLosesNoCall()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("callerid.mdb");
    const QString sideFile = path + ".unsaved";
    const QByteArray kept = "# edited by hand\n"
                            "2026-12-07 09:30:00\t5551234\tAnn%20Smith\t0\n"
                            "2026-12-07 09:31:00\t5550100\tno row field\n"
                            "2026-12-07 25:00:00\t5550101\tno such time\t0\n"
                            "2026-12-07 09:32:00\t5550102\tno such row\t-1\n";
    TestSupport::writeFile(sideFile, kept);
    FakeClock clock;
    CallStore store(clock);
    QSignalSpy failed(&store, &CallStore::storeFailed);
    QString error;
    QVERIFY2(store.openCallDatabase(path, &error), qPrintable(error));
    QCOMPARE(readRows(path, "SELECT id, number, name FROM PhoneCalls"), QStringList{"1|5551234|Ann Smith"});
    QCOMPARE(failed.count(), 1);
    const QString said = failed.first().first().toString();
    QVERIFY2(said.startsWith("1 calls kept from an earlier run were added to " + path + ", but 3 lines of "
                             + sideFile + " are not calls; the file is kept as " + sideFile + ".unreadable"),
             qPrintable(said));
    QVERIFY(!QFile::exists(sideFile));
    QCOMPARE(TestSupport::fileBytes(sideFile + ".unreadable"), kept);
}

void tst_CallStore::killAtAnyMomentLosesNoShownCall()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("callerid.mdb");
    for (int round = 0; round < 3; ++round) {
        QProcess writer;
        writer.start(QCoreApplication::applicationDirPath() + "/callstore_writer", {path});
        QVERIFY(writer.waitForStarted());
        QByteArray shown;
        while (shown.count('\n') < 50 * (round + 1) && writer.waitForReadyRead(5000))
            shown += writer.readAllStandardOutput();
        ::kill(pid_t(writer.processId()), SIGKILL);
        writer.waitForFinished();
        shown += writer.readAllStandardOutput();
        const QList<QByteArray> ids = shown.trimmed().split('\n');
        QVERIFY(ids.size() >= 50);
        QCOMPARE(readRows(path, "PRAGMA integrity_check"), QStringList{"ok"});
        const QStringList stored = readRows(path, "SELECT id FROM PhoneCalls ORDER BY rowid");
        for (const QByteArray& id : ids)
            QVERIFY2(stored.contains(QString::fromLatin1(id)), id.constData());
    }
}

QTEST_GUILESS_MAIN(tst_CallStore)
#include "tst_callstore.moc"
