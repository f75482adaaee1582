#include "TestSupport.h"
#include "TextViewer.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The report opens in the desktop's program for text files; without one, its path and what to do are said,
// not lost.
class tst_TextViewer : public QObject
{
    Q_OBJECT
private slots:
    void reportIsOpenedOrItsPathSaid()
    {
        QTemporaryDir bin;
        qputenv("PATH", QFile::encodeName(bin.path())); // no xdg-open, nor any browser to fall back on
        qunsetenv("BROWSER");
        qunsetenv("DEFAULT_BROWSER");
        QString error;
        QVERIFY(!DesktopTextViewer().open("/tmp/CallLog.txt", &error));
        QVERIFY2(error.startsWith("The report was written to /tmp/CallLog.txt, but no program"),
                 qPrintable(error));

        // Qt keeps the opener it finds, so the one that works comes second.
        const QString opener = bin.filePath("xdg-open");
        TestSupport::writeFile(opener, "#!/bin/sh\necho \"$1\" > \"$0.url\"\n");
        QFile::setPermissions(opener, QFile::ReadOwner | QFile::ExeOwner);
        error.clear();
        QVERIFY(DesktopTextViewer().open("/tmp/CallLog.txt", &error));
        QCOMPARE(error, QString());
        QTRY_COMPARE(TestSupport::fileBytes(opener + ".url"), QByteArray("file:///tmp/CallLog.txt\n"));
    }
};

QTEST_MAIN(tst_TextViewer)
#include "tst_textviewer.moc"
