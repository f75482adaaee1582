#include "LineAssembler.h"

#include <QTest>

class tst_LineAssembler : public QObject
{
    Q_OBJECT
private slots:
    void linesFromChunks_data();
    void linesFromChunks();
};

void tst_LineAssembler::linesFromChunks_data()
{
    QTest::addColumn<QList<QByteArray>>("chunks");
    QTest::addColumn<QList<QByteArray>>("lines");

    const QByteArray longLine(5000, 'x');
    QTest::newRow("CR ends a line") << QList<QByteArray>{"RING\r"} << QList<QByteArray>{"RING"};
    QTest::newRow("CR LF yields one line") << QList<QByteArray>{"\r\nRING\r\n"} << QList<QByteArray>{"RING"};
    QTest::newRow("LF is dropped wherever it stands")
        << QList<QByteArray>{"NM\nBR=5\n55\r"} << QList<QByteArray>{"NMBR=555"};
    QTest::newRow("a lone LF yields no line") << QList<QByteArray>{"\n\n"} << QList<QByteArray>{};
    QTest::newRow("CR after CR yields no blank line")
        << QList<QByteArray>{"OK\r\r\rRING\r"} << QList<QByteArray>{"OK", "RING"};
    QTest::newRow("a line split across chunks is completed later")
        << QList<QByteArray>{"NMBR = 55", "51234", "\r"} << QList<QByteArray>{"NMBR = 5551234"};
    QTest::newRow("an unfinished line is held back")
        << QList<QByteArray>{"RING\rNMB"} << QList<QByteArray>{"RING"};
    QTest::newRow("an endless line is cut and the rest dropped up to its CR")
        << QList<QByteArray>{longLine.left(3000), longLine.mid(3000) + "\rRING\r"}
        << QList<QByteArray>{longLine.left(LineAssembler::kMaxLineLength), "RING"};
    QTest::newRow("a line of exactly the limit passes whole")
        << QList<QByteArray>{QByteArray(LineAssembler::kMaxLineLength, 'y') + "\r"}
        << QList<QByteArray>{QByteArray(LineAssembler::kMaxLineLength, 'y')};
    QTest::newRow("NUL and high bytes are kept") << QList<QByteArray>{QByteArray("NAME=A\0B\xe9\r", 10)}
                                                 << QList<QByteArray>{QByteArray("NAME=A\0B\xe9", 9)};
}

void tst_LineAssembler::linesFromChunks()
{
    QFETCH(QList<QByteArray>, chunks);
    QFETCH(QList<QByteArray>, lines);
    QList<QByteArray> received;
    LineAssembler assembler([&](const QByteArray& line) { received << line; });
    for (const QByteArray& chunk : chunks)
        assembler.feed(chunk);
    QCOMPARE(received, lines);
}

QTEST_GUILESS_MAIN(tst_LineAssembler)
#include "tst_lineassembler.moc"
