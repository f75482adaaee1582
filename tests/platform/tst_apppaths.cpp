#include "AppPaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Where the call database goes: beside the program when its folder can be written and is not an installed
// one, else in the user's data folder, with a word the first time a database beside the program is passed
// over.
class tst_AppPaths : public QObject
{
    Q_OBJECT
private slots:
    void dataFolder_data()
    {
        QTest::addColumn<bool>("writable");
        QTest::addColumn<bool>("databaseBeside");
        QTest::addColumn<bool>("databaseOwn");
        QTest::addColumn<QString>("program"); // empty: a folder of the test's
        QTest::addColumn<QString>("folder");  // "program" or "user"
        QTest::addColumn<bool>("notice");
        QTest::newRow("a writable program folder")
            << true << true << false << QString() << "program" << false;
        QTest::newRow("installed, first start") << false << false << false << QString() << "user" << false;
        QTest::newRow("installed, run by root") << true << false << false << "/usr/lib/nimbrel"
                                                << "user" << false;
        QTest::newRow("a database beside is passed over, and said")
            << false << true << false << QString() << "user" << true;
        QTest::newRow("said only once") << false << true << true << QString() << "user" << false;
    }
    void dataFolder()
    {
        QFETCH(bool, writable);
        QFETCH(bool, databaseBeside);
        QFETCH(bool, databaseOwn);
        QFETCH(QString, program);
        QFETCH(QString, folder);
        QFETCH(bool, notice);
        QTemporaryDir dir;
        const QDir root(dir.path());
        root.mkpath("program");
        root.mkpath("user/Nimbrel");
        if (databaseBeside)
            QFile(root.filePath("program/callerid.mdb")).open(QIODevice::WriteOnly);
        if (databaseOwn)
            QFile(root.filePath("user/Nimbrel/callerid.mdb")).open(QIODevice::WriteOnly);
        if (program.isEmpty())
            program = root.filePath("program");
        const AppPaths paths = AppPaths::choose(program, writable, root.filePath("user/Nimbrel"));
        QCOMPARE(paths.dataPath(), folder == "program" ? program : root.filePath("user/Nimbrel"));
        QCOMPARE(paths.appPath(), program);
        QCOMPARE(!paths.notice().isEmpty(), notice);
        if (notice)
            QVERIFY2(paths.notice().startsWith("Calls are kept in "
                                               + root.filePath("user/Nimbrel/callerid.mdb") + ", not in "
                                               + root.filePath("program/callerid.mdb")),
                     qPrintable(paths.notice()));
    }
};

QTEST_GUILESS_MAIN(tst_AppPaths)
#include "tst_apppaths.moc"
