// nimbrel-soak: plays tens of thousands of calls, each with its own number, through the modem simulator
// into Nimbrel's main window as fast as the line takes them, with noise on the line, the modem pulled out
// and plugged back in, and the call database held locked by another program for a while; then checks
// that the database holds exactly the calls sent, in order. Prints resident memory along the way.
// Usage: nimbrel-soak [--calls N]   (offscreen; exits 1 when a call is missing or extra)
#include "Clock.h"
#include "HelpViewer.h"
#include "MessageBox.h"
#include "ModemSimulator.h"
#include "RecentCallsGrid.h"
#include "SoundPlayer.h"
#include "TextViewer.h"
#include "frmLineInfo.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace
{

// Noise on the line every so many calls; the modem is pulled out and plugged back in at a quarter and at
// three quarters of the run, and the database is held locked from the half for a tenth (at most 300 calls).
constexpr int kNoiseEvery = 50;

double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Lets the program and the simulator work until done() holds; false after timeoutMs.
bool runUntil(const std::function<bool()>& done, int timeoutMs = 20000)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

bool fail(const char* what)
{
    std::fprintf(stderr, "nimbrel-soak: %s\n", what);
    return false;
}

QStringList storedNumbers(const QString& databasePath)
{
    QStringList numbers;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("soak-check"));
        db.setDatabaseName(databasePath);
        if (db.open()) {
            QSqlQuery query(QStringLiteral("SELECT number FROM PhoneCalls ORDER BY rowid"), db);
            while (query.next())
                numbers << query.value(0).toString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("soak-check"));
    return numbers;
}

struct Soak {
    QTemporaryDir folder;
    QString link = folder.filePath(QStringLiteral("usb-Soak-Modem-if00")); // as /dev/serial/by-id names it
    ModemSimulator modem{ModemProfile::fromText(QStringLiteral("accept=AT#CID=1"), nullptr)};
    QSettings settings{folder.filePath(QStringLiteral("Nimbrel.conf")), QSettings::IniFormat};
    SystemClock clock;
    CanberraSoundPlayer sound;
    DesktopTextViewer viewer;
    DesktopHelpViewer help;
    std::unique_ptr<frmLineInfo> window;
    QStringList sent;

    bool plugIn()
    {
        QString error;
        QFile::remove(link);
        return (modem.start(&error) && QFile::link(modem.devicePath(), link)) || fail(qPrintable(error));
    }
    bool load()
    {
        settings.setValue(QStringLiteral("Properties/CommPort"), QStringLiteral("1"));
        settings.setValue(QStringLiteral("Ports/COM1"), link);
        window = std::make_unique<frmLineInfo>(MonitorDevices{clock, sound, viewer, help, {}},
                                               AppPaths(folder.path(), folder.path()), settings);
        QString error;
        if (!window->Form_Load(&error))
            return fail(qPrintable(error));
        window->monitor().startStopMonitoring();
        return runUntil([this] { return window->monitor().isMonitoring(); })
               || fail("monitoring did not start");
    }
    bool call(int index)
    {
        const QByteArray number = "5" + QByteArray::number(100000000 + index);
        modem.sendLine("RING");
        modem.sendLine("NMBR = " + number);
        if (index % 3 == 0)
            modem.sendLine("NAME = CALLER " + QByteArray::number(index));
        sent << QString::fromLatin1(number);
        // Each number is new, so the newest row shows the call once it is logged.
        return runUntil([&] {
                   return window->FlexGrid->TextMatrix(window->FlexGrid->Rows() - 2, 1) == sent.last();
               })
               || fail(qPrintable(QStringLiteral("call %1 (%2) was not shown").arg(index).arg(sent.last())));
    }
    bool unplugAndReplug()
    {
        modem.unplug();
        if (!runUntil([this] { return !window->monitor().isPortOpen(); }))
            return fail("the unplug was not noticed");
        return plugIn()
               && (runUntil([this] { return window->monitor().isMonitoring(); })
                   || fail("monitoring did not resume"));
    }
};

} // namespace

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser options;
    const QCommandLineOption callsOption(QStringLiteral("calls"), QStringLiteral("How many calls (40000)."),
                                         QStringLiteral("N"), QStringLiteral("40000"));
    options.addOption(callsOption);
    options.addHelpOption();
    options.process(app);
    const int calls = options.value(callsOption).toInt();
    if (calls < 20) {
        std::fprintf(stderr, "nimbrel-soak: --calls needs at least 20 calls\n");
        return 2;
    }
    // The offscreen platform says this at every pop-up; it means nothing here.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (text != QLatin1String("This plugin does not support raise()"))
            std::fprintf(stderr, "%s%s\n", type >= QtWarningMsg ? "warning: " : "", qPrintable(text));
    });
    MessageBox::setSink([](const QString& text, MessageBox::Icon) {
        std::fprintf(stderr, "  (message) %s\n", qPrintable(text.section(QLatin1Char('\n'), 0, 0)));
        return false;
    });

    Soak soak;
    if (!soak.plugIn() || !soak.load())
        return 1;
    QElapsedTimer elapsed;
    elapsed.start();
    std::printf("nimbrel-soak: %d calls; resident memory at start %.1f MB\n", calls, residentMegabytes());
    const int lockFrom = calls / 2;
    const int lockUntil = lockFrom + qMin(300, calls / 10);
    std::unique_ptr<QSqlDatabase> locker;
    for (int i = 0; i < calls; ++i) {
        if (i % kNoiseEvery == kNoiseEvery - 1) {
            soak.modem.sendRaw("\x01\x02+++ \xff\xfe CONNECT 9600\r\nNMB\r\nRINGING\r\n"
                               + QByteArray(300, 'x') + "\r\n");
        }
        if ((i == calls / 4 || i == calls * 3 / 4) && !soak.unplugAndReplug())
            return 1;
        if (i == lockFrom) {
            locker = std::make_unique<QSqlDatabase>(
                QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other-program")));
            locker->setDatabaseName(soak.folder.filePath(QStringLiteral("callerid.mdb")));
            if (!locker->open() || !QSqlQuery(*locker).exec(QStringLiteral("BEGIN IMMEDIATE")))
                return fail("could not lock the database"), 1;
        }
        if (i == lockUntil) {
            QSqlQuery(*locker).exec(QStringLiteral("ROLLBACK"));
            locker->close();
            locker.reset();
            QSqlDatabase::removeDatabase(QStringLiteral("other-program"));
        }
        if (!soak.call(i))
            return 1;
        if ((i + 1) % 5000 == 0 || i + 1 == RecentCallsGrid::kMaxCalls)
            std::printf("  %6d calls, %6.1f s, resident memory %.1f MB%s\n", i + 1,
                        elapsed.elapsed() / 1000.0, residentMegabytes(),
                        i + 1 == RecentCallsGrid::kMaxCalls ? " (the grid's cap)" : "");
        std::fflush(stdout);
    }
    if (!runUntil([&] { return soak.window->store().unsavedCount() == 0; }, 10000))
        return fail("calls were still unsaved at the end"), 1;
    const double seconds = elapsed.elapsed() / 1000.0;
    const double cpu = cpuSeconds();
    const double resident = residentMegabytes();
    soak.window->Form_Unload();
    const QStringList stored = storedNumbers(soak.folder.filePath(QStringLiteral("callerid.mdb")));
    std::printf("nimbrel-soak: %d calls in %.1f s (%.0f calls/s), CPU %.1f s, resident memory at the end "
                "%.1f MB; 2 unplugs, the database locked for %d calls, noise every %d calls\n",
                calls, seconds, calls / seconds, cpu, resident, lockUntil - lockFrom, kNoiseEvery);
    if (stored != soak.sent) {
        qsizetype first = 0;
        while (first < qMin(stored.size(), soak.sent.size()) && stored[first] == soak.sent[first])
            ++first;
        std::fprintf(stderr,
                     "nimbrel-soak: the database holds %lld calls, %lld were sent; first difference at "
                     "call %lld (%s stored, %s sent)\n",
                     qlonglong(stored.size()), qlonglong(soak.sent.size()), qlonglong(first),
                     qPrintable(stored.value(first)), qPrintable(soak.sent.value(first)));
        return 1;
    }
    std::printf("nimbrel-soak: every call sent is stored, once, in order\n");
    return 0;
}
