#include "CallTracker.h"
#include "TestDatabase.h"

#include <QRegularExpression>
#include <QTest>

class tst_CallTracker : public QObject
{
    Q_OBJECT
private slots:
    void callsFromLines_data();
    void callsFromLines();
    void eachCallSettlesOnce_data();
    void eachCallSettlesOnce();
    void ringTimerClosesTheCall_data();
    void ringTimerClosesTheCall();
};

namespace
{

// What the tracker reported, one entry per report: "+number|name" for a completed call, "~number|name" for
// an update, " ding" after either when it rings the doorbell, "=number|name" for the call settled, "-" when
// the call is over.
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
        QObject::connect(&tracker, &CallTracker::callSettled,
                         [this](const LoggedCall& call) { seen << '=' + call.number + '|' + call.name; });
        QObject::connect(&tracker, &CallTracker::callOver, [this] { seen << "-"; });
    }
    QStringList calls() const { return seen.filter(QRegularExpression("^[^=]")); }
    QStringList seen;
};

// Modem lines, one per line of text; "wait" lets nine seconds pass, "wait N" N milliseconds, and
// "report number|name" is a network source's call.
void play(CallTracker& tracker, FakeClock& clock, const QByteArray& lines)
{
    for (const QByteArray& line : lines.split('\n')) {
        if (line.startsWith("wait"))
            clock.advance(line.size() > 4 ? line.mid(5).toInt() : 9000);
        else if (line.startsWith("report "))
            tracker.report(line.mid(7).split('|').first(), line.split('|').last());
        else
            tracker.take(readModemLine(line));
    }
}

} // namespace

void tst_CallTracker::callsFromLines_data()
{
    QTest::addColumn<QByteArray>("lines"); // as play() takes them
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<QString>("unknownNumber");
    QTest::addColumn<bool>("useNameList");
    const auto row = [](const char* name, const QByteArray& lines, const QStringList& reports,
                        const QString& unknownNumber = {}, bool useNameList = false) {
        QTest::newRow(name) << lines << reports << unknownNumber << useNameList;
    };
    // The phone list: Ann at 5551234 with the doorbell, Bob at 222 without (and after him Carl at the same
    // number with it), a nameless 333 with it, Dee at 555-0100 with it.
    row("spaced number, unknown caller (punctuation in the list is not ignored): stored without the blanks",
        "RING\nDATE = 1207\nTIME = 0930\nNMBR = 5550100\nRING", {"+5550100|Unknown Caller"}, "5550100");
    row("spaced number matches the entry, and rings its doorbell", "RING\nNMBR = 5551234\nRING",
        {"+5551234|Ann ding"});
    row("an entry without the doorbell, the first of two with its number", "RING\nNMBR=222", {"+222|Bob"});
    row("number then modem name: one call, completed by the name", "RING\nNMBR=5550199\nNAME=DOE JOHN\nRING",
        {"+5550199|Unknown Caller", "~5550199|DOE JOHN"}, "5550199");
    row("name then number: the same call", "RING\nNAME=DOE JOHN\nNMBR=5550199\nRING",
        {"+No Number|DOE JOHN", "~5550199|DOE JOHN"}, "5550199");
    row("name then a flagged number: the phone list names it and rings the doorbell",
        "RING\nNAME=ANN SMITH\nNMBR=5551234\nRING", {"+No Number|ANN SMITH", "~5551234|Ann ding"});
    row("number then name: the phone list name is never replaced", "RING\nNMBR=5551234\nNAME=ANN SMITH\nRING",
        {"+5551234|Ann ding"});
    row("modem names ignored when names come from the phone list", "RING\nNAME=DOE JOHN\nNMBR=5550199\nRING",
        {"+5550199|Unknown Caller"}, "5550199", true);
    row("a nameless flagged entry rings once, though the modem's name follows", "RING\nNMBR=333\nNAME=JOHN",
        {"+333|Unknown Caller ding", "~333|JOHN"}, "333");
    row("rings only: completed by the second ring, once", "RING\nRING\nRING\nOK",
        {"+No Number|Unknown Caller"});
    row("one ring only completes nothing", "RING", {});
    row("the doorbell is decided afresh for every call",
        "RING\nNMBR=5551234\nwait\nRING\nRING\nwait\nRING\nNMBR=5551234\nRING\nNAME=X",
        {"+5551234|Ann ding", "-", "+No Number|Unknown Caller", "-", "+5551234|Ann ding", "+No Number|X"});
    row("O means unavailable", "RING\nNMBR=O\nNAME=O", {"+Unavailable|Unavailable"});
    row("spaced P means blocked and is never offered as a number", "RING\nNMBR = P\nNAME = P",
        {"+Blocked|Blocked"});
    row("name first, withheld number", "RING\nNAME=DOE JOHN\nNMBR=P",
        {"+No Number|DOE JOHN", "~Blocked|Blocked"});
    row("an unavailable number outweighs a blocked name", "RING\nNAME=P\nNMBR=O",
        {"+No Number|Blocked", "~Unavailable|Unavailable"});
    row("a blocked name after a number", "RING\nNMBR=5550199\nNAME=P",
        {"+5550199|Unknown Caller", "~5550199|Blocked"}, "5550199");
    row("lower-case letters are no reason codes", "RING\nNMBR=o\nNAME=p", {"+o|Unknown Caller", "~o|p"}, "o");
    row("lower-case or padded keywords match nothing",
        "ring\nRING \nnmbr=5551234\nNmbr=5551234\nRINGING\nOK \nNMBR 5551234", {});
    row("caller ID before the first ring, as in the UK", "DATE=1207\nTIME=0930\nNMBR=02079460123\nRING\nRING",
        {"+02079460123|Unknown Caller"}, "02079460123");
    row("two callers within eight seconds are two calls",
        "RING\nNMBR=111\nRING\nRING\nNMBR=444\nNAME=SECOND\nRING",
        {"+111|Unknown Caller", "+444|Unknown Caller", "~444|SECOND"}, "444");
    row("after a ring, another caller's number begins a new call; a date alone does not",
        "NMBR=111\nRING\nDATE=1207\nRING\nNMBR=444", {"+111|Unknown Caller", "+444|Unknown Caller"}, "444");
    row("GSM repeats the caller at every ring: one call",
        "RING\n+CLIP: \"3125550100\",129,,,\"Ann\",0\nRING\n+CLIP: \"3125550100\",129,,,\"Ann\",0",
        {"+3125550100|Unknown Caller", "~3125550100|Ann"}, "3125550100");
    row("ISDN repeats the caller at every ring: one call; another caller is another call",
        "RING;0895550100;0895550199\nRING;0895550100;0895550199\nRING;0895550111",
        {"+0895550100|Unknown Caller", "+0895550111|Unknown Caller"}, "0895550111");
    row("caller ID before the first ring, with a name", "NMBR=01632960100\nNAME=SMITH J\nRING\nRING",
        {"+01632960100|Unknown Caller", "~01632960100|SMITH J"}, "01632960100");
    row("caller ID with no ring after it is over eight seconds later", "NMBR=01632960100\nwait",
        {"+01632960100|Unknown Caller", "-"}, "01632960100");
    row("a name after a rings-only call completes it, also after an earlier call",
        "RING\nNMBR=111\nwait\nRING\nRING\nNAME=JOHN",
        {"+111|Unknown Caller", "-", "+No Number|Unknown Caller", "~No Number|JOHN"}, "111");
    row("over-long values are cut to their fields",
        "RING\nNMBR=1234567890123456789012345\nNAME=" + QByteArray(40, 'N'),
        {"+12345678901234567890|Unknown Caller", "~12345678901234567890|" + QString(30, 'N')},
        "1234567890123456789012345");
    row("quotes and high bytes are kept as received", "RING\nNAME=O'Brien \"Jo\" \xe9",
        {QStringLiteral("+No Number|O'Brien \"Jo\" \u00e9")});
    row("control characters are dropped, a tab kept",
        QByteArray("RING\nNMBR=12") + '\0' + "3\nNAME=A\tB\x85\x1b[2J\x7f",
        {"+123|Unknown Caller", "~123|A\tB[2J"}, "123");
}

void tst_CallTracker::callsFromLines()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, reports);
    QFETCH(QString, unknownNumber);
    QFETCH(bool, useNameList);
    TestDatabase db;
    db.addPhoneListEntries({"Ann|5551234|1", "Bob|222|0", "Carl|222|1", "|333|1", "Dee|555-0100|1"});
    CallTracker tracker(db.store, db.clock);
    tracker.setUseNameList(useNameList);
    Reports seen(tracker);
    play(tracker, db.clock, lines);

    QCOMPARE(seen.calls(), reports);
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

void tst_CallTracker::eachCallSettlesOnce_data()
{
    QTest::addColumn<QByteArray>("lines");
    QTest::addColumn<QStringList>("reports");
    QTest::addColumn<bool>("useNameList");
    const auto row = [](const char* name, const QByteArray& lines, const QStringList& reports,
                        bool useNameList = false) { QTest::newRow(name) << lines << reports << useNameList; };
    row("named by the phone list: settled at once", "RING\nNMBR=222", {"+222|Bob", "=222|Bob"});
    row("names from the phone list only: a number is enough", "RING\nNMBR=5550199",
        {"+5550199|Unknown Caller", "=5550199|Unknown Caller"}, true);
    row("a late name: settled by it", "RING\nNMBR=5550199\nwait 999\nNAME=DOE JOHN",
        {"+5550199|Unknown Caller", "~5550199|DOE JOHN", "=5550199|DOE JOHN"});
    row("a late number: settled by it", "RING\nNAME=DOE JOHN\nNMBR=5550199",
        {"+No Number|DOE JOHN", "~5550199|DOE JOHN", "=5550199|DOE JOHN"});
    row("no name a second later: settled as it is", "RING\nNMBR=5550199\nwait 1000\nNAME=DOE JOHN",
        {"+5550199|Unknown Caller", "=5550199|Unknown Caller", "~5550199|DOE JOHN"});
    row("a network source's call: settled at once, whatever it lacks", "report 5550199|",
        {"+5550199|Unknown Caller", "=5550199|Unknown Caller"});
    row("rings only: settled by the next ring, before another caller's call",
        "RING\nRING\nRING\nNMBR=444\nRING",
        {"+No Number|Unknown Caller", "=No Number|Unknown Caller", "+444|Unknown Caller",
         "=444|Unknown Caller"});
    row("caller ID long after the ring: settled before the call is over",
        "RING\nwait 7900\nNMBR=444\nwait 500", {"+444|Unknown Caller", "=444|Unknown Caller", "-"});
}

void tst_CallTracker::eachCallSettlesOnce()
{
    QFETCH(QByteArray, lines);
    QFETCH(QStringList, reports);
    QFETCH(bool, useNameList);
    TestDatabase db;
    db.addPhoneListEntries({"Bob|222|0"});
    CallTracker tracker(db.store, db.clock);
    tracker.setUseNameList(useNameList);
    Reports seen(tracker);
    play(tracker, db.clock, lines);
    QCOMPARE(seen.seen, reports);
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
    // The ring timer started with the first ring, 400 ms before the last, ticks exactly 8 s after it.
    db.clock.setNow(QDateTime(QDate(2026, 12, 7), lastRing).addMSecs(-400));
    CallTracker tracker(db.store, db.clock);
    Reports seen(tracker);

    tracker.ring();
    db.clock.advance(400);
    tracker.field(CallerIdField::Number, "5551234");
    tracker.ring();
    db.clock.advance(openAfterMs);
    QCOMPARE(seen.calls(), QStringList{"+5551234|Unknown Caller"});
    QCOMPARE(tracker.number(), QStringLiteral("5551234"));
    db.clock.advance(closedAfterMs - openAfterMs);
    QCOMPARE(seen.calls(), QStringList({"+5551234|Unknown Caller", "-"}));
    QCOMPARE(tracker.number(), QString());
    QCOMPARE(tracker.callName(), QString());
    QCOMPARE(tracker.ringCount(), 0);
}

QTEST_GUILESS_MAIN(tst_CallTracker)
#include "tst_calltracker.moc"
