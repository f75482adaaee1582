#include "Autostart.h"
#include "TestSupport.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The Exec line of the autostart entry, as a desktop reads it back: the executable, whatever its path
// holds, then --autostart.
class tst_Autostart : public QObject
{
    Q_OBJECT
private slots:
    void execNamesTheProgram_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QString>("exec");
        QTest::newRow("a plain path") << "/usr/lib/nimbrel/nimbrel"
                                      << "/usr/lib/nimbrel/nimbrel";
        QTest::newRow("a space is quoted") << "/home/ann/my apps/nimbrel"
                                           << "\"/home/ann/my apps/nimbrel\"";
        QTest::newRow("quote, dollar, backquote and backslash escaped inside quotes")
            << "/opt/a\"b$c`d\\e/nimbrel"
            << "\"/opt/a\\\\\"b\\\\$c\\\\`d\\\\\\\\e/nimbrel\"";
        QTest::newRow("a percent is not a field code") << "/opt/100%/nimbrel"
                                                       << "/opt/100%%/nimbrel";
    }
    void execNamesTheProgram()
    {
        QFETCH(QString, executable);
        QFETCH(QString, exec);
        QTemporaryDir dir;
        const Autostart autostart(dir.filePath("config/autostart/nimbrel.desktop"), executable);
        QString error;
        QVERIFY(!autostart.isOn());
        QVERIFY2(autostart.setOn(true, &error), qPrintable(error));
        QVERIFY(autostart.isOn());
        const QStringList lines =
            QString::fromUtf8(TestSupport::fileBytes(autostart.entryFile())).split('\n');
        QVERIFY2(lines.contains("Exec=" + exec + " --autostart"), qPrintable(lines.join('|')));
        QVERIFY(autostart.setOn(false, &error));
        QVERIFY(!QFile::exists(autostart.entryFile()));
        QVERIFY(autostart.setOn(false, &error)); // already off
    }
};

QTEST_GUILESS_MAIN(tst_Autostart)
#include "tst_autostart.moc"
