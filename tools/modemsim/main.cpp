// nimbrel-modemsim: a modem on a pseudo-terminal, for demos and for trying Nimbrel without hardware.
#include "ModemSimulator.h"
#include "ScenarioPlayer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>
#include <QTimer>

#include <cstdio>

namespace
{

// Calls in the forms modems really send, one after another.
const char* const kDemoCalls[] = {
    "RING\nwait 1500\nDATE = 1207\nTIME = 0930\nNMBR = 5550100\nNAME = SMITH ANN\nwait 3500\nRING\n",
    "RING\nwait 1500\nNAME=DOE JOHN\nNMBR=5550199\nwait 3500\nRING\n",
    "RING\nwait 1500\nDATE = 1207\nTIME = 0931\nNMBR = P\nNAME = P\nwait 3500\nRING\n",
    "DATE=1207\nTIME=0932\nNMBR=02079460123\nwait 800\nRING\nwait 3500\nRING\n",
    "RING\nwait 3500\nRING\nwait 3500\nRING\n",
    "RING\nwait 1500\nDATE = 1207\nTIME = 0933\nNMBR = O\nNAME = O\nwait 3500\nRING\n",
    "RING\n+CLIP: \"+13125550100\",145,,,,0\nwait 3500\nRING\n+CLIP: \"+13125550100\",145,,,,0\n",
    "RING;0895550100;0895550199\nwait 3500\nRING;0895550100;0895550199\n",
    "RING\nwait 1500\nCALLER NUMBER: 3035550100\nCALLER NAME: DOE JANE\nwait 3500\nRING\n",
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("nimbrel-modemsim"));
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("A simulated caller-ID modem on a pseudo-terminal. "
                                                     "Prints the device path, then answers AT commands."));
    options.addHelpOption();
    const QCommandLineOption profileOption(
        QStringLiteral("profile"),
        QStringLiteral(
            "How the modem answers: accept=CMD1:CMD2, accept-none, echo, cr, silent, reset-error."),
        QStringLiteral("items"));
    const QCommandLineOption scriptOption(QStringLiteral("script"), QStringLiteral("Play this call script."),
                                          QStringLiteral("file"));
    const QCommandLineOption demoOption(QStringLiteral("demo"), QStringLiteral("Play built-in demo calls."));
    const QCommandLineOption everyOption(
        QStringLiteral("every"), QStringLiteral("Repeat the calls every so many seconds (default 12)."),
        QStringLiteral("seconds"), QStringLiteral("12"));
    const QCommandLineOption delayOption(QStringLiteral("delay"),
                                         QStringLiteral("Seconds before the first call (default 5)."),
                                         QStringLiteral("seconds"), QStringLiteral("5"));
    options.addOptions({profileOption, scriptOption, demoOption, everyOption, delayOption});
    options.process(app);

    QString error;
    const ModemProfile profile = ModemProfile::fromText(options.value(profileOption), &error);
    if (!error.isEmpty()) {
        std::fprintf(stderr, "nimbrel-modemsim: %s\n", qPrintable(error));
        return 2;
    }
    QStringList scripts;
    if (options.isSet(scriptOption)) {
        QFile file(options.value(scriptOption));
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
            std::fprintf(stderr, "nimbrel-modemsim: cannot read %s: %s\n", qPrintable(file.fileName()),
                         qPrintable(file.errorString()));
            return 2;
        }
        scripts << QString::fromUtf8(file.readAll());
    }
    if (options.isSet(demoOption)) {
        for (const char* call : kDemoCalls)
            scripts << QString::fromLatin1(call);
    }
    QList<QList<ScenarioPlayer::Step>> calls;
    for (const QString& script : std::as_const(scripts)) {
        calls << ScenarioPlayer::parse(script, &error);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "nimbrel-modemsim: %s\n", qPrintable(error));
            return 2;
        }
    }

    ModemSimulator modem(profile);
    if (!modem.start(&error)) {
        std::fprintf(stderr, "nimbrel-modemsim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(modem.devicePath()));
    std::fflush(stdout);
    QObject::connect(&modem, &ModemSimulator::commandReceived, [](const QString& command) {
        std::fprintf(stderr, "modem received: %s\n", qPrintable(command));
    });

    ScenarioPlayer player(modem);
    if (!calls.isEmpty()) {
        qsizetype next = 0;
        auto* repeat = new QTimer(&app);
        auto playNextCall = [&] {
            if (!modem.isPlugged()) {
                app.quit();
                return;
            }
            if (!player.isPlaying())
                player.play(calls.at(next++ % calls.size()));
        };
        QObject::connect(repeat, &QTimer::timeout, playNextCall);
        QTimer::singleShot(options.value(delayOption).toInt() * 1000, repeat, [&, repeat] {
            repeat->start(options.value(everyOption).toInt() * 1000);
            playNextCall();
        });
    }
    return app.exec();
}
