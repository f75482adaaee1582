// Logs calls as fast as it can and prints each id once logCall() has returned, i.e. once the call could
// have been shown; a test kills it at a random moment and checks every printed call is in the file.
#include "CallStore.h"
#include "Clock.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    SystemClock clock;
    CallStore store(clock);
    QString error;
    if (argc < 2 || !store.openCallDatabase(QString::fromLocal8Bit(argv[1]), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    for (;;) {
        QString number = QStringLiteral("5551234"), name;
        store.logCall(number, name);
        QSqlQuery last(QSqlDatabase::database(store.connectionName()));
        last.exec(QStringLiteral("SELECT id FROM PhoneCalls ORDER BY rowid DESC LIMIT 1"));
        last.next();
        std::printf("%d\n", last.value(0).toInt());
        std::fflush(stdout);
    }
}
