#include "Announcement.h"
#include "ButtonLabel.h"
#include "TestDatabase.h"
#include "TestProgram.h"
#include "TestSupport.h"
#include "frmSplash.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

class tst_frmSplash : public QObject
{
    Q_OBJECT
private slots:
    void announcement_data();
    void announcement();
    void eachCallLoadsThePopUpOnce_data();
    void eachCallLoadsThePopUpOnce();
    void closedByItsBoxOrTheRingTimer();
    void longTextsAreCutWithTheWholeInATooltip();
    void popUpStaysOnTopWithoutTakingTheFocus();
};

void tst_frmSplash::announcement_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("said");
    for (const char* alone : {"Unknown Caller", "Blocked", "Unavailable", "No Number"})
        QTest::newRow(alone) << alone << alone;
    for (const char* name : {"Ann", "blocked"}) // another case is a name
        QTest::newRow(name) << name << QString(name) + " is calling";
}

void tst_frmSplash::announcement()
{
    QFETCH(QString, name);
    QFETCH(QString, said);
    QCOMPARE(announcementFor(name), said);
}

void tst_frmSplash::eachCallLoadsThePopUpOnce_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("number");
    QTest::addColumn<int>("doorbells");
    QTest::addColumn<QString>("said");
    const auto row = [](const char* what, const QByteArray& lines, const char* name, const char* number,
                        int doorbells, const char* said) {
        QTest::newRow(what) << lines << name << number << doorbells << said;
    };
    row("a flagged caller in the phone list", "RING\nNMBR = 5551234\nRING\nRING", "Ann", "5551234", 1,
        "Ann is calling");
    row("a blocked call", "RING\nNMBR=P\nRING", "Blocked", "Blocked", 0, "Blocked");
    row("a late name updates the pop-up and what is said", "RING\nNMBR=5550199\nNAME=DOE JOHN", "DOE JOHN",
        "5550199", 0, "DOE JOHN is calling");
    row("the modem's name, then a flagged number: the doorbell and the list's name",
        "RING\nNAME=ANN SMITH\nNMBR=5551234", "Ann", "5551234", 1, "Ann is calling");
    row("a name first after a flagged caller: no second doorbell", "RING\nNMBR=5551234\nRING\nNAME=BOB",
        "BOB", "No Number", 1, "BOB is calling");
}

void tst_frmSplash::eachCallLoadsThePopUpOnce()
{
    QFETCH(QByteArray, lines);
    QFETCH(QString, name);
    QFETCH(QString, number);
    QFETCH(int, doorbells);
    QFETCH(QString, said);
    TestProgram program;
    QVERIFY(QFile::copy(NIMBREL_DATA_DIR "/doorbell.wav", program.dir.filePath("doorbell.wav")));
    program.load();
    TestSupport::insertRows(program.window->store().connectionName(), "UsersList", {"1|Ann|5551234|1"});
    program.startMonitoring();
    program.clock.advance(2000); // the welcome is said
    program.spoken.clear();
    program.play(lines);
    frmSplash* splash = program.window->splash();
    QVERIFY(splash);
    QVERIFY(splash->isVisible());
    QCOMPARE(splash->lblincomingcall->text(), QStringLiteral("INCOMING CALL"));
    QCOMPARE(splash->lblname->text(), name);
    QCOMPARE(splash->lblnumber->text(), number);
    QCOMPARE(program.sound.played, QStringList(doorbells, "file:" + program.dir.filePath("doorbell.wav")));
    program.clock.advance(1500);
    QCOMPARE(program.spoken.mid(program.spoken.size() - 2), QStringList({"stop", "say:" + said}));
}

void tst_frmSplash::closedByItsBoxOrTheRingTimer()
{
    TestProgram program;
    QDir(program.dir.path()).mkpath("Skin");
    for (const QString& name : {QStringLiteral("CloseUP.Jpg"), QStringLiteral("CloseDN.Jpg")})
        QVERIFY(QFile::copy(NIMBREL_DATA_DIR "/Skin/" + name, program.dir.filePath("Skin/" + name)));
    program.load();
    program.startMonitoring();
    program.play("RING\nNMBR=111");
    QPointer<frmSplash> splash = program.window->splash();
    const SkinStore& skins = program.window->skins();
    QCOMPARE(splash->imgClose->pixmap().cacheKey(), skins.imgSkins(SkinStore::CloseUp).cacheKey());
    QTest::mousePress(splash->imgClose, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(splash->imgClose->pixmap().cacheKey(), skins.imgSkins(SkinStore::CloseUp).cacheKey());
    QTest::mouseRelease(splash->imgClose, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
    QVERIFY(splash);
    QTest::mousePress(splash->imgClose, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(splash->imgClose->pixmap().cacheKey(), skins.imgSkins(SkinStore::CloseDown).cacheKey());
    QTest::mouseRelease(splash->imgClose, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    QTRY_VERIFY(!splash);
    QCOMPARE(program.gridRows(), QStringList{"111|Unknown Caller"}); // closing changes nothing else

    program.play("wait\nRING\nNMBR=222\nRING");
    splash = program.window->splash();
    QVERIFY(splash);
    program.clock.advance(7000);
    QVERIFY(splash && splash->isVisible());
    program.clock.advance(1500);
    QTRY_VERIFY(!splash); // closed and gone
    program.play("RING\nNMBR=333");
    QCOMPARE(program.window->splash()->lblnumber->text(), QStringLiteral("333"));
}

void tst_frmSplash::longTextsAreCutWithTheWholeInATooltip()
{
    TestProgram program;
    program.load();
    program.startMonitoring();
    const QString name(30, QLatin1Char('W'));
    program.play("RING\nNMBR=5550100\nNAME=" + name.toLatin1());
    const frmSplash* splash = program.window->splash();
    QVERIFY(splash->lblname->text().endsWith(QChar(0x2026)));
    QCOMPARE(splash->lblname->toolTip(), name);
    QVERIFY(splash->lblname->geometry().right() < splash->width());
    QCOMPARE(splash->lblnumber->text(), QStringLiteral("5550100")); // one that fits is shown whole
    QCOMPARE(splash->lblnumber->toolTip(), QString());
    // The status line too.
    const QLabel* status = program.window->lblStatus;
    program.window->monitor().setNcidServer(QString(300, QLatin1Char('h')), 3333);
    program.window->monitor().startStopMonitoring(); // stops
    program.window->monitor().startStopMonitoring(); // connects, and says to where
    QVERIFY(status->text().endsWith(QChar(0x2026)));
    QVERIFY(status->toolTip().contains(QString(300, QLatin1Char('h'))));
}

void tst_frmSplash::popUpStaysOnTopWithoutTakingTheFocus()
{
    TestProgram program;
    program.load();
    program.startMonitoring();
    QWidget editor;
    auto* typing = new QLineEdit(&editor);
    editor.show();
    editor.activateWindow();
    typing->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&editor));
    program.play("RING\nNMBR=111");
    frmSplash* splash = program.window->splash();
    QVERIFY(splash->isVisible());
    QVERIFY(splash->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(splash->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
    QVERIFY(splash->testAttribute(Qt::WA_ShowWithoutActivating));
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        QSKIP("only a real window manager decides activation; the x11 run of this test checks it");
    QVERIFY(!QTest::qWaitFor([&] { return QApplication::activeWindow() != &editor; }, 300));
    QCOMPARE(QApplication::focusWidget(), typing);
}

QTEST_MAIN(tst_frmSplash)
#include "tst_frmsplash.moc"
