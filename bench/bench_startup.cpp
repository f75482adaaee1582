// Start-up: process start to the main window's first paint with a 1,000,000-call callerid.mdb, beside a
// bare Qt Widgets window in the same run; resident memory after start-up and after 100,000 calls.
//   bench_startup            runs the children and prints the figures
//   bench_startup bare|nimbrel|calls FOLDER   one child (internal)
#include "BenchDatabase.h"
#include "Clock.h"
#include "HelpViewer.h"
#include "SoundPlayer.h"
#include "SpeechEngine.h"
#include "TextViewer.h"
#include "frmLineInfo.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace
{

qint64 monotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

double residentMegabytes(const QByteArray& field = "VmRSS:")
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Prints the time of the first paint of a window and ends the process.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_done) {
            m_done = true;
            std::printf("%lld %.1f\n", static_cast<long long>(monotonicNs()), residentMegabytes());
            std::fflush(stdout);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return false;
    }

private:
    bool m_done = false;
};

int runChild(const QString& mode, const QString& folder, int argc, char* argv[])
{
    QApplication app(argc, argv);
    FirstPaint firstPaint;
    if (mode == QLatin1String("bare")) {
        QWidget window;
        window.resize(393, 240);
        window.installEventFilter(&firstPaint);
        window.show();
        return app.exec();
    }
    QSettings settings(folder + QStringLiteral("/Nimbrel.conf"), QSettings::IniFormat);
    SystemClock clock;
    CanberraSoundPlayer sound;
    DesktopTextViewer viewer;
    DesktopHelpViewer help;
    const MonitorDevices devices{clock, sound, viewer, help, [&clock](const QString& engine) {
                                     return std::make_unique<QtSpeechEngine>(engine, clock);
                                 }};
    frmLineInfo window(devices, AppPaths(folder, folder), settings);
    QString error;
    if (!window.Form_Load(&error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    if (mode == QLatin1String("nimbrel")) {
        window.installEventFilter(&firstPaint);
        window.show();
        return app.exec();
    }
    window.show();
    app.processEvents();
    const double atStart = residentMegabytes();
    const double anonymousAtStart = residentMegabytes("RssAnon:");
    for (int i = 0; i < 100000; ++i) {
        window.monitor().calls().ring();
        window.monitor().calls().field(CallerIdField::Number, "0207946" + QString::number(i));
        if (i % 1000 == 0)
            app.processEvents();
    }
    app.processEvents();
    std::printf("%.1f %.1f %.1f %.1f\n", atStart, residentMegabytes(), anonymousAtStart,
                residentMegabytes("RssAnon:"));
    window.Form_Unload();
    return 0;
}

struct Figures {
    double ms;
    double megabytes;
};

Figures runTimed(const QString& mode, const QString& folder)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    const qint64 started = monotonicNs();
    child.start(QCoreApplication::applicationFilePath(), {mode, folder});
    child.waitForFinished(60000);
    const QList<QByteArray> fields = child.readAllStandardOutput().trimmed().split(' ');
    return {(fields.value(0).toLongLong() - started) / 1e6, fields.value(1).toDouble()};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 3)
        return runChild(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), argc, argv);

    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QString error;
    if (!fillBenchDatabase(dir.filePath(QStringLiteral("callerid.mdb")), 1000000, 10000, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::vector<double> bare, nimbrel, bareMemory, nimbrelMemory;
    for (int run = 0; run < 7; ++run) {
        const Figures b = runTimed(QStringLiteral("bare"), dir.path());
        const Figures n = runTimed(QStringLiteral("nimbrel"), dir.path());
        bare.push_back(b.ms);
        nimbrel.push_back(n.ms);
        bareMemory.push_back(b.megabytes);
        nimbrelMemory.push_back(n.megabytes);
    }
    std::printf("start to first paint, median of 7 runs, offscreen:\n");
    std::printf("  bare Qt Widgets window:                 %6.1f ms, %5.1f MB resident\n", median(bare),
                median(bareMemory));
    std::printf(
        "  Nimbrel with a 1,000,000-call database: %6.1f ms, %5.1f MB resident (%.2fx the bare window)\n",
        median(nimbrel), median(nimbrelMemory), median(nimbrel) / median(bare));

    QProcess calls;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    calls.setProcessEnvironment(environment);
    calls.setStandardErrorFile(QProcess::nullDevice());
    calls.start(QCoreApplication::applicationFilePath(), {QStringLiteral("calls"), dir.path()});
    calls.waitForFinished(-1);
    const QList<QByteArray> memory = calls.readAllStandardOutput().trimmed().split(' ');
    std::printf("resident memory: %s MB after start-up, %s MB after 100,000 calls (growth %.1f MB)\n",
                memory.value(0).constData(), memory.value(1).constData(),
                memory.value(1).toDouble() - memory.value(0).toDouble());
    std::printf(
        "  of which the program's own (anonymous) memory: %s MB after start-up, %s MB after 100,000 calls "
        "(growth %.1f MB); the rest is shared library and font pages read from disk\n",
        memory.value(2).constData(), memory.value(3).constData(),
        memory.value(3).toDouble() - memory.value(2).toDouble());
    return 0;
}
