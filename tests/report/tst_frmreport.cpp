#include "ButtonLabel.h"
#include "DateTimeText.h"
#include "FakeDevices.h"
#include "MessageBox.h"
#include "ReportJobs.h"
#include "SkinStore.h"
#include "TestDatabase.h"
#include "TestSupport.h"
#include "frmReport.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace
{

const QDate kToday = QDate::currentDate();

QString stored(const QDate& date, const QString& time)
{
    return date.toString("yyyy-MM-dd") + " " + time;
}

// The calls window on a database of its own, with the report file in a temporary folder.
struct ReportRig {
    explicit ReportRig(const QStringList& calls)
    {
        QStringList rows;
        for (const QString& call : calls)
            rows << QString::number(rows.size() + 1) + '|' + call;
        TestSupport::insertRows(db.store.connectionName(), "PhoneCalls", rows);
        MessageBox::setSink([this](const QString& text, MessageBox::Icon) {
            messages << text;
            return answerYes;
        });
        window = std::make_unique<frmReport>(skins, db.store, viewer, db.clock, reportPath());
        window->Form_Load();
    }
    ~ReportRig() { MessageBox::setSink({}); }

    QString reportPath() const { return folder.filePath("CallLog.txt"); }
    QByteArray report() const
    {
        return QFile::exists(reportPath()) ? TestSupport::fileBytes(reportPath()) : QByteArray("(no file)");
    }
    void press(ButtonLabel* button)
    {
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, 4));
        QTRY_VERIFY(!window->isWorking());
    }
    QStringList calls() const
    {
        return TestSupport::readRows(db.path(), "SELECT datetime, number FROM PhoneCalls ORDER BY rowid");
    }

    TestDatabase db;
    QTemporaryDir folder;
    SkinStore skins;
    FakeViewer viewer;
    std::unique_ptr<frmReport> window;
    QStringList messages;
    bool answerYes = true;
};

QByteArray line(const QString& number, const QString& name, const QDate& date, const QString& time)
{
    return (number + " , " + name + " , " + dateTimeText(QDateTime(date, QTime::fromString(time, "HH:mm:ss")))
            + "\r\n")
        .toLocal8Bit();
}

} // namespace

class tst_frmReport : public QObject
{
    Q_OBJECT
private slots:
    void loadSetsTheDefaults();
    void createReport_data();
    void createReport();
    void badTimeChangesNothing_data();
    void badTimeChangesNothing();
    void secondReportReplacesTheFirst();
    void clearAsksThenDeletesTheDefaultRange();
};

void tst_frmReport::loadSetsTheDefaults()
{
    ReportRig rig({});
    QCOMPARE(rig.window->txtStartDate->date(), kToday);
    QCOMPARE(rig.window->txtEndDate->date(), kToday);
    QCOMPARE(rig.window->txtstarttime->count(), 24); // the hours of a day, no "24:00:00"
    QCOMPARE(rig.window->txtstarttime->itemText(0), QStringLiteral("0:00:00"));
    QCOMPARE(rig.window->txtendtime->itemText(23), QStringLiteral("23:00:00"));
    QCOMPARE(rig.window->txtstarttime->currentText(), QStringLiteral("0:00:00"));
    QCOMPARE(rig.window->txtendtime->currentText(), QStringLiteral("23:59:59"));
}

void tst_frmReport::createReport_data()
{
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("endDay"); // from today, the whole of each day
    QTest::addColumn<QByteArray>("file");
    const QDate yesterday = kToday.addDays(-1), tomorrow = kToday.addDays(1);
    QTest::newRow("a range over several days, shown")
        << QStringList{stored(yesterday, "23:00:00") + "|1|A", stored(tomorrow, "01:00:00") + "|2|B"} << 1
        << line("2", "B", tomorrow, "01:00:00");
    QTest::newRow("no call after the start: empty, not shown")
        << QStringList{stored(yesterday, "12:00:00") + "|1|A"} << 0 << QByteArray();
}

void tst_frmReport::createReport()
{
    QFETCH(QStringList, calls);
    QFETCH(int, endDay);
    QFETCH(QByteArray, file);
    ReportRig rig(calls);
    // The end day is picked from the date box's calendar, as most users do.
    QDateEdit* end = rig.window->txtEndDate;
    QTest::mouseClick(end, Qt::LeftButton, Qt::NoModifier, QPoint(end->width() - 4, end->height() / 2));
    QCalendarWidget* calendar = end->calendarWidget();
    QVERIFY(calendar && calendar->isVisible());
    for (int day = 0; day < endDay; ++day)
        QTest::keyClick(calendar->focusWidget(), Qt::Key_Right);
    QTest::keyClick(calendar->focusWidget(), Qt::Key_Return);
    rig.press(rig.window->lblCreate);
    QCOMPARE(rig.report(), file);
    QCOMPARE(rig.viewer.opened, file.isEmpty() ? QStringList() : QStringList{rig.reportPath()});
    QCOMPARE(rig.messages, QStringList());
}

void tst_frmReport::badTimeChangesNothing_data()
{
    QTest::addColumn<bool>("clearing");
    QTest::addColumn<bool>("inStartBox");
    QTest::addColumn<QString>("text");
    QTest::newRow("report, 25:00 in the start box") << false << true << "25:00";
    QTest::newRow("clearing, noon in the end box") << true << false << "noon";
}

void tst_frmReport::badTimeChangesNothing()
{
    QFETCH(bool, clearing);
    QFETCH(bool, inStartBox);
    QFETCH(QString, text);
    ReportRig rig({stored(kToday, "12:00:00") + "|1|A"});
    rig.press(rig.window->imgCreate);
    const QByteArray earlier = rig.report();
    QVERIFY(!earlier.isEmpty());
    (inStartBox ? rig.window->txtstarttime : rig.window->txtendtime)->setEditText(text);
    rig.press(clearing ? rig.window->lblDelete : rig.window->imgCreate);
    QCOMPARE(rig.report(), earlier);
    QCOMPARE(rig.calls().size(), 1);
    QCOMPARE(rig.viewer.opened.size(), 1);
    QCOMPARE(rig.messages.size(), 1);
    const QString box = inStartBox ? "Start Time" : "End Time";
    QVERIFY2(rig.messages.first().contains("\"" + text + "\" in the " + box + " box"),
             qPrintable(rig.messages.first()));
}

void tst_frmReport::secondReportReplacesTheFirst()
{
    ReportRig rig({stored(kToday, "08:00:00") + "|1|A", stored(kToday, "20:00:00") + "|2|B"});
    rig.viewer.works = false; // the report is written all the same, and the message names it
    rig.press(rig.window->lblCreate);
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY(rig.messages.first().contains(rig.reportPath()));
    rig.window->txtstarttime->setEditText("12:00:00");
    rig.press(rig.window->lblCreate);
    QCOMPARE(rig.report(), line("2", "B", kToday, "20:00:00"));
    QVERIFY(!QFile::exists(rig.reportPath() + ".tmp"));
}

void tst_frmReport::clearAsksThenDeletesTheDefaultRange()
{
    const QDate yesterday = kToday.addDays(-1);
    ReportRig rig({stored(yesterday, "23:59:59") + "|1|A", stored(kToday, "00:00:00") + "|2|B",
                   stored(kToday, "23:59:59") + "|3|C", stored(kToday.addDays(1), "00:00:00") + "|4|D"});
    rig.answerYes = false;
    rig.press(rig.window->imgDelete);
    QCOMPARE(rig.messages.size(), 1);
    QVERIFY2(rig.messages.first().startsWith("Delete the 2 calls from "), qPrintable(rig.messages.first()));
    QCOMPARE(rig.calls().size(), 4);
    rig.answerYes = true;
    rig.press(rig.window->lblDelete);
    QCOMPARE(rig.messages.size(), 2);
    QCOMPARE(rig.calls(), QStringList({stored(yesterday, "23:59:59") + "|1",
                                       stored(kToday.addDays(1), "00:00:00") + "|4"}));
    rig.press(rig.window->lblDelete);
    QCOMPARE(rig.messages.size(), 2); // nothing to delete: no question
    QVERIFY(rig.window->lblStatus->text().contains("nothing to delete"));
    QCOMPARE(rig.calls().size(), 2);
}

QTEST_MAIN(tst_frmReport)
#include "tst_frmreport.moc"
