#include "CommandLine.h"

#include <QCommandLineParser>

CommandLine CommandLine::read(const QStringList& arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption autostart(QStringLiteral("autostart"));
    parser.addOptions({help, version, autostart});
    CommandLine line;
    if (!parser.parse(arguments)) {
        line.action = Action::Refuse;
        line.error = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        line.action = Action::Refuse;
        line.error = QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    } else if (parser.isSet(help)) {
        line.action = Action::PrintHelp;
    } else if (parser.isSet(version)) {
        line.action = Action::PrintVersion;
    }
    line.atLogin = line.action == Action::Run && parser.isSet(autostart);
    return line;
}

QString CommandLine::helpText()
{
    return QStringLiteral(
        "Usage: nimbrel [--help | --version]\n"
        "Shows who is calling, from a caller-ID modem or an NCID server: a pop-up, a doorbell, the name\n"
        "spoken, and a log of every call.\n"
        "\n"
        "  -h, --help     Print this help and end.\n"
        "  --version      Print the version and end.\n"
        "  --autostart    Used by the entry that starts Nimbrel at login (Setup, \"Start Nimbrel when I\n"
        "                 log in\"): monitor at once and start in the notification area.\n"
        "\n"
        "Settings: ~/.config/Nimbrel/Nimbrel.conf. Calls: callerid.mdb beside the program, or in\n"
        "~/.local/share/Nimbrel/ where the program folder cannot be written. See nimbrel(1).\n");
}

QString CommandLine::versionText()
{
    return QStringLiteral("Nimbrel " NIMBREL_VERSION "\n");
}
