#pragma once

#include "FakeClock.h"
#include "FakeDevices.h"
#include "MessageBox.h"
#include "ModemSimulator.h"
#include "ScenarioPlayer.h"
#include "frmLineInfo.h"

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

// Nimbrel's main window in a program folder of its own, with fake speech and sound, simulated time and
// its settings pointing port 1 at a simulated modem. Messages are collected instead of shown.
class TestProgram
{
public:
    explicit TestProgram(const QString& profile = QStringLiteral("accept=AT#CID=1"));
    ~TestProgram();

    void load();
    void startMonitoring();
    // Modem lines, one per line of text; a line "wait" lets nine seconds pass.
    void play(const QByteArray& lines);
    // A simulator script, its waits passing in simulated time.
    void playScenario(const QList<ScenarioPlayer::Step>& steps);
    void unload();

    QString databasePath() const { return dir.filePath(QStringLiteral("callerid.mdb")); }
    // PhoneCalls as "id|number|name".
    QStringList calls() const;
    // The grid's calls as "number|name".
    QStringList gridRows() const;

    QTemporaryDir dir;
    FakeClock clock;
    QStringList spoken;
    int speechEnginesMade = 0; // the real engine does not survive a second one in the process
    FakeSound sound;
    FakeViewer viewer;
    FakeHelpViewer help;
    ModemSimulator modem;
    QSettings settings;
    std::unique_ptr<frmLineInfo> window;
    QStringList messages;
    QList<MessageBox::Icon> icons; // one for each message
    bool answerYes = true;         // the answer to every question asked
};
