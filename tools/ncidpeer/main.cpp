// nimbrel-ncidpeer: a stand-in NCID server that serves demo calls, or a client that prints what a server
// (Nimbrel's own, for one) sends, for trying Nimbrel's network side without other NCID software.
#include "NcidPeer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>

#include <cstdio>

namespace
{

// Calls as NCID servers send them, one after another.
const char* const kDemoCalls[] = {
    "CID: *DATE*%1*TIME*%2*LINE*POTS*NMBR*5550100*MESG*NONE*NAME*SMITH ANN*",
    "CID: *DATE*%1*TIME*%2*LINE*VOIP*NMBR*13125550100*MESG*NONE*NAME*DOE JOHN*",
    "CID: *DATE*%1*TIME*%2*LINE*POTS*NMBR*PRIVATE*MESG*NONE*NAME*PRIVATE*",
    "CID: *DATE*%1*TIME*%2*LINE*-*NMBR*OUT-OF-AREA*MESG*NONE*NAME*OUT-OF-AREA*",
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nimbrel-ncidpeer"));
    QCommandLineParser options;
    options.setApplicationDescription(
        QStringLiteral("A stand-in NCID server with demo calls, or an NCID client that "
                       "prints what a server sends."));
    options.addHelpOption();
    const QCommandLineOption portOption(QStringLiteral("port"), QStringLiteral("Serve on this port (3333)."),
                                        QStringLiteral("port"), QStringLiteral("3333"));
    const QCommandLineOption everyOption(QStringLiteral("every"),
                                         QStringLiteral("Seconds between demo calls (12)."),
                                         QStringLiteral("seconds"), QStringLiteral("12"));
    const QCommandLineOption clientOption(
        QStringLiteral("client"), QStringLiteral("Be a client of the server on this port of this machine."),
        QStringLiteral("port"));
    options.addOptions({portOption, everyOption, clientOption});
    options.process(app);

    if (options.isSet(clientOption)) {
        auto* client = new NcidPeerClient(quint16(options.value(clientOption).toUInt()), &app);
        QObject::connect(&client->socket, &QTcpSocket::readyRead, client, [client] {
            while (client->socket.canReadLine())
                std::printf("%s", client->socket.readLine().constData());
            std::fflush(stdout);
        });
        QObject::connect(&client->socket, &QTcpSocket::disconnected, &app, &QCoreApplication::quit);
        QObject::connect(&client->socket, &QTcpSocket::errorOccurred, &app, [client] {
            std::fprintf(stderr, "nimbrel-ncidpeer: %s\n", qPrintable(client->socket.errorString()));
            QCoreApplication::exit(1);
        });
        return app.exec();
    }

    NcidPeerServer server;
    if (!server.listen(quint16(options.value(portOption).toUInt()))) {
        std::fprintf(stderr, "nimbrel-ncidpeer: cannot listen on port %s\n",
                     qPrintable(options.value(portOption)));
        return 1;
    }
    std::printf("NCID server on 127.0.0.1:%u; a call every %s seconds.\n", server.port(),
                qPrintable(options.value(everyOption)));
    std::fflush(stdout);
    QTimer calls;
    int next = 0;
    QObject::connect(&calls, &QTimer::timeout, &server, [&] {
        const QDateTime now = QDateTime::currentDateTime();
        server.send(QString::fromLatin1(kDemoCalls[next++ % std::size(kDemoCalls)])
                        .arg(now.toString(QStringLiteral("MMddyyyy")), now.toString(QStringLiteral("HHmm")))
                        .toUtf8());
    });
    calls.start(options.value(everyOption).toInt() * 1000);
    return app.exec();
}
