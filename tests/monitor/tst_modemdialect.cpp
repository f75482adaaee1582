#include "LineAssembler.h"
#include "ModemDialect.h"

#include <QTest>

namespace
{

// The events of a line, written "ring", "ok", "error", "other", or "number=..." for a field.
QStringList described(const ModemEvents& events)
{
    static const char* const fields[] = {"date", "time", "number", "name"};
    QStringList result;
    for (const ModemEvent& event : events) {
        switch (event.kind) {
        case ModemEvent::Kind::Ring:
            result << "ring";
            break;
        case ModemEvent::Kind::Reply:
            result << (event.reply == ModemReply::Ok ? "ok" : "error");
            break;
        case ModemEvent::Kind::Field:
            result << QString::fromLatin1(fields[int(event.field)]) + '=' + event.value;
            break;
        case ModemEvent::Kind::Other:
            result << "other";
            break;
        }
    }
    return result;
}

} // namespace

class tst_ModemDialect : public QObject
{
    Q_OBJECT
private slots:
    void linesFromChunks_data();
    void linesFromChunks();
    void documentedForms_data();
    void documentedForms();
};

void tst_ModemDialect::linesFromChunks_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("lines");

    const QByteArray longLine(5000, 'x');
    QTest::newRow("CR, LF, CR LF and LF CR each end a line; blank lines are no lines")
        << QList<QByteArray>{"\r\nA\r\nB\n\rC\nD\r", "E\r\r\r", "\nF\n\n"}
        << QList<QByteArray>{"A", "B", "C", "D", "E", "F"};
    QTest::newRow("a line split across chunks is completed later, an unfinished one held back")
        << QList<QByteArray>{"NMBR = 55", "51234", "\rNMB"} << QList<QByteArray>{"NMBR = 5551234"};
    QTest::newRow("an endless line is cut and the rest dropped up to its end")
        << QList<QByteArray>{longLine.left(3000), longLine.mid(3000) + "\nRING\r"}
        << QList<QByteArray>{longLine.left(LineAssembler::kMaxLineLength), "RING"};
    QTest::newRow("a line of exactly the limit passes whole")
        << QList<QByteArray>{QByteArray(LineAssembler::kMaxLineLength, 'y') + "\r"}
        << QList<QByteArray>{QByteArray(LineAssembler::kMaxLineLength, 'y')};
    QTest::newRow("control bytes are dropped; tabs and high bytes are kept")
        << QList<QByteArray>{QByteArray("\x10NAME=A\0B\x7f\t\xe9\r", 14)}
        << QList<QByteArray>{"NAME=AB\t\xe9"};
}

void tst_ModemDialect::linesFromChunks()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, lines);
    QList<QByteArray> received;
    LineAssembler assembler([&](const QByteArray& line) { received << line; });
    for (const QByteArray& chunk : chunks)
        assembler.feed(chunk);
    QCOMPARE(received, lines);
}

void tst_ModemDialect::documentedForms_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QStringList>("events");
    const auto row = [](const char* name, const QByteArray& line, const QStringList& events) {
        QTest::newRow(name) << line << events;
    };
    // Replies and rings (V.250; V.253 distinctive ring "RING A"-style cadence letters and digits).
    row("OK", "OK", {"ok"});
    row("ERROR", "ERROR", {"error"});
    row("RING", "RING", {"ring"});
    row("distinctive ring, letter", "RING A", {"ring"});
    row("distinctive ring, digit", "RING 1", {"ring"});
    row("ring cadence report is no key (V.253 +VDR)", "DRON=5", {"other"});
    row("ring with other words is another report", "RINGING", {"other"});
    row("a cadence of two characters is another report", "RING 12", {"other"});
    // Formatted caller ID, Rockwell #CID=1 and V.253 +VCID=1: "tag = value", any spacing.
    row("date, spaced", "DATE = 1207", {"date=1207"});
    row("time, unspaced", "TIME=0930", {"time=0930"});
    row("number, spaced", "NMBR = 5550100", {"number=5550100"});
    row("number, several blanks and a tab", "NMBR  \t=   5550100 ", {"number=5550100"});
    row("name keeps its inner blanks", "NAME = DOE JOHN", {"name=DOE JOHN"});
    row("private number", "NMBR = P", {"number=P"});
    row("out-of-area number", "NMBR=O", {"number=O"});
    row("reason words", "NAME=OUT_OF_AREA", {"name=O"});
    row("private in words", "NMBR = PRIVATE", {"number=P"});
    // The number under its other tags: Lucent/Agere LT +VCID's dialable directory number, and variants.
    row("DDN_NMBR", "DDN_NMBR = 9415550100", {"number=9415550100"});
    row("DDN", "DDN=5205550100", {"number=5205550100"});
    row("NBR", "NBR=3125550100", {"number=3125550100"});
    row("date and time on one line", "DATE TIME=12/07 09:30", {"date=12/07", "time=09:30"});
    // MESG: a parameter the modem does not translate, in hex (Rockwell #CID "MESG = <tag><length><data>").
    row("MESG with a dialable number", "MESG = 030735353530313030", {"number=5550100"});
    row("MESG with a checksum byte", "MESG = 030735353530313030AB", {"number=5550100"});
    row("MESG without a number", "MESG = 1101", {});
    row("MESG whose last parameter has no data", "MESG = 0307353535303130300800", {"number=5550100"});
    row("MESG that is not hex", "MESG = HELLO", {});
    row("MESG of an odd number of digits", "MESG = 307353535303130300800", {});
    // ZyXEL 2864 caller number delivery, and other vendors' "KEY: value" reports.
    row("ZyXEL time", "TIME: 12-07 09:30", {"time=12-07 09:30"});
    row("ZyXEL number", "CALLER NUMBER: 3035550100", {"number=3035550100"});
    row("ZyXEL name", "CALLER NAME: DOE JANE", {"name=DOE JANE"});
    row("ZyXEL number left empty", "CALLER NUMBER: ", {"number="});
    row("caller's number", "CALLER'S NUMBER: 3125550100", {"number=3125550100"});
    row("CallerID", "CallerID: 4955550100", {"number=4955550100"});
    row("reason for no number", "REASON FOR NO CALLER NUMBER: OUT_OF_AREA", {"number=O"});
    row("reason for no name", "REASON FOR NO CALLER NAME: PRIVATE", {"name=P"});
    // ISDN terminal adapters: the called number is never the caller's.
    row("ISDN FM/TO", "FM:0895550100 TO:0895550199", {"number=0895550100"});
    row("ISDN FM alone", "FM:0895550100", {"number=0895550100"});
    row("ISDN without the caller: the called number is not taken", "FM:TO:0895550199", {"number="});
    row("ISDN ring with numbers", "RING;0895550100;0895550199", {"ring", "number=0895550100"});
    row("ISDN ring with the caller only", "RING;0895550100", {"ring", "number=0895550100"});
    row("ISDN ring without the caller", "RING;;0895550199", {"ring", "number="});
    // GSM, 3GPP TS 27.007 +CLIP: number, type, subaddress, its type, alpha, CLI validity.
    row("CLIP", "+CLIP: \"+13125550100\",145,,,,0", {"number=+13125550100"});
    row("CLIP with a phone-book name", "+CLIP: \"3125550100\",129,,,\"Ann\",0",
        {"number=3125550100", "name=Ann"});
    row("CLIP without the optional validity", "+CLIP: \"3125550100\",129,,,\"Ann\"",
        {"number=3125550100", "name=Ann"});
    row("CLIP withheld", "+CLIP: \"\",128,,,,1", {"number=P"});
    row("CLIP not available", "+CLIP: \"\",128,,,,2", {"number=O"});
    row("CLIP without a number or a reason", "+CLIP: \"\",128", {"number="});
    row("CLIP with a quote at the end only: kept whole", "+CLIP: 3125550100\"", {"number=3125550100\""});
    // Unformatted (#CID=2, +VCID=2): the Bellcore GR-30 / ETSI EN 300 659-3 message in hex.
    row("SDMF", "040F313230373039333035353530313030F7", {"date=1207", "time=0930", "number=5550100"});
    row("SDMF with the date and time alone", "040831323037303933305E", {"date=1207", "time=0930"});
    row("SDMF private", "04093132303730393330500D", {"date=1207", "time=0930", "number=P"});
    row("MDMF with number and name", "802001083132303730393330020A333132353535303130300708444F45204A4F484E89",
        {"date=1207", "time=0930", "number=3125550100", "name=DOE JOHN"});
    row("MDMF with reasons", "80100108313230373039333004014F08015024",
        {"date=1207", "time=0930", "number=O", "name=P"});
    row("a bad checksum is no call", "040F313230373039333035353530313030F8", {"other"});
    row("a parameter longer than its message is no call", "8009020A353535303130300B", {"other"});
    row("half a parameter after the last is no call", "800A020735353530313030010C", {"other"});
    row("message waiting is no call", "060B313230373039333042424293", {"other"});
    // Reports known by their first four characters before any of this.
    row("an unknown key after NMBR", "NMBRX=5", {"number=5"});
    row("a key without a value", "NMBR:5550100", {"number="});
    row("noise", "CONNECT 9600", {"other"});
}

void tst_ModemDialect::documentedForms()
{
    QFETCH(QByteArray, line);
    QFETCH(QStringList, events);
    QCOMPARE(described(readModemLine(line)), events);
}

QTEST_GUILESS_MAIN(tst_ModemDialect)
#include "tst_modemdialect.moc"
