// Bytes from the modem, through the line assembler and the dialects into the call tracker and a call
// database on /dev/shm: no input may crash, hang or corrupt the store. A BEL byte (which the assembler
// drops) lets five seconds of simulated time pass, so rings time out and calls end.
#include "CallStore.h"
#include "CallTracker.h"
#include "FakeClock.h"
#include "FuzzApplication.h"
#include "LineAssembler.h"
#include "ModemDialect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir& dir = fuzzFolder();
    static FakeClock clock;
    // Never destroyed: Qt's database registry is gone before static objects are at exit.
    static CallStore& store = *new CallStore(clock);
    static const bool opened = [] {
        QString error;
        if (!store.openCallDatabase(dir.filePath(QStringLiteral("callerid.mdb")), &error))
            qFatal("%s", qPrintable(error));
        return true;
    }();
    Q_UNUSED(opened);

    CallTracker tracker(store, clock);
    tracker.setUseNameList(size % 2 == 0);
    LineAssembler lines([&tracker](const QByteArray& line) { tracker.take(readModemLine(line)); });
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    qsizetype from = 0;
    for (qsizetype at = 0; at <= bytes.size(); ++at) {
        if (at == bytes.size() || bytes[at] == '\a') {
            lines.feed(bytes.sliced(from, at - from));
            clock.advance(5000);
            from = at + 1;
        }
    }
    clock.advance(60000);
    return 0;
}
