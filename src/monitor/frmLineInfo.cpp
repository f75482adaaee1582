#include "frmLineInfo.h"

#include "Accessibility.h"
#include "Announcement.h"
#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "CallRules.h"
#include "Clock.h"
#include "ElidedText.h"
#include "ImageButton.h"
#include "MessageBox.h"
#include "RecentCallsGrid.h"
#include "SerialDevices.h"
#include "SpeechEngine.h"
#include "WindowDragger.h"
#include "frmSplash.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QShortcut>
#include <QTimer>

#include <algorithm>

namespace
{

constexpr int kWidthTwips = 5900;
constexpr int kHeightTwips = 3600;
constexpr int kButtonWidth = 119;
constexpr int kButtonHeight = 22;

MessageBox::Icon iconFor(LineMonitor::MessageKind kind)
{
    return kind == LineMonitor::MessageKind::Critical ? MessageBox::Icon::Critical : MessageBox::Icon::None;
}

ButtonLabel* makeLabel(QWidget* parent, const QString& name)
{
    auto* label = new ButtonLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

frmLineInfo::frmLineInfo(const MonitorDevices& devices, const AppPaths& paths, QSettings& settings,
                         QWidget* parent)
    : QWidget(parent)
    , m_devices(devices)
    , m_paths(paths)
    , m_settings(settings)
    , m_ports(settings)
    , m_skins(paths.appPath())
    , m_store(devices.clock)
    , m_monitor(m_store, devices.clock)
    , m_sound(devices.sound, paths.appPath())
    , Timer2(devices.clock.createTimer())
    , m_speechEngineTimer(devices.clock.createTimer())
{
    setObjectName(QStringLiteral("frmLineInfo"));
    setWindowTitle(QStringLiteral("Nimbrel"));
    setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    setWindowIcon(QIcon(paths.appFile(QStringLiteral("nimbrel.png"))));
    new WindowDragger(this);
    createControls();
    wireLogic();
}

frmLineInfo::~frmLineInfo()
{
    // The other windows borrow this window's pictures and database, so they go first.
    delete m_usersList;
    delete m_report;
    delete m_commSetup;
    delete m_about;
    delete m_splash;
}

double frmLineInfo::twipsPerPixel() const
{
    return 1440.0 / logicalDpiX();
}

void frmLineInfo::createControls()
{
    // The caller boxes lie behind the grid: the user reads the current call in the grid and the pop-up.
    CallName = new QLineEdit(this);
    CallName->setObjectName(QStringLiteral("CallName"));
    Number = new QLineEdit(this);
    Number->setObjectName(QStringLiteral("Number"));
    for (QLineEdit* box : {CallName, Number})
        box->setFocusPolicy(Qt::NoFocus); // hidden behind the grid: never a stop of the Tab key
    FlexGrid = new RecentCallsGrid(this);
    FlexGrid->setObjectName(QStringLiteral("FlexGrid"));
    FlexGrid->setAccessibleName(QStringLiteral("Recent calls"));
    lblcaption = new QLabel(QStringLiteral("Nimbrel"), this);
    lblcaption->setObjectName(QStringLiteral("lblcaption"));
    QFont captionFont = lblcaption->font();
    captionFont.setBold(true);
    lblcaption->setFont(captionFont);

    struct Command {
        ButtonLabel* frmLineInfo::*image;
        ButtonLabel* frmLineInfo::*label;
        const char* imageName;
        const char* labelName;
        const char* caption;
        const char* toolTip;
        QPoint at;
        Qt::Key mnemonic; // with Alt
        bool refusedWhileMonitoring;
        void (frmLineInfo::*action)();
    };
    static const Command commands[] = {
        {&frmLineInfo::imgstart,
         &frmLineInfo::lblstart,
         "imgstart",
         "lblstart",
         "Start",
         "Start/Stop Monitoring",
         {8, 172},
         Qt::Key_S,
         false,
         &frmLineInfo::startStop},
        {&frmLineInfo::imgComm,
         &frmLineInfo::lblComm,
         "imgComm",
         "lblComm",
         "Setup...",
         "Program Setup",
         {134, 172},
         Qt::Key_U,
         true,
         &frmLineInfo::openCommSetup},
        {&frmLineInfo::ImgReport,
         &frmLineInfo::lblReport,
         "ImgReport",
         "lblReport",
         "Calls Database...",
         "Incoming Calls Database Management",
         {260, 172},
         Qt::Key_C,
         true,
         &frmLineInfo::openReport},
        {&frmLineInfo::imgList,
         &frmLineInfo::lbllist,
         "imgList",
         "lbllist",
         "Phone List...",
         "Edit phone list",
         {8, 196},
         Qt::Key_P,
         true,
         &frmLineInfo::openPhoneList},
        {&frmLineInfo::imgabout,
         &frmLineInfo::lblAbout,
         "imgabout",
         "lblAbout",
         "About...",
         "About Nimbrel",
         {134, 196},
         Qt::Key_A,
         false,
         &frmLineInfo::openAbout},
        {&frmLineInfo::imgExit,
         &frmLineInfo::lblExit,
         "imgExit",
         "lblExit",
         "Exit",
         "End Program",
         {260, 196},
         Qt::Key_X,
         false,
         &frmLineInfo::exitProgram},
    };
    for (const Command& command : commands) {
        const ImageButton::Spec spec{
            QString::fromLatin1(command.imageName), QString::fromLatin1(command.labelName),
            QString::fromLatin1(command.caption),   QRect(command.at, QSize(kButtonWidth, kButtonHeight)),
            QString::fromLatin1(command.toolTip),   QKeySequence(Qt::ALT | command.mnemonic)};
        const auto refused = [this, &command] {
            return command.refusedWhileMonitoring && m_monitor.isMonitoring();
        };
        const auto action = command.action;
        m_commands << ImageButton::add(
            this, m_skins, spec, [this, action](bool) { (this->*action)(); }, refused);
        this->*command.image = m_commands.last().image;
        this->*command.label = m_commands.last().label;
    }

    ImgMinimize = makeLabel(this, QStringLiteral("ImgMinimize"));
    ImgMinimize->setToolTip(QStringLiteral("Minimize Window"));
    ImgMinimize->setGeometry(350, 3, 16, 14);
    ImgMinimize->setScaledContents(true);
    imgClose = makeLabel(this, QStringLiteral("imgClose"));
    imgClose->setToolTip(QStringLiteral("Close Window"));
    imgClose->setGeometry(369, 3, 16, 14);
    imgClose->setScaledContents(true);

    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    Accessibility::setRole(lblStatus, QAccessible::StatusBar);
    lblStatus->setGeometry(8, 220, 377, 18);
    QFont statusFont = lblStatus->font();
    statusFont.setPointSizeF(statusFont.pointSizeF() * 0.85);
    lblStatus->setFont(statusFont);

    ImageButton::connectWindowBox(ImgMinimize, m_skins, SkinStore::MinimizeUp, SkinStore::MinimizeDown,
                                  [this] { minimizeWindow(); });
    ImageButton::connectWindowBox(imgClose, m_skins, SkinStore::CloseUp, SkinStore::CloseDown,
                                  [this] { exitProgram(); });
    connect(FlexGrid, &RecentCallsGrid::cellDoubleClicked, this, &frmLineInfo::FlexGrid_DblClick);
    // The pop-up never takes the keyboard, so Escape in this window closes it.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &frmLineInfo::closeSplash);
}

void frmLineInfo::wireLogic()
{
    connect(&m_monitor, &LineMonitor::monitoringChanged, this, &frmLineInfo::showMonitoringState);
    connect(&m_monitor, &LineMonitor::startingChanged, this, [this](bool starting) {
        if (starting)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
    connect(&m_monitor, &LineMonitor::message, this,
            [this](const QString& text, LineMonitor::MessageKind kind) {
                MessageBox::show(this, text, iconFor(kind));
            });
    connect(&m_monitor, &LineMonitor::statusChanged, lblStatus,
            [this](const QString& text) { showStatus(text); });
    connect(&m_store, &CallStore::storeFailed, this, [this](const QString& text) {
        showStatus(QStringLiteral("Calls are not being saved: see the message."));
        MessageBox::show(this, text, MessageBox::Icon::Warning);
    });
    connect(&m_store, &CallStore::closed, this, &frmLineInfo::unloaded);
    connect(&m_store, &CallStore::storeRecovered, this,
            [this] { showStatus(QStringLiteral("The call database accepts calls again; all saved.")); });
    connect(&m_monitor, &LineMonitor::callCompleted, this, [this](const LoggedCall& call, bool ringDoorbell) {
        FlexGrid->appendCall(call);
        fitGridColumns();
        showCallerBoxes();
        showSplash(call, ringDoorbell);
    });
    connect(&m_monitor, &LineMonitor::callUpdated, this, [this](const LoggedCall& call, bool ringDoorbell) {
        FlexGrid->updateLastCall(call);
        fitGridColumns();
        showCallerBoxes();
        updateSplash(call, ringDoorbell);
    });
    connect(&m_monitor, &LineMonitor::callOver, this, [this] {
        closeSplash();
        showCallerBoxes();
    });
    Timer2->setSingleShot(true);
    m_speechEngineTimer->setSingleShot(true);
    connect(m_speechEngineTimer.get(), &ClockTimer::timeout, this, [this] {
        if (m_devices.makeSpeechEngine)
            m_speechEngine = m_devices.makeSpeechEngine(m_options.speechEngine);
        m_speech.setEngine(m_speechEngine.get());
    });
    connect(Timer2.get(), &ClockTimer::timeout, this, &frmLineInfo::Timer2_Timer);
}

bool frmLineInfo::Form_Load(QString* error)
{
    ImageButton::loadWindow(this, m_skins, m_commands);
    const double twips = twipsPerPixel();
    resize(int(kWidthTwips / twips), int(kHeightTwips / twips));
    FlexGrid->setGeometry(8, 18, 371, 150);
    lblcaption->move(8, 2);
    ButtonLook::setPicture(ImgMinimize, m_skins, SkinStore::MinimizeUp);
    ButtonLook::setPicture(imgClose, m_skins, SkinStore::CloseUp);
    Number->setGeometry(200, 148, 160, 18);
    CallName->setGeometry(26, 148, 160, 18);

    m_options = MonitorSettings::load(m_settings, m_ports);
    m_monitor.setPort(m_options.commPort, m_ports.devicePath(m_options.commPort));
    m_monitor.calls().setUseNameList(m_options.useNameList);
    m_monitor.setInitCallerID(m_options.initCallerID);
    m_monitor.setNcidServer(m_options.ncidHost, m_options.ncidPort);
    showCallerBoxes();
    restorePosition();
    m_tray.AddTrayIcon(windowIcon(), QStringLiteral("Nimbrel"), this);
    // Started at login: out of the way, in the notification area where there is one.
    if (!m_startedAtLogin)
        ShowForm(this);
    else if (!m_tray.isShown())
        showMinimized();

    if (!m_store.openCallDatabase(m_paths.dataFile(QStringLiteral("callerid.mdb")), error))
        return false;
    if (!m_paths.notice().isEmpty())
        MessageBox::show(this, m_paths.notice(), MessageBox::Icon::Information);
    fitGridColumns();
    if (m_options.serveNcid)
        serveNcid();
    m_speechEngineTimer->start(kSpeechEngineDelayMs);
    armSpeech(QStringLiteral("Welcome to. Nimbrel"));
    if (m_options.startMonitoring || m_startedAtLogin)
        QTimer::singleShot(0, &m_monitor, &LineMonitor::startStopMonitoring);
    m_loaded = true;
    return true;
}

void frmLineInfo::serveNcid()
{
    auto server = std::make_unique<NcidServer>(
        m_devices.clock, [this] { return m_store.recentCalls(NcidServer::kCallLogLength); });
    QString error;
    if (!server->listen(m_options.serveNcidAddress, m_options.serveNcidPort, m_options.serveNcidAllow,
                        &error)) {
        showStatus(error + QStringLiteral(" Other screens get no calls; see ServeNCID in the settings."));
        return;
    }
    connect(server.get(), &NcidServer::clientTurnedAway, this,
            [](const QString& why) { qWarning("%s", qPrintable(why)); });
    connect(&m_monitor, &LineMonitor::callSettled, server.get(), &NcidServer::announceCall);
    connect(&m_monitor, &LineMonitor::rang, server.get(), &NcidServer::announceRing);
    connect(&m_monitor, &LineMonitor::callOver, server.get(),
            [server = server.get()] { server->announceRing(0); });
    m_monitor.setOwnNcidPort(server->port());
    m_ncidServer = std::move(server);
}

void frmLineInfo::restorePosition()
{
    bool hasTop = false, hasLeft = false;
    const double top = m_settings.value(QStringLiteral("Window/Top")).toDouble(&hasTop);
    const double left = m_settings.value(QStringLiteral("Window/Left")).toDouble(&hasLeft);
    if (!hasTop || !hasLeft)
        return;
    const QPoint position(int(left / twipsPerPixel()), int(top / twipsPerPixel()));
    // Only on a screen that is still there (screens come and go between runs), and wholly on it: a window
    // saved at another scale factor can come back partly off the screen.
    const QScreen* screen = QGuiApplication::screenAt(position + QPoint(20, 10));
    if (!screen || !screen->availableGeometry().contains(position + QPoint(20, 10)))
        return;
    const QRect area = screen->availableGeometry();
    move(std::clamp(position.x(), area.left(), std::max(area.left(), area.right() + 1 - width())),
         std::clamp(position.y(), area.top(), std::max(area.top(), area.bottom() + 1 - height())));
}

void frmLineInfo::Form_Unload()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    m_monitor.closePort();
    if (!isMinimized() && !isMaximized()) {
        m_settings.setValue(QStringLiteral("Window/Top"), QString::number(qRound(y() * twipsPerPixel())));
        m_settings.setValue(QStringLiteral("Window/Left"), QString::number(qRound(x() * twipsPerPixel())));
        m_options.useNameList = m_monitor.calls().useNameList();
        m_options.initCallerID = m_monitor.initCallerID();
        m_options.saveOptions(m_settings);
    }
    m_settings.sync();
    hide();             // the database may take a few seconds more to write what it owes
    delete m_usersList; // they use the database connection, which closes next
    delete m_report;
    m_ncidServer.reset();
    m_store.closeCallDatabase();
    m_tray.RemoveTrayIcon();
    closeSplash();
    Timer2->stop();
    if (m_speechEngine)
        m_speechEngine->stop();
}

void frmLineInfo::showSplash(const LoggedCall& call, bool ringDoorbell)
{
    // Each call is logged once, so every showing is a new caller: the pop-up loads for it.
    if (!m_splash)
        m_splash = new frmSplash(m_skins, m_sound, [this](const QString& text) { armSpeech(text); });
    m_splash->Form_Load(call.name, call.number, ringDoorbell);
}

void frmLineInfo::updateSplash(const LoggedCall& call, bool ringDoorbell)
{
    // A late lookup rings the doorbell even when the user has closed the pop-up: the call still rings.
    if (ringDoorbell)
        m_sound.PlayDoorbell();
    if (m_splash)
        m_splash->updateCaller(call.name, call.number);
    // The announcement not yet said is brought up to date; one already said is not repeated.
    if (Timer2->isActive())
        AnnounceText = announcementFor(call.name);
}

void frmLineInfo::openPhoneList()
{
    // An open editor is shown again as it stands; it reads the unknown number only when it loads.
    if (!m_usersList || m_usersList->isHidden()) {
        m_usersList = new frmUsersList(m_skins, m_speech, m_store);
        m_usersList->Form_Load(m_monitor.calls().unknownNumber());
    }
    ShowForm(m_usersList);
}

void frmLineInfo::openReport()
{
    if (!m_report || m_report->isHidden()) {
        m_report = new frmReport(m_skins, m_store, m_devices.viewer, m_devices.clock,
                                 m_paths.dataFile(QStringLiteral("CallLog.txt")));
        m_report->Form_Load();
    }
    ShowForm(m_report);
}

void frmLineInfo::openCommSetup()
{
    // Built anew at every opening, so a modem plugged in meanwhile is found.
    if (!m_commSetup || m_commSetup->isHidden()) {
        delete m_commSetup;
        const auto detect = [this] {
            const QDir configFolder = QFileInfo(m_settings.fileName()).absoluteDir();
            QStringList regFiles{m_paths.appFile(QStringLiteral("modems.reg")),
                                 configFolder.filePath(QStringLiteral("modems.reg"))};
            regFiles.removeDuplicates();
            return ModemDetection::detect(scanSerialDevices(m_devices.machineRoot), m_ports, regFiles);
        };
        // The autostart folder lies beside the settings' folder: $XDG_CONFIG_HOME/autostart.
        const QString autostartEntry = QFileInfo(m_settings.fileName())
                                           .absoluteDir()
                                           .filePath(QStringLiteral("../autostart/nimbrel.desktop"));
        m_commSetup = new CommSetup(
            m_skins, m_monitor, m_ports, m_settings, ManualPort, detect,
            Autostart(QDir::cleanPath(autostartEntry), m_paths.appFile(QStringLiteral("nimbrel"))));
        m_commSetup->Form_Load();
    }
    ShowForm(m_commSetup);
}

void frmLineInfo::openAbout()
{
    if (!m_about || m_about->isHidden()) {
        delete m_about;
        m_about = new frmAbout(
            m_skins, m_devices.help,
            {m_paths.appPath(), m_paths.dataFile(QStringLiteral("callerid.mdb")), m_settings.fileName()});
        m_about->Form_Load();
    }
    ShowForm(m_about);
}

void frmLineInfo::closeSplash()
{
    if (m_splash)
        m_splash->close();
}

void frmLineInfo::showMonitoringState(bool monitoring)
{
    lblstart->setText(monitoring ? QStringLiteral("Stop") : QStringLiteral("Start"));
    const QColor color = monitoring ? ButtonLook::refusedColor() : ButtonLook::kReleasedColor;
    for (QLabel* label : {lblComm, lblReport, lbllist})
        ButtonLook::setForeColor(label, color);
}

void frmLineInfo::showStatus(const QString& text)
{
    ElidedText::show(lblStatus, text, lblStatus->width());
}

void frmLineInfo::showCallerBoxes()
{
    Number->setText(m_monitor.calls().number());
    CallName->setText(m_monitor.calls().callName());
}

void frmLineInfo::fitGridColumns()
{
    FlexGrid->FitGridColumns(font(), twipsPerPixel());
}

void frmLineInfo::FlexGrid_DblClick(int row, int column)
{
    const LoggedCall call = FlexGrid->callAt(row);
    if (column != 2 || call.name != CallRules::kUnknownCaller)
        return;
    m_monitor.calls().setUnknownNumber(call.number);
    openPhoneList();
}

void frmLineInfo::closeEvent(QCloseEvent* event)
{
    event->ignore();
    exitProgram();
}

void frmLineInfo::armSpeech(const QString& text)
{
    AnnounceText = text;
    if (!Timer2->isActive())
        Timer2->start(kSpeechDelayMs);
}

void frmLineInfo::Timer2_Timer()
{
    m_speech.SpeakText(AnnounceText);
}
