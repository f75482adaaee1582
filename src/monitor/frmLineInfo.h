#pragma once

#include "AppPaths.h"
#include "CallStore.h"
#include "CommSetup.h"
#include "ImageButton.h"
#include "LineMonitor.h"
#include "MonitorDevices.h"
#include "MonitorSettings.h"
#include "NcidServer.h"
#include "PortTable.h"
#include "SkinStore.h"
#include "SoundService.h"
#include "SpeechService.h"
#include "TrayIcon.h"
#include "frmAbout.h"
#include "frmReport.h"
#include "frmSplash.h"
#include "frmUsersList.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class ButtonLabel;
class ClockTimer;
class QLabel;
class QLineEdit;
class QSettings;
class RecentCallsGrid;
class SpeechEngine;

// The main window: the recent-calls grid, the caller boxes and the commands, over the line monitor. It
// lives from start to exit.
class frmLineInfo : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kSpeechDelayMs = 1500;
    // Some speech engines take seconds to start: the engine is made once the window is up, never on a call.
    static constexpr int kSpeechEngineDelayMs = 300;

    frmLineInfo(const MonitorDevices& devices, const AppPaths& paths, QSettings& settings,
                QWidget* parent = nullptr);
    ~frmLineInfo() override;

    // Started by the autostart entry at login: Form_Load starts monitoring at once and keeps the window
    // in the notification area (minimised where there is none).
    void setStartedAtLogin(bool atLogin) { m_startedAtLogin = atLogin; }
    // Applies the stored settings and opens the call database; false with *error when the database
    // cannot be used.
    bool Form_Load(QString* error);
    // Closes the port, stores the options and position (in the normal window state) and closes the
    // database, which may first take a few seconds to write the calls it still owes (`unloaded` tells
    // the end). Runs once, however the program is ended.
    void Form_Unload();

    // Says the text 1.5 seconds from now; a second arming before then replaces the text, not the time.
    void armSpeech(const QString& text);
    QString AnnounceText;

    RecentCallsGrid* FlexGrid = nullptr;
    QLabel* lblcaption = nullptr;
    QLabel* lblStatus = nullptr;
    QLineEdit* Number = nullptr;
    QLineEdit* CallName = nullptr;
    ButtonLabel* imgstart = nullptr;
    ButtonLabel* lblstart = nullptr;
    ButtonLabel* imgComm = nullptr;
    ButtonLabel* lblComm = nullptr;
    ButtonLabel* ImgReport = nullptr;
    ButtonLabel* lblReport = nullptr;
    ButtonLabel* imgList = nullptr;
    ButtonLabel* lbllist = nullptr;
    ButtonLabel* imgabout = nullptr;
    ButtonLabel* lblAbout = nullptr;
    ButtonLabel* imgExit = nullptr;
    ButtonLabel* lblExit = nullptr;
    ButtonLabel* ImgMinimize = nullptr;
    ButtonLabel* imgClose = nullptr;

    CallStore& store() { return m_store; }
    LineMonitor& monitor() { return m_monitor; }
    SpeechService& speech() { return m_speech; }
    SoundService& sound() { return m_sound; }
    const SkinStore& skins() const { return m_skins; }
    TrayIcon& tray() { return m_tray; }
    // The incoming-call pop-up while it is open.
    frmSplash* splash() const { return m_splash; }
    // The phone list editor while it is open.
    frmUsersList* usersList() const { return m_usersList; }
    // The calls database window while it is open.
    frmReport* report() const { return m_report; }
    double twipsPerPixel() const;

    // The setup dialog while it is open.
    CommSetup* commSetup() const { return m_commSetup; }
    // Nimbrel's own NCID server while it serves.
    NcidServer* ncidServer() const { return m_ncidServer.get(); }
    // The about box while it is open.
    frmAbout* about() const { return m_about; }
    // The port last chosen by hand in setup, kept for the rest of the run.
    int ManualPort = 0;

signals:
    void exitRequested();
    // Form_Unload has ended: the database is closed. `problem` names calls it could not write, and
    // where they are kept; empty when all were saved.
    void unloaded(const QString& problem);

protected:
    // A close from the window manager (Alt+F4, the task bar) ends the program as the close box does.
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void wireLogic();
    void restorePosition();
    void serveNcid();
    void showMonitoringState(bool monitoring);
    void showCallerBoxes();
    // The status line, cut to its width; the whole text in its tooltip.
    void showStatus(const QString& text);
    void fitGridColumns();
    void showSplash(const LoggedCall& call, bool ringDoorbell);
    void updateSplash(const LoggedCall& call, bool ringDoorbell);
    void closeSplash();
    void FlexGrid_DblClick(int row, int column);
    void Timer2_Timer();
    void startStop() { m_monitor.startStopMonitoring(); }
    void openCommSetup();
    void openReport();
    void openPhoneList();
    void openAbout();
    void exitProgram() { emit exitRequested(); }
    void minimizeWindow() { showMinimized(); }

    MonitorDevices m_devices;
    AppPaths m_paths;
    QSettings& m_settings;
    PortTable m_ports;
    MonitorSettings m_options;
    SkinStore m_skins;
    CallStore m_store;
    LineMonitor m_monitor;
    QList<ImageButton::Parts> m_commands;
    std::unique_ptr<SpeechEngine> m_speechEngine;
    SpeechService m_speech;
    SoundService m_sound;
    std::unique_ptr<ClockTimer> Timer2;
    std::unique_ptr<ClockTimer> m_speechEngineTimer;
    TrayIcon m_tray;
    QPointer<frmSplash> m_splash;
    QPointer<frmUsersList> m_usersList;
    QPointer<frmReport> m_report;
    QPointer<CommSetup> m_commSetup;
    std::unique_ptr<NcidServer> m_ncidServer;
    QPointer<frmAbout> m_about;
    bool m_loaded = false;
    bool m_startedAtLogin = false;
};
