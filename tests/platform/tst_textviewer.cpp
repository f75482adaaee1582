#include "TextViewer.h"

#include <QTest>

// A desktop with nothing to open text files with: the report's path and what to do are said, not lost.
class tst_TextViewer : public QObject
{
    Q_OBJECT
private slots:
    void noViewerIsSaid()
    {
        qputenv("PATH", "/nonexistent"); // no xdg-open, nor any browser to fall back on
        qunsetenv("BROWSER");
        qunsetenv("DEFAULT_BROWSER");
        QString error;
        QVERIFY(!DesktopTextViewer().open("/tmp/CallLog.txt", &error));
        QVERIFY2(error.startsWith("The report was written to /tmp/CallLog.txt, but no program"),
                 qPrintable(error));
    }
};

QTEST_MAIN(tst_TextViewer)
#include "tst_textviewer.moc"
