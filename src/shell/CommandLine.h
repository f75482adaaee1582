#pragma once

#include <QString>
#include <QStringList>

// What the command line asks of Nimbrel: to run (at login or not), or to print its help or version and
// end. Read before anything needs a display, so `nimbrel --version` works in any terminal.
struct CommandLine {
    enum class Action { Run, PrintHelp, PrintVersion, Refuse };

    static CommandLine read(const QStringList& arguments);
    static QString helpText();
    static QString versionText();

    Action action = Action::Run;
    // Started by the autostart entry at login.
    bool atLogin = false;
    // Why the arguments were refused, for Refuse.
    QString error;
};
