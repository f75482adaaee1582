// The network paths: (1) an NCID server's "CID:" line to its row committed in callerid.mdb (1,000,000 calls,
// 10,000 phone-list entries) and shown in the grid, and to the pop-up painted; (2) one call served by
// Nimbrel's NCID server to 100 connected clients, with and without one more client that never reads.
#include "BenchDatabase.h"
#include "BenchProgram.h"
#include "BenchTiming.h"
#include "NcidPeer.h"
#include "NcidServer.h"
#include "PaintWatch.h"
#include "RecentCallsGrid.h"
#include "frmSplash.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <algorithm>
#include <arpa/inet.h>
#include <cstdio>
#include <functional>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

void print(const char* what, const std::vector<double>& ms)
{
    std::printf("  %-44s p50 %6.2f ms   p99 %6.2f ms   max %6.2f ms\n", what, percentile(ms, 0.5),
                percentile(ms, 0.99), percentile(ms, 1.0));
}

bool networkPath(int calls)
{
    QTemporaryDir dir;
    QString error;
    if (!fillBenchDatabase(dir.filePath(QStringLiteral("callerid.mdb")), calls, 10000, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    NcidPeerServer server;
    if (!server.listen())
        return false;
    BenchProgram program(dir.path());
    program.settings.setValue(QStringLiteral("Properties/Source"),
                              QStringLiteral("ncid://127.0.0.1:%1").arg(server.port()));
    if (!program.load(dir.path()))
        return false;
    frmLineInfo& window = *program.window;
    window.monitor().startStopMonitoring();
    runEventsUntil([&] { return server.clientCount() == 1 && !server.received.isEmpty(); });
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);

    std::vector<double> shown, painted;
    QElapsedTimer timer;
    PaintWatch paints;
    for (int i = 0; i < 300; ++i) {
        if (frmSplash* splash = window.splash()) {
            splash->close();
            runEventsUntil([&] { return !window.splash() || splash->isHidden(); });
        }
        const int rows = window.FlexGrid->Rows();
        const QByteArray number =
            i % 2 ? QByteArray::number(5550000000LL + 1 + i * 19 % 10000) : "0207946" + QByteArray::number(i);
        paints.reset(&timer);
        timer.start();
        server.send("CID: *DATE*12072026*TIME*0930*LINE*POTS*NMBR*" + number + "*MESG*NONE*NAME*CALLER*");
        runEventsUntil([&] { return window.FlexGrid->Rows() > rows; });
        shown.push_back(timer.nsecsElapsed() / 1e6);
        runEventsUntil([&] { return paints.paintedAfterMs() >= 0; });
        painted.push_back(paints.paintedAfterMs());
    }
    std::printf("network path, CID: line to (300 calls, %d rows, 10000 entries):\n", calls);
    print("row committed and shown in the grid", shown);
    print("pop-up painted", painted);
    return true;
}

int stalledClient(quint16 port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const int buffer = 1024;
    ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    return fd;
}

bool fanOut(bool withStalledClient)
{
    SystemClock clock;
    NcidServer server(clock, [] { return QList<NcidServer::Call>(); });
    QString error;
    if (!server.listen("127.0.0.1", 0, {}, &error))
        return false;
    // First, while the server's queue of connections has room: its connect() blocks.
    const int stalled = withStalledClient ? stalledClient(server.port()) : -1;
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    std::vector<int> linesRead(100, 0);
    for (int i = 0; i < 100; ++i) {
        clients.push_back(std::make_unique<QTcpSocket>());
        QTcpSocket* client = clients.back().get();
        QObject::connect(client, &QTcpSocket::readyRead, [client, &linesRead, i] {
            while (client->canReadLine()) {
                client->readLine();
                ++linesRead[size_t(i)];
            }
        });
        client->connectToHost(QHostAddress::LocalHost, server.port());
    }
    runEventsUntil([&] { return server.clientCount() == 100 + (withStalledClient ? 1 : 0); });
    runEventsUntil(
        [&] { return std::all_of(linesRead.begin(), linesRead.end(), [](int n) { return n >= 2; }); });

    std::vector<double> allReceived;
    QElapsedTimer timer;
    const NcidServer::Call call{QDateTime::currentDateTime(), QStringLiteral("5550100"),
                                QStringLiteral("ANN SMITH")};
    for (int round = 1; round <= 200; ++round) {
        timer.start();
        server.announceCall(call);
        runEventsUntil([&] {
            return std::all_of(linesRead.begin(), linesRead.end(), [round](int n) { return n >= 2 + round; });
        });
        allReceived.push_back(timer.nsecsElapsed() / 1e6);
    }
    print(withStalledClient ? "100 clients and one that never reads" : "100 clients", allReceived);
    if (stalled >= 0)
        ::close(stalled);
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int calls = argc > 1 ? QByteArray(argv[1]).toInt() : 1000000;
    if (!networkPath(calls))
        return 1;
    std::printf("one call served to every client, from announceCall to the line read by all (200 calls):\n");
    return fanOut(false) && fanOut(true) ? 0 : 1;
}
