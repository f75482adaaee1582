// A report of 1,000,000 calls and the clearing of all of them, each beside the sqlite3 tool doing the
// same work on a copy of the same file in the same run.
#include "BenchDatabase.h"
#include "CallStore.h"
#include "Clock.h"
#include "ReportJobs.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace
{

const CallRange kEverything{QDateTime(QDate(2001, 1, 1), QTime(0, 0)),
                            QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59))};

double runJob(CallsJob& job)
{
    QEventLoop loop; // a benchmark may wait; the program never does
    QObject::connect(&job, &CallsJob::finished, &loop, [&](bool ok, const QString& message) {
        if (!ok)
            std::fprintf(stderr, "%s\n", qPrintable(message));
        loop.quit();
    });
    QElapsedTimer timer;
    timer.start();
    loop.exec();
    return timer.nsecsElapsed() / 1e9;
}

double runTool(const QString& database, const QString& sql, const QString& output = {})
{
    QProcess tool;
    if (!output.isEmpty())
        tool.setStandardOutputFile(output);
    QElapsedTimer timer;
    timer.start();
    tool.start(QStringLiteral("sqlite3"), {database, sql});
    tool.waitForFinished(-1);
    if (tool.exitCode() != 0)
        std::fprintf(stderr, "sqlite3: %s\n", tool.readAllStandardError().constData());
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString ours = dir.filePath(QStringLiteral("callerid.mdb"));
    const QString theirs = dir.filePath(QStringLiteral("copy.mdb"));
    QString error;
    if (!fillBenchDatabase(ours, 1000000, 10000, &error) || !QFile::copy(ours, theirs)) {
        std::fprintf(stderr, "cannot make the database: %s\n", qPrintable(error));
        return 1;
    }
    const QString where = QStringLiteral(" FROM PhoneCalls WHERE datetime >= '%1' AND datetime <= '%2'")
                              .arg(kEverything.storedStart(), kEverything.storedEnd());

    SystemClock clock;
    CallStore store(clock);
    if (!store.openCallDatabase(ours, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    ReportWriter writer(store.database(), dir.filePath(QStringLiteral("CallLog.txt")), kEverything);
    bool anyCall = false;
    if (!writer.start(&anyCall, &error))
        return 1;
    const double report = runJob(writer);
    // The same lines: the date and time as text in the day-month-year order of a short date, CR LF.
    const double toolReport = runTool(theirs,
                                      "SELECT number || ' , ' || name || ' , ' || "
                                      "strftime('%d/%m/%Y %H:%M:%S', datetime) || char(13)"
                                          + where + " ORDER BY datetime",
                                      dir.filePath(QStringLiteral("tool.txt")));
    std::printf("report of %d calls: Nimbrel %.2f s, sqlite3 %.2f s (%.2fx)\n", writer.done(), report,
                toolReport, report / toolReport);

    CallsClearer clearer(store, kEverything);
    clearer.count(&error);
    if (!clearer.start(&error))
        return 1;
    const double clear = runJob(clearer);
    const double toolClear = runTool(theirs, "DELETE" + where);
    std::printf("clearing %d calls: Nimbrel %.2f s, sqlite3 %.2f s (%.2fx)\n", clearer.done(), clear,
                toolClear, clear / toolClear);
    store.closeCallDatabase();
    return 0;
}
