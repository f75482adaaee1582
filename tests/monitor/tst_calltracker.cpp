#include "CallTracker.h"
#include "TestDatabase.h"

#include <QTest>

class tst_CallTracker : public QObject
{
    Q_OBJECT
private slots:
    void callsFromLines_data();
    void callsFromLines();
    void ringTimerClosesTheCall_data();
    void ringTimerClosesTheCall();
};

namespace
{

// What the tracker reported, one entry per report: "+number|name" for a completed call, "~number|name" for
// an update, " ding" after either when it rings the doorbell, "-" when the call is over.
struct Reports {
    explicit Reports(CallTracker& tracker)
    {
        const auto record = [this](QChar kind) {
            return [this, kind](const LoggedCall& call, bool ringDoorbell) {
                seen << kind + call.number + '|' + call.name + (ringDoorbell ? " ding" : "");
            };
        };
        QObject::connect(&tracker, &CallTracker::callCompleted, record('+'));
        QObject::connect(&tracker, &CallTracker::callUpdated, record('~'));
        QObject::connect(&tracker, &CallTracker::callOver, [this] { seen << "-"; });
    }
    QStringList seen;
};

} // namespace

void tst_CallTracker::callsFromLines_data()
{
    QTest::addColumn<QByteArray>("lines"); // modem lines; "wait" lets nine seconds pass
    QTest::addColumn<QStringList>("phoneList");
    QTest::addColumn<bool>("useNameList");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QString>("unknownNumber");

    const QStringList none;
    const QStringList ann{"Ann|5551234|1", "Bob|222|0"};

    QTest::newRow("spaced number, unknown caller: stored without the blanks")
        << QByteArray("RING\nDATE = 1207\nTIME = 0930\nNMBR = 5551234\nRING") << none << false
        << QStringList{"+5551234|Unknown Caller"} << "5551234";
    QTest::newRow("spaced number matches the entry, and rings its doorbell")
        << QByteArray("RING\nNMBR = 5551234\nRING") << ann << false << QStringList{"+5551234|Ann ding"}
        << QString();
    QTest::newRow("an entry without the doorbell")
        << QByteArray("RING\nNMBR=222") << ann << false << QStringList{"+222|Bob"} << QString();
    QTest::newRow("number then modem name: one call, completed by the name")
        << QByteArray("RING\nNMBR=5550199\nNAME=DOE JOHN\nRING") << none << false
        << QStringList{"+5550199|Unknown Caller", "~5550199|DOE JOHN"} << "5550199";
    QTest::newRow("name then number: the same call")
        << QByteArray("RING\nNAME=DOE JOHN\nNMBR=5550199\nRING") << none << false
        << QStringList{"+No Number|DOE JOHN", "~5550199|DOE JOHN"} << "5550199";
    QTest::newRow("name then a flagged number: the phone list names it and rings the doorbell")
        << QByteArray("RING\nNAME=ANN SMITH\nNMBR=5551234\nRING") << ann << false
        << QStringList{"+No Number|ANN SMITH", "~5551234|Ann ding"} << QString();
    QTest::newRow("number then name: the phone list name is never replaced")
        << QByteArray("RING\nNMBR=5551234\nNAME=ANN SMITH\nRING") << ann << false
        << QStringList{"+5551234|Ann ding"} << QString();
    QTest::newRow("modem names ignored when names come from the phone list")
        << QByteArray("RING\nNAME=DOE JOHN\nNMBR=5550199\nRING") << none << true
        << QStringList{"+5550199|Unknown Caller"} << "5550199";
    QTest::newRow("a nameless flagged entry rings once, though the modem's name follows")
        << QByteArray("RING\nNMBR=333\nNAME=JOHN") << QStringList{"|333|1"} << false
        << QStringList{"+333|Unknown Caller ding", "~333|JOHN"} << "333";
    QTest::newRow("rings only: completed by the second ring, once")
        << QByteArray("RING\nRING\nRING\nOK") << none << false << QStringList{"+No Number|Unknown Caller"}
        << QString();
    QTest::newRow("one ring only completes nothing")
        << QByteArray("RING") << none << false << QStringList{} << QString();
    QTest::newRow("the doorbell is decided afresh for every call")
        << QByteArray("RING\nNMBR=5551234\nwait\nRING\nRING\nwait\nRING\nNMBR=5551234\nRING\nNAME=X") << ann
        << false << QStringList{"+5551234|Ann ding", "-",           "+No Number|Unknown Caller", "-",
                                "+5551234|Ann ding", "+No Number|X"}
        << QString();
    QTest::newRow("O means unavailable") << QByteArray("RING\nNMBR=O\nNAME=O") << none << false
                                         << QStringList{"+Unavailable|Unavailable"} << QString();
    QTest::newRow("spaced P means blocked and is never offered as a number")
        << QByteArray("RING\nNMBR = P\nNAME = P") << none << false << QStringList{"+Blocked|Blocked"}
        << QString();
    QTest::newRow("name first, withheld number")
        << QByteArray("RING\nNAME=DOE JOHN\nNMBR=P") << none << false
        << QStringList{"+No Number|DOE JOHN", "~Blocked|Blocked"} << QString();
    QTest::newRow("lower-case or padded keywords match nothing")
        << QByteArray("ring\nRING \nnmbr=5551234\nNmbr=5551234\nRINGING\nOK \nNMBR 5551234") << none << false
        << QStringList{} << QString();
    QTest::newRow("caller ID before the first ring, as in the UK")
        << QByteArray("DATE=1207\nTIME=0930\nNMBR=02079460123\nRING\nRING") << none << false
        << QStringList{"+02079460123|Unknown Caller"} << "02079460123";
    QTest::newRow("two callers within eight seconds are two calls")
        << QByteArray("RING\nNMBR=111\nRING\nRING\nNMBR=222\nNAME=SECOND\nRING") << none << false
        << QStringList{"+111|Unknown Caller", "+222|Unknown Caller", "~222|SECOND"} << "222";
    QTest::newRow("after a ring, another caller's number begins a new call; a date alone does not")
        << QByteArray("NMBR=111\nRING\nDATE=1207\nRING\nNMBR=222") << none << false
        << QStringList{"+111|Unknown Caller", "+222|Unknown Caller"} << "222";
    QTest::newRow("GSM repeats the caller at every ring: one call")
        << QByteArray(
               "RING\n+CLIP: \"3125550100\",129,,,\"Ann\",0\nRING\n+CLIP: \"3125550100\",129,,,\"Ann\",0")
        << none << false << QStringList{"+3125550100|Unknown Caller", "~3125550100|Ann"} << "3125550100";
    QTest::newRow("ISDN repeats the caller at every ring: one call; another caller is another call")
        << QByteArray("RING;0895550100;0895550199\nRING;0895550100;0895550199\nRING;0895550111") << none
        << false << QStringList{"+0895550100|Unknown Caller", "+0895550111|Unknown Caller"} << "0895550111";
    QTest::newRow("caller ID before the first ring, with a name")
        << QByteArray("NMBR=01632960100\nNAME=SMITH J\nRING\nRING") << none << false
        << QStringList{"+01632960100|Unknown Caller", "~01632960100|SMITH J"} << "01632960100";
    QTest::newRow("caller ID with no ring after it is over eight seconds later")
        << QByteArray("NMBR=01632960100\nwait") << none << false
        << QStringList{"+01632960100|Unknown Caller", "-"} << "01632960100";
    QTest::newRow("a name after a rings-only call completes it, also after an earlier call")
        << QByteArray("RING\nNMBR=111\nwait\nRING\nRING\nNAME=JOHN") << none << false
        << QStringList{"+111|Unknown Caller", "-", "+No Number|Unknown Caller", "~No Number|JOHN"} << "111";
    QTest::newRow("over-long values are cut to their fields")
        << QByteArray("RING\nNMBR=1234567890123456789012345\nNAME=" + QByteArray(40, 'N')) << none << false
        << QStringList{"+12345678901234567890|Unknown Caller", "~12345678901234567890|" + QString(30, 'N')}
        << "1234567890123456789012345";
    QTest::newRow("quotes and high bytes are kept as received")
        << QByteArray("RING\nNAME=O'Brien \"Jo\" \xe9") << none << false
        << QStringList{QStringLiteral("+No Number|O'Brien \"Jo\" \u00e9")} << QString();
}

void tst_CallTracker::callsFromLines()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, phoneList);
    QFETCH(bool, useNameList);
    QFETCH(QStringList, reports);
    QFETCH(QString, unknownNumber);

    TestDatabase db;
    db.addPhoneListEntries(phoneList);
    CallTracker tracker(db.store, db.clock);
    tracker.setUseNameList(useNameList);
    Reports seen(tracker);
    for (const QByteArray& line : lines.split('\n')) {
        if (line == "wait")
            db.clock.advance(9000);
        else
            tracker.take(readModemLine(line));
    }

    QCOMPARE(seen.seen, reports);
    QCOMPARE(tracker.unknownNumber(), unknownNumber);
    // The rows stored are the calls as last reported.
    QStringList stored;
    for (const QString& report : std::as_const(reports)) {
        const QString call = report.mid(1).remove(" ding");
        if (report.startsWith('+'))
            stored << QString::number(stored.size() + 1) + '|' + call;
        else if (report.startsWith('~'))
            stored.last() = stored.last().section('|', 0, 0) + '|' + call;
    }
    QCOMPARE(db.calls(), stored);
}

void tst_CallTracker::ringTimerClosesTheCall_data()
{
    QTest::addColumn<QTime>("lastRing");
    QTest::addColumn<int>("openAfterMs");
    QTest::addColumn<int>("closedAfterMs");
    QTest::newRow("eight seconds after the last ring") << QTime(10, 0) << 8000 << 8400;
    QTest::newRow("last ring at 23:59:58 closes eight seconds after midnight")
        << QTime(23, 59, 58) << 10000 << 10400;
}

void tst_CallTracker::ringTimerClosesTheCall()
{
    QFETCH(QTime, lastRing);
    QFETCH(int, openAfterMs);
    QFETCH(int, closedAfterMs);
    TestDatabase db;
    db.clock.setNow(QDateTime(QDate(2026, 12, 7), lastRing).addSecs(-3));
    CallTracker tracker(db.store, db.clock);
    Reports seen(tracker);

    tracker.ring();
    db.clock.advance(3000);
    tracker.field(CallerIdField::Number, "5551234");
    tracker.ring();
    db.clock.advance(openAfterMs);
    QCOMPARE(seen.seen, QStringList{"+5551234|Unknown Caller"});
    QCOMPARE(tracker.number(), QStringLiteral("5551234"));
    db.clock.advance(closedAfterMs - openAfterMs);
    QCOMPARE(seen.seen, QStringList({"+5551234|Unknown Caller", "-"}));
    QCOMPARE(tracker.number(), QString());
    QCOMPARE(tracker.callName(), QString());
    QCOMPARE(tracker.ringCount(), 0);
}

QTEST_GUILESS_MAIN(tst_CallTracker)
#include "tst_calltracker.moc"
