#include "AppPaths.h"
#include "Clock.h"
#include "CommandLine.h"
#include "HelpViewer.h"
#include "MessageBox.h"
#include "ProcessExit.h"
#include "SingleInstance.h"
#include "SoundPlayer.h"
#include "SpeechEngine.h"
#include "TerminationSignals.h"
#include "TextViewer.h"
#include "frmLineInfo.h"

#include <QApplication>
#include <QSettings>
#include <QTimer>

#include <cstdio>

namespace
{

int runNimbrel(int argc, char* argv[], bool atLogin)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nimbrel"));
    QApplication::setApplicationVersion(QStringLiteral(NIMBREL_VERSION));
    QApplication::setApplicationDisplayName(QStringLiteral("Nimbrel"));
    // Lets the desktop match the window to the installed entry (its icon on Wayland's task bar).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.nimbrel.Nimbrel"));
    QApplication::setQuitOnLastWindowClosed(false);
    // Before anything is shown: logging out while a message waits must still end the program cleanly.
    // exit(), not quit(): a message box may refuse to be closed, and the end must not wait for it.
    TerminationSignals termination;
    const QMetaObject::Connection endAtOnce = QObject::connect(
        &termination, &TerminationSignals::terminationRequested, &app, [] { QApplication::exit(0); });

    SingleInstance instance;
    if (!instance.claim()) {
        QObject::connect(&instance, &SingleInstance::done, &app, [](bool delivered) {
            if (!delivered)
                std::fprintf(stderr, "Nimbrel is already running, but did not answer.\n");
            QApplication::exit(delivered ? 0 : 1);
        });
        // Queued: the answer can come at once, and exit() only ends a loop that already runs.
        QTimer::singleShot(0, &instance, &SingleInstance::activateRunning);
        return app.exec();
    }

    QSettings settings(AppPaths::settingsFile(), QSettings::IniFormat);
    SystemClock clock;
    CanberraSoundPlayer sound;
    DesktopTextViewer viewer;
    DesktopHelpViewer help;
    const MonitorDevices devices{clock, sound, viewer, help, [&clock](const QString& engineName) {
                                     return std::make_unique<QtSpeechEngine>(engineName, clock);
                                 }};
    frmLineInfo window(devices, AppPaths::forRunningProgram(), settings);
    window.setStartedAtLogin(atLogin);
    QString error;
    if (!window.Form_Load(&error)) {
        MessageBox::show(nullptr, error, MessageBox::Icon::Critical, [] { QApplication::quit(); });
        app.exec();
        return 1;
    }
    // The end runs inside the event loop, which it leaves once the database is closed: calls it still
    // owes get a few seconds to be written.
    QObject::connect(&window, &frmLineInfo::exitRequested, &window, &frmLineInfo::Form_Unload);
    QObject::disconnect(endAtOnce);
    QObject::connect(&termination, &TerminationSignals::terminationRequested, &window,
                     &frmLineInfo::Form_Unload);
    QObject::connect(&window, &frmLineInfo::unloaded, &app, [](const QString& problem) {
        if (!problem.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(problem));
        QApplication::exit(problem.isEmpty() ? 0 : 1);
    });
    QObject::connect(&instance, &SingleInstance::activationRequested, &window, [&window] {
        window.showNormal();
        window.raise();
        window.activateWindow();
    });

    const int status = app.exec();
    window.Form_Unload(); // the loop ended some other way: what the store still owes goes to its side file
    return status;
}

// Help and version are printed before Qt looks for a display.
int answerCommandLine(const CommandLine& line)
{
    switch (line.action) {
    case CommandLine::Action::PrintHelp:
        std::fputs(qPrintable(CommandLine::helpText()), stdout);
        return 0;
    case CommandLine::Action::PrintVersion:
        std::fputs(qPrintable(CommandLine::versionText()), stdout);
        return 0;
    default:
        std::fprintf(stderr, "nimbrel: %s\nTry 'nimbrel --help'.\n", qPrintable(line.error));
        return 2;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const CommandLine line = CommandLine::read(arguments);
    if (line.action != CommandLine::Action::Run)
        return answerCommandLine(line);
    endProcess(runNimbrel(argc, argv, line.atLogin));
}
