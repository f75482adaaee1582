#include "ScenarioPlayer.h"
#include "TestProgram.h"
#include "TestSupport.h"

#include <QDir>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

class tst_EndToEnd : public QObject
{
    Q_OBJECT
private slots:
    void callsFromTheModemBecomeRows_data();
    void callsFromTheModemBecomeRows();
    void databaseFailureWhileLoggingLosesNoCall();
    void anEndAskedForTwiceWaitsForTheDatabaseOnce();
};

void tst_EndToEnd::callsFromTheModemBecomeRows_data()
{
    // Each shipped scenario, one per dialect and line form, names the rows it must give.
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("rows");
    const QDir folder(QStringLiteral(NIMBREL_SCENARIOS_DIR));
    for (const QString& name : folder.entryList({"*.txt"})) {
        QFile file(folder.filePath(name));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString script = QString::fromUtf8(file.readAll());
        QStringList rows;
        for (const QString& line : script.split('\n')) {
            if (line.startsWith("# expect: ") && line != "# expect: no call")
                rows << line.mid(10);
        }
        QVERIFY2(script.contains("# expect: "), qPrintable(name));
        QTest::newRow(qPrintable(name)) << script << rows;
    }
}

void tst_EndToEnd::callsFromTheModemBecomeRows()
{
    QFETCH(QString, script);
    QFETCH(QStringList, rows);
    TestProgram program;
    program.load();
    program.startMonitoring();
    QString error;
    const QList<ScenarioPlayer::Step> steps = ScenarioPlayer::parse(script, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    program.playScenario(steps);
    QCOMPARE(program.gridRows(), rows);
    QStringList expected;
    for (int i = 0; i < rows.size(); ++i)
        expected << QString::number(i + 1) + "|" + rows.at(i);
    QCOMPARE(program.calls(), expected);
}

void tst_EndToEnd::databaseFailureWhileLoggingLosesNoCall()
{
    TestProgram program;
    program.load();
    program.startMonitoring();
    {
        TestSupport::DatabaseLock lock(program.databasePath());
        program.play("RING\nNMBR=111\nRING\nwait\nRING\nNMBR=222\nNAME=LATE NAME");
        QCOMPARE(program.gridRows(), QStringList({"111|Unknown Caller", "222|LATE NAME"}));
        QCOMPARE(program.messages.size(), 1);
        QVERIFY2(program.messages.first().contains(program.databasePath()),
                 qPrintable(program.messages.first()));
        QVERIFY(program.window->lblStatus->text().contains("not being saved"));
    }
    program.clock.advance(3000);
    QCOMPARE(program.calls(), QStringList({"1|111|Unknown Caller", "2|222|LATE NAME"}));
    QVERIFY(program.window->lblStatus->text().contains("accepts calls again"));
}

// A logout while the window still waits for a locked database to take its last call asks for the end
// again: the wait does not start over.
void tst_EndToEnd::anEndAskedForTwiceWaitsForTheDatabaseOnce()
{
    TestProgram program;
    program.load();
    program.startMonitoring();
    TestSupport::DatabaseLock lock(program.databasePath());
    program.play("RING\nNMBR=111");
    QSignalSpy unloaded(program.window.get(), &frmLineInfo::unloaded);
    program.window->Form_Unload();
    program.clock.advance(CallStore::kClosingBoundMs - 1000);
    program.window->Form_Unload();
    program.clock.advance(1000);
    QCOMPARE(unloaded.size(), 1);
    QVERIFY2(unloaded.first().first().toString().contains(".unsaved"),
             qPrintable(unloaded.first().first().toString()));
}

QTEST_MAIN(tst_EndToEnd)
#include "tst_endtoend.moc"
