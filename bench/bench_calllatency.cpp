// Latency of one call: from the CR of the line that completes it, written by a simulated modem on a
// pseudo-terminal, to its row committed in callerid.mdb and shown in the main window's grid, with
// 1,000,000 calls in PhoneCalls and 10,000 phone-list entries.
#include "BenchDatabase.h"
#include "BenchProgram.h"
#include "BenchTiming.h"
#include "Clock.h"
#include "ModemSimulator.h"
#include "PaintWatch.h"
#include "RecentCallsGrid.h"
#include "SoundPlayer.h"
#include "TextViewer.h"
#include "frmLineInfo.h"
#include "frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int calls = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    const int rounds = 500;
    QTemporaryDir dir;
    QString error;
    QElapsedTimer fillTimer;
    fillTimer.start();
    if (!fillBenchDatabase(dir.filePath(QStringLiteral("callerid.mdb")), calls, 10000, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("filled %d calls and 10000 entries in %.1f s\n", calls, fillTimer.elapsed() / 1000.0);

    ModemSimulator modem(ModemProfile::fromText(QStringLiteral("accept=AT+VCID=1"), nullptr));
    if (!modem.start(&error))
        return 1;
    BenchProgram program(dir.path());
    program.settings.setValue(QStringLiteral("Properties/CommPort"), 1);
    program.settings.setValue(QStringLiteral("Properties/InitCallerID"), QStringLiteral("AT+VCID=1"));
    program.settings.setValue(QStringLiteral("Ports/COM1"), modem.devicePath());
    if (!program.load(dir.path()))
        return 1;
    frmLineInfo& window = *program.window;
    window.monitor().startStopMonitoring();
    runEventsUntil([&] { return !window.monitor().isStarting(); });

    std::vector<double> known, unknown, popUp;
    QElapsedTimer timer;
    PaintWatch paints;
    for (int i = 0; i < rounds; ++i) {
        if (frmSplash* splash = window.splash()) {
            splash->close();
            runEventsUntil([&] { return !window.splash(); });
        }
        modem.sendLine("RING");
        runEventsUntil(
            [&] { return window.monitor().calls().ringCount() > 0 && modem.bytesInFlight() == 0; });
        const bool inList = i % 2 == 0;
        const QByteArray number = inList ? QByteArray::number(5550000000LL + 1 + i * 19 % 10000)
                                         : "0207946" + QByteArray::number(i);
        const int rows = window.FlexGrid->Rows();
        paints.reset(&timer);
        timer.start();
        modem.sendLine("NMBR = " + number);
        runEventsUntil([&] { return window.FlexGrid->Rows() > rows; });
        (inList ? known : unknown).push_back(timer.nsecsElapsed() / 1e6);
        runEventsUntil([&] { return paints.paintedAfterMs() >= 0; });
        popUp.push_back(paints.paintedAfterMs());
    }
    std::vector<double> all = known;
    all.insert(all.end(), unknown.begin(), unknown.end());
    std::printf("call latency, CR to row committed and shown (%d calls, %d rows, 10000 entries):\n", rounds,
                calls);
    std::printf("  all:          p50 %.2f ms, p99 %.2f ms\n", percentile(all, 0.5), percentile(all, 0.99));
    std::printf("  in the list:  p50 %.2f ms, p99 %.2f ms\n", percentile(known, 0.5),
                percentile(known, 0.99));
    std::printf("  unknown:      p50 %.2f ms, p99 %.2f ms\n", percentile(unknown, 0.5),
                percentile(unknown, 0.99));
    std::printf("pop-up painted, from the same CR: p50 %.2f ms, p99 %.2f ms\n", percentile(popUp, 0.5),
                percentile(popUp, 0.99));
    window.Form_Unload();
    return 0;
}
