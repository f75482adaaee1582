#include "CallParser.h"
#include "TestDatabase.h"

#include <QSignalSpy>
#include <QTest>

class tst_CallParser : public QObject
{
    Q_OBJECT
private slots:
    void callsFromLines_data();
    void callsFromLines();
    void replyFlags_data();
    void replyFlags();
    void ringTimerClosesTheCall_data();
    void ringTimerClosesTheCall();
    void unknownNumberKeepsTheReceivedValue();
    void doorbellFollowsTheLastLookup();
};

namespace
{

QList<QByteArray> split(const QByteArray& lines)
{
    return lines.split('\n');
}

} // namespace

void tst_CallParser::callsFromLines_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QStringList>("phoneList");
    QTest::addColumn<bool>("useNameList");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<int>("gridRows");

    const QStringList none;
    const QStringList ann{QStringLiteral("Ann|5551234|1")};

    QTest::newRow("spaced number, unknown caller")
        << QByteArray("RING\nDATE = 1207\nTIME = 0930\nNMBR = 5551234\nRING") << none << false
        << QStringList{"1| 5551234|Unknown Caller"} << 1;
    QTest::newRow("spaced number matches the phone list entry without blanks")
        << QByteArray("RING\nNMBR = 5551234\nRING") << ann << false << QStringList{"1| 5551234|Ann"} << 1;
    QTest::newRow("number then modem name: one call with the modem's name")
        << QByteArray("RING\nDATE=1207\nTIME=0930\nNMBR=5550199\nNAME=DOE JOHN\nRING") << none << false
        << QStringList{"1|5550199|DOE JOHN"} << 1;
    QTest::newRow("name then number: the same call as number first")
        << QByteArray("RING\nNAME=DOE JOHN\nNMBR=5550199\nRING") << none << false
        << QStringList{"1|5550199|DOE JOHN"} << 1;
    QTest::newRow("name then number: the phone list name wins")
        << QByteArray("RING\nNAME=ANN SMITH\nNMBR=5551234\nRING") << ann << false
        << QStringList{"1|5551234|Ann"} << 1;
    QTest::newRow("number then name: the phone list name is never replaced")
        << QByteArray("RING\nNMBR=5551234\nNAME=ANN SMITH\nRING") << ann << false
        << QStringList{"1|5551234|Ann"} << 1;
    QTest::newRow("modem names ignored when names come from the phone list")
        << QByteArray("RING\nNAME=DOE JOHN\nNMBR=5550199\nRING") << none << true
        << QStringList{"1|5550199|Unknown Caller"} << 1;
    QTest::newRow("rings only: completed by the second ring, once")
        << QByteArray("RING\nRING\nRING\nOK") << none << false << QStringList{"1|No Number|Unknown Caller"}
        << 1;
    QTest::newRow("one ring only completes nothing")
        << QByteArray("RING") << none << false << QStringList{} << 0;
    QTest::newRow("O means unavailable") << QByteArray("RING\nNMBR=O\nNAME=O") << none << false
                                         << QStringList{"1|Unavailable|Unavailable"} << 1;
    QTest::newRow("spaced O means unavailable") << QByteArray("RING\nNMBR = O\nNAME = O") << none << false
                                                << QStringList{"1|Unavailable|Unavailable"} << 1;
    QTest::newRow("spaced P means blocked")
        << QByteArray("RING\nNMBR = P\nNAME = P") << none << false << QStringList{"1|Blocked|Blocked"} << 1;
    QTest::newRow("name first, blocked number") << QByteArray("RING\nNAME=DOE JOHN\nNMBR=P") << none << false
                                                << QStringList{"1|Blocked|Blocked"} << 1;
    QTest::newRow("a name alone completes with No Number")
        << QByteArray("RING\nNAME=DOE JOHN\nRING") << none << false << QStringList{"1|No Number|DOE JOHN"}
        << 1;
    QTest::newRow("lower-case or padded keywords match nothing")
        << QByteArray("ring\nRING \nnmbr=5551234\nNmbr=5551234\nRINGING") << none << false << QStringList{}
        << 0;
    QTest::newRow("a number line without = stores nothing")
        << QByteArray("RING\nNMBR 5551234") << none << false << QStringList{} << 0;
    QTest::newRow("caller ID before the first ring, as in the UK")
        << QByteArray("DATE=1207\nTIME=0930\nNMBR=02079460123\nRING\nRING") << none << false
        << QStringList{"1|02079460123|Unknown Caller"} << 1;
    QTest::newRow("two callers within eight seconds are two calls")
        << QByteArray("RING\nNMBR=111\nRING\nRING\nNMBR=222\nNAME=SECOND\nRING") << none << false
        << QStringList{"1|111|Unknown Caller", "2|222|SECOND"} << 2;
    QTest::newRow("UK order back to back")
        << QByteArray("NMBR=111\nRING\nRING\nNMBR=222\nRING") << none << false
        << QStringList{"1|111|Unknown Caller", "2|222|Unknown Caller"} << 2;
    QTest::newRow("over-long values are cut to their fields")
        << QByteArray("RING\nNMBR=1234567890123456789012345\nNAME=" + QByteArray(40, 'N')) << none << false
        << QStringList{"1|12345678901234567890|" + QString(30, QLatin1Char('N'))} << 1;
    QTest::newRow("quotes and high bytes are stored as received")
        << QByteArray("RING\nNMBR=5550100\nNAME=O'Brien \"Jo\" \xe9") << none << false
        << QStringList{QStringLiteral("1|5550100|O'Brien \"Jo\" \u00e9")} << 1;
    QTest::newRow("echoed commands and other reports are ignored")
        << QByteArray("ATZ\nAT#CID=1\nCONNECT\nRING\nNMBR=5\nRING") << none << false
        << QStringList{"1|5|Unknown Caller"} << 1;
}

void tst_CallParser::callsFromLines()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, phoneList);
    QFETCH(bool, useNameList);
    QFETCH(QStringList, calls);
    QFETCH(int, gridRows);

    TestDatabase db;
    db.addPhoneListEntries(phoneList);
    CallParser parser(db.store, db.clock);
    parser.setUseNameList(useNameList);
    QSignalSpy completed(&parser, &CallParser::callCompleted);
    for (const QByteArray& line : split(lines))
        parser.parseLine(line);

    QCOMPARE(db.calls(), calls);
    QCOMPARE(completed.count(), gridRows);
    if (!calls.isEmpty()) {
        const QStringList last = calls.last().split(QLatin1Char('|'));
        QCOMPARE(parser.number(), last.at(1));
        QCOMPARE(parser.callName(), last.at(2));
    }
}

void tst_CallParser::replyFlags_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("error");
    QTest::newRow("OK") << QByteArray("OK") << true << false;
    QTest::newRow("ERROR") << QByteArray("ERROR") << false << true;
    QTest::newRow("OK with a trailing blank is no reply") << QByteArray("OK ") << false << false;
    QTest::newRow("lower-case ok is no reply") << QByteArray("ok") << false << false;
}

void tst_CallParser::replyFlags()
{
    QFETCH(QByteArray, line);
    QFETCH(bool, ok);
    QFETCH(bool, error);
    TestDatabase db;
    CallParser parser(db.store, db.clock);
    parser.parseLine(line);
    QCOMPARE(parser.bOK, ok);
    QCOMPARE(parser.bError, error);
}

void tst_CallParser::ringTimerClosesTheCall_data()
{
    QTest::addColumn<QTime>("lastRing");
    QTest::addColumn<int>("openAfterMs");
    QTest::addColumn<int>("closedAfterMs");
    QTest::newRow("eight seconds after the last ring") << QTime(10, 0) << 7700 << 8400;
    QTest::newRow("last ring at 23:59:58 closes eight seconds after midnight")
        << QTime(23, 59, 58) << 9700 << 10400;
}

void tst_CallParser::ringTimerClosesTheCall()
{
    QFETCH(QTime, lastRing);
    QFETCH(int, openAfterMs);
    QFETCH(int, closedAfterMs);
    TestDatabase db;
    db.clock.setNow(QDateTime(QDate(2026, 12, 7), lastRing));
    CallParser parser(db.store, db.clock);
    auto ticks = db.clock.createTimer();
    connect(ticks.get(), &ClockTimer::timeout, &parser, &CallParser::ringTimerTick);
    ticks->start(350);
    QSignalSpy closed(&parser, &CallParser::callClosed);

    parser.parseLine("NMBR=5551234");
    parser.parseLine("RING");
    db.clock.advance(openAfterMs);
    QCOMPARE(closed.count(), 0);
    QCOMPARE(parser.number(), QStringLiteral("5551234"));
    db.clock.advance(closedAfterMs - openAfterMs);
    QCOMPARE(closed.count(), 1);
    QCOMPARE(parser.number(), QString());
    QCOMPARE(parser.callName(), QString());
    QCOMPARE(parser.ringCount(), 0);
    QCOMPARE(db.calls(), QStringList{"1|5551234|Unknown Caller"});
}

void tst_CallParser::unknownNumberKeepsTheReceivedValue()
{
    TestDatabase db;
    CallParser parser(db.store, db.clock);
    parser.parseLine("RING");
    parser.parseLine("NMBR = 5550111");
    QCOMPARE(parser.unknownNumber(), QStringLiteral(" 5550111"));
}

void tst_CallParser::doorbellFollowsTheLastLookup()
{
    TestDatabase db;
    db.addPhoneListEntries({"Ann|111|1", "Bob|222|0", "Ann again|111|0"});
    CallParser parser(db.store, db.clock);
    auto ticks = db.clock.createTimer();
    connect(ticks.get(), &ClockTimer::timeout, &parser, &CallParser::ringTimerTick);
    ticks->start(350);
    parser.parseLine("RING");
    parser.parseLine("NMBR=111");
    QCOMPARE(parser.callName(), QStringLiteral("Ann"));
    QVERIFY(parser.playDoorbell());
    db.clock.advance(9000);
    parser.parseLine("RING");
    parser.parseLine("NMBR=222");
    QCOMPARE(parser.callName(), QStringLiteral("Bob"));
    QVERIFY(!parser.playDoorbell());
}

QTEST_GUILESS_MAIN(tst_CallParser)
#include "tst_callparser.moc"
