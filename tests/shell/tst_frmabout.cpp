#include "ButtonLabel.h"
#include "FakeDevices.h"
#include "MessageBox.h"
#include "SkinStore.h"
#include "TestSupport.h"
#include "frmAbout.h"

#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>

class tst_frmAbout : public QObject
{
    Q_OBJECT
private slots:
    void namesTheProgramAndItsFiles();
    void helpOpensTheGuide_data();
    void helpOpensTheGuide();
    void desktopViewerIsStartedWithTheFile();
};

void tst_frmAbout::namesTheProgramAndItsFiles()
{
    SkinStore skins;
    FakeHelpViewer viewer;
    frmAbout about(skins, viewer,
                   {"/opt/nimbrel", "/home/ann/.local/share/Nimbrel/callerid.mdb",
                    "/home/ann/.config/Nimbrel/Nimbrel.conf"});
    about.Form_Load();
    QCOMPARE(about.lblApplication->text(), QString("Application Name: Nimbrel - Version " NIMBREL_VERSION));
    QVERIFY(about.lblFiles->text().contains("Calls: /home/ann/.local/share/Nimbrel/callerid.mdb"));
    QVERIFY(about.lblFiles->text().contains("Settings: /home/ann/.config/Nimbrel/Nimbrel.conf"));
}

void tst_frmAbout::helpOpensTheGuide_data()
{
    QTest::addColumn<bool>("hasChm");
    QTest::addColumn<bool>("hasHtml");
    QTest::addColumn<bool>("viewerWorks");
    QTest::addColumn<QString>("shown"); // "viewer", "window" or "message"
    QTest::newRow("CHM in the desktop's viewer") << true << true << true << "viewer";
    QTest::newRow("no CHM viewer: the HTML guide") << true << true << false << "window";
    QTest::newRow("no CHM: the HTML guide") << false << true << true << "window";
    QTest::newRow("no help at all: a message") << false << false << true << "message";
}

void tst_frmAbout::helpOpensTheGuide()
{
    QFETCH(bool, hasChm);
    QFETCH(bool, hasHtml);
    QFETCH(bool, viewerWorks);
    QFETCH(QString, shown);
    QTemporaryDir dir;
    if (hasChm)
        TestSupport::writeFile(dir.filePath("NIMBREL.CHM"), "ITSF");
    if (hasHtml)
        TestSupport::writeFile(dir.filePath("help/index.html"),
                               "<html><head><title>Guide</title></head><body>Monitoring</body></html>");
    QStringList messages;
    MessageBox::setSink([&](const QString& text, MessageBox::Icon) {
        messages << text;
        return true;
    });
    SkinStore skins;
    FakeHelpViewer viewer;
    viewer.works = viewerWorks;
    frmAbout about(skins, viewer, {dir.path(), "calls", "settings"});
    about.Form_Load();
    about.show();
    // The right button gives no pressed look but still opens help on release; each release asks again.
    for (int i = 0; i < 2; ++i) {
        QTest::mousePress(about.lblHelp, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        QTest::mouseRelease(about.lblHelp, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    }
    MessageBox::setSink({});

    QVERIFY(about.isVisible());
    QCOMPARE(viewer.opened.size(), shown == "viewer" ? 2 : hasChm ? 2 : 0);
    if (hasChm)
        QCOMPARE(viewer.opened.first(), dir.filePath("NIMBREL.CHM"));
    QCOMPARE(about.helpWindow() && about.helpWindow()->isVisible(), shown == "window");
    if (shown == "window")
        QCOMPARE(about.helpWindow()->documentTitle(), QString("Guide"));
    QCOMPARE(messages.size(), shown == "message" ? 2 : 0);
    if (shown == "message")
        QVERIFY2(messages.first().contains(dir.filePath("NIMBREL.CHM")), qPrintable(messages.first()));
}

void tst_frmAbout::desktopViewerIsStartedWithTheFile()
{
    QTemporaryDir dir;
    const QString argumentsFile = dir.filePath("arguments");
    TestSupport::writeFile(dir.filePath("bin/kchmviewer"),
                           "#!/bin/sh\necho \"$@\" > '" + argumentsFile.toUtf8() + "'\n");
    QFile::setPermissions(dir.filePath("bin/kchmviewer"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    DesktopHelpViewer viewer;
    qputenv("PATH", dir.filePath("empty").toUtf8());
    QVERIFY(!viewer.open("/opt/nimbrel/NIMBREL.CHM"));
    qputenv("PATH", dir.filePath("bin").toUtf8());
    QVERIFY(viewer.open("/opt/nimbrel/NIMBREL.CHM"));
    qputenv("PATH", path);
    QTRY_COMPARE(TestSupport::fileBytes(argumentsFile), QByteArray("/opt/nimbrel/NIMBREL.CHM\n"));
}

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
