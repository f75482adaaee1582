// Parser throughput: a stream of modem noise with a call every 256 KB, through the line assembler, the
// modem dialect and the call tracker into a real call store, at three sizes to show that the cost is linear
// in the size.
#include "CallStore.h"
#include "CallTracker.h"
#include "Clock.h"
#include "LineAssembler.h"
#include "ModemDialect.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

QByteArray makeStream(qsizetype size)
{
    QRandomGenerator random(42);
    QByteArray stream;
    stream.reserve(size + 4096);
    qsizetype nextCall = 0;
    int call = 0;
    while (stream.size() < size) {
        if (stream.size() >= nextCall) {
            stream += "\r\nRING\r\n\r\nDATE = 1207\r\n\r\nTIME = 0930\r\n\r\nNMBR = 555"
                      + QByteArray::number(call++) + "\r\n\r\nNAME = CALLER\r\n\r\nRING\r\n";
            nextCall += 256 * 1024;
        }
        const int length = int(random.bounded(1, 120));
        for (int i = 0; i < length; ++i)
            stream += char(random.bounded(32, 127));
        stream += random.bounded(4) ? "\r\n" : "\r";
    }
    return stream;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    std::printf("parser throughput (noise with a call every 256 KB, calls committed to SQLite):\n");
    for (const qsizetype megabytes : {10, 50, 100}) {
        const QByteArray stream = makeStream(megabytes * 1024 * 1024);
        QTemporaryDir dir;
        SystemClock clock;
        CallStore store(clock);
        QString error;
        if (!store.openCallDatabase(dir.filePath(QStringLiteral("callerid.mdb")), &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        CallTracker tracker(store, clock);
        int calls = 0;
        QObject::connect(&tracker, &CallTracker::callCompleted, [&] { ++calls; });
        LineAssembler lines([&](const QByteArray& line) {
            tracker.take(readModemLine(line));
            if (line.startsWith("NAME"))
                tracker.ring(); // the next call's ring, so each report is a call of its own
        });
        QElapsedTimer timer;
        timer.start();
        for (qsizetype at = 0; at < stream.size(); at += 4096)
            lines.feed(
                QByteArrayView(stream.constData() + at, std::min<qsizetype>(4096, stream.size() - at)));
        const double seconds = timer.nsecsElapsed() / 1e9;
        std::printf("  %4lld MB: %6.3f s, %7.1f MB/s, %d calls\n", static_cast<long long>(megabytes), seconds,
                    double(megabytes) / seconds, calls);
    }
    return 0;
}
