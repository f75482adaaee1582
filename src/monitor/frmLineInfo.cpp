#include "frmLineInfo.h"

#include "Announcement.h"
#include "ButtonLabel.h"
#include "ButtonLook.h"
#include "Clock.h"
#include "ImageButton.h"
#include "MessageBox.h"
#include "RecentCallsGrid.h"
#include "SpeechEngine.h"
#include "WindowDragger.h"
#include "frmSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSettings>
#include <QTimer>

namespace
{

constexpr int kWidthTwips = 5900;
constexpr int kHeightTwips = 3600;
constexpr int kButtonWidth = 119;
constexpr int kButtonHeight = 22;

MessageBox::Icon iconFor(MonitoringControl::MessageKind kind)
{
    return kind == MonitoringControl::MessageKind::Critical ? MessageBox::Icon::Critical
                                                            : MessageBox::Icon::None;
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
    , Comm1(devices.clock)
    , m_parser(m_store, devices.clock)
    , m_control(Comm1, m_parser, devices.clock)
    , m_lines([this](const QByteArray& line) { m_parser.parseLine(line); })
    , m_sound(devices.sound, paths.appPath())
    , Timer1(devices.clock.createTimer())
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
    FlexGrid = new RecentCallsGrid(this);
    FlexGrid->setObjectName(QStringLiteral("FlexGrid"));
    lblcaption = new QLabel(QStringLiteral("Nimbrel"), this);
    lblcaption->setObjectName(QStringLiteral("lblcaption"));
    QFont captionFont = lblcaption->font();
    captionFont.setBold(true);
    lblcaption->setFont(captionFont);

    addCommand(imgstart, lblstart, QStringLiteral("imgstart"), QStringLiteral("lblstart"),
               QStringLiteral("Start"), QStringLiteral("Start/Stop Monitoring"), QPoint(8, 172), false,
               &frmLineInfo::startStop);
    addCommand(imgComm, lblComm, QStringLiteral("imgComm"), QStringLiteral("lblComm"),
               QStringLiteral("Setup..."), QStringLiteral("Program Setup"), QPoint(134, 172), true,
               &frmLineInfo::openCommSetup);
    addCommand(ImgReport, lblReport, QStringLiteral("ImgReport"), QStringLiteral("lblReport"),
               QStringLiteral("Calls Database..."), QStringLiteral("Incoming Calls Database Management"),
               QPoint(260, 172), true, &frmLineInfo::openReport);
    addCommand(imgList, lbllist, QStringLiteral("imgList"), QStringLiteral("lbllist"),
               QStringLiteral("Phone List..."), QStringLiteral("Edit phone list"), QPoint(8, 196), true,
               &frmLineInfo::openPhoneList);
    addCommand(imgabout, lblAbout, QStringLiteral("imgabout"), QStringLiteral("lblAbout"),
               QStringLiteral("About..."), QStringLiteral("About Nimbrel"), QPoint(134, 196), false,
               &frmLineInfo::openAbout);
    addCommand(imgExit, lblExit, QStringLiteral("imgExit"), QStringLiteral("lblExit"), QStringLiteral("Exit"),
               QStringLiteral("End Program"), QPoint(260, 196), false, &frmLineInfo::exitProgram);

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
    lblStatus->setGeometry(8, 220, 377, 18);
    QFont statusFont = lblStatus->font();
    statusFont.setPointSizeF(statusFont.pointSizeF() * 0.85);
    lblStatus->setFont(statusFont);

    ImageButton::connectWindowBox(ImgMinimize, m_skins, SkinStore::MinimizeUp, SkinStore::MinimizeDown,
                                  [this] { minimizeWindow(); });
    ImageButton::connectWindowBox(imgClose, m_skins, SkinStore::CloseUp, SkinStore::CloseDown,
                                  [this] { exitProgram(); });
    connect(FlexGrid, &RecentCallsGrid::cellDoubleClicked, this, &frmLineInfo::FlexGrid_DblClick);
}

void frmLineInfo::addCommand(ButtonLabel*& image, ButtonLabel*& label, const QString& imageName,
                             const QString& labelName, const QString& caption, const QString& tooltip,
                             QPoint at, bool refusedWhileMonitoring, void (frmLineInfo::*action)())
{
    const ImageButton::Parts button = ImageButton::create(
        this, imageName, labelName, caption, QRect(at, QSize(kButtonWidth, kButtonHeight)), tooltip);
    const auto refused = [this, refusedWhileMonitoring] {
        return refusedWhileMonitoring && lblstart->text() != QLatin1String("Start");
    };
    ImageButton::connect(
        button, m_skins, [this, action](bool) { (this->*action)(); }, refused);
    image = button.image;
    label = button.label;
}

void frmLineInfo::wireLogic()
{
    connect(&Comm1, &SerialLine::received, this, [this](const QByteArray& bytes) { m_lines.feed(bytes); });
    connect(&m_control, &MonitoringControl::monitoringChanged, this, &frmLineInfo::showMonitoringState);
    connect(&m_control, &MonitoringControl::startingChanged, this, [this](bool starting) {
        if (starting)
            setCursor(Qt::WaitCursor);
        else
            unsetCursor();
    });
    connect(&m_control, &MonitoringControl::message, this,
            [this](const QString& text, MonitoringControl::MessageKind kind) {
                MessageBox::show(this, text, iconFor(kind));
            });
    connect(&m_control, &MonitoringControl::statusChanged, lblStatus, &QLabel::setText);
    connect(&m_store, &CallStore::storeFailed, this, [this](const QString& text) {
        lblStatus->setText(QStringLiteral("Calls are not being saved: see the message."));
        MessageBox::show(this, text, MessageBox::Icon::Warning);
    });
    connect(&m_store, &CallStore::storeRecovered, this, [this] {
        lblStatus->setText(QStringLiteral("The call database accepts calls again; all saved."));
    });
    connect(&m_parser, &CallParser::callCompleted, this, [this](const LoggedCall& call) {
        FlexGrid->appendCall(call);
        fitGridColumns();
        showCallerBoxes();
        showSplash();
    });
    connect(&m_parser, &CallParser::callUpdated, this, [this](const LoggedCall& call) {
        FlexGrid->updateLastCall(call);
        fitGridColumns();
        showCallerBoxes();
        updateSplash();
    });
    connect(&m_parser, &CallParser::callClosed, this, [this] {
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
    connect(Timer1.get(), &ClockTimer::timeout, &m_parser, &CallParser::ringTimerTick);
    connect(Timer2.get(), &ClockTimer::timeout, this, &frmLineInfo::Timer2_Timer);
}

bool frmLineInfo::Form_Load(QString* error)
{
    m_skins.LoadSkin(this);
    const double twips = twipsPerPixel();
    resize(int(kWidthTwips / twips), int(kHeightTwips / twips));
    FlexGrid->setGeometry(8, 18, 371, 150);
    lblcaption->move(8, 2);
    for (ButtonLabel* image : {imgstart, imgComm, ImgReport, imgList, imgabout, imgExit})
        ButtonLook::setPicture(image, m_skins, SkinStore::ButtonUp);
    ButtonLook::setPicture(ImgMinimize, m_skins, SkinStore::MinimizeUp);
    ButtonLook::setPicture(imgClose, m_skins, SkinStore::CloseUp);
    for (ButtonLabel* label : {lblstart, lblComm, lblReport, lbllist, lblAbout, lblExit})
        ButtonLook::setForeColor(label, ButtonLook::kReleasedColor);
    Number->setGeometry(200, 148, 160, 18);
    CallName->setGeometry(26, 148, 160, 18);

    m_options = MonitorSettings::load(m_settings, m_ports);
    m_control.setPort(m_options.commPort, m_ports.devicePath(m_options.commPort));
    m_parser.setUseNameList(m_options.useNameList);
    m_control.setInitCallerID(m_options.initCallerID);
    showCallerBoxes();
    restorePosition();
    m_tray.AddTrayIcon(windowIcon(), QStringLiteral("Nimbrel"), this);
    ShowForm(this);

    if (!m_store.openCallDatabase(m_paths.dataFile(QStringLiteral("callerid.mdb")), error))
        return false;
    fitGridColumns();
    Timer1->start(kRingTimerMs);
    m_speechEngineTimer->start(kSpeechEngineDelayMs);
    armSpeech(QStringLiteral("Welcome to. Nimbrel"));
    if (m_options.startMonitoring)
        QTimer::singleShot(0, &m_control, &MonitoringControl::startStopMonitoring);
    m_loaded = true;
    return true;
}

void frmLineInfo::restorePosition()
{
    bool hasTop = false, hasLeft = false;
    const double top = m_settings.value(QStringLiteral("Window/Top")).toDouble(&hasTop);
    const double left = m_settings.value(QStringLiteral("Window/Left")).toDouble(&hasLeft);
    if (!hasTop || !hasLeft)
        return;
    const QPoint position(int(left / twipsPerPixel()), int(top / twipsPerPixel()));
    // Only where the user can still see it: screens come and go between runs.
    const QScreen* screen = QGuiApplication::screenAt(position + QPoint(20, 10));
    if (screen && screen->availableGeometry().contains(position + QPoint(20, 10)))
        move(position);
}

void frmLineInfo::Form_Unload()
{
    if (!m_loaded)
        return;
    m_loaded = false;
    m_control.closePort();
    if (!isMinimized() && !isMaximized()) {
        m_settings.setValue(QStringLiteral("Window/Top"), QString::number(qRound(y() * twipsPerPixel())));
        m_settings.setValue(QStringLiteral("Window/Left"), QString::number(qRound(x() * twipsPerPixel())));
        m_options.useNameList = m_parser.useNameList();
        m_options.initCallerID = m_control.initCallerID();
        m_options.saveOptions(m_settings);
    }
    m_settings.sync();
    delete m_usersList; // they use the database connection, which closes next
    delete m_report;
    m_store.closeCallDatabase();
    m_tray.RemoveTrayIcon();
    closeSplash();
    Timer1->stop();
    Timer2->stop();
    if (m_speechEngine)
        m_speechEngine->stop();
}

void frmLineInfo::showSplash()
{
    // Each call is logged once, so every showing is a new caller: the pop-up loads for it.
    if (!m_splash)
        m_splash = new frmSplash(m_skins, m_sound, [this](const QString& text) { armSpeech(text); });
    m_splash->Form_Load(CallName->text(), Number->text(), m_parser.playDoorbell());
}

void frmLineInfo::updateSplash()
{
    if (!m_splash)
        return;
    m_splash->updateCaller(CallName->text(), Number->text());
    // The announcement not yet said is brought up to date; one already said is not repeated.
    if (Timer2->isActive())
        AnnounceText = announcementFor(CallName->text());
}

void frmLineInfo::openPhoneList()
{
    // An open editor is shown again as it stands; it reads the unknown number only when it loads.
    if (!m_usersList || m_usersList->isHidden()) {
        m_usersList = new frmUsersList(m_skins, m_speech, m_store.database());
        m_usersList->Form_Load(m_parser.unknownNumber());
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

void frmLineInfo::showCallerBoxes()
{
    Number->setText(m_parser.number());
    CallName->setText(m_parser.callName());
}

void frmLineInfo::fitGridColumns()
{
    FlexGrid->FitGridColumns(font(), twipsPerPixel());
}

void frmLineInfo::FlexGrid_DblClick(int row, int column)
{
    if (column != 2 || FlexGrid->TextMatrix(row, 2) != QLatin1String("Unknown Caller"))
        return;
    m_parser.setUnknownNumber(FlexGrid->TextMatrix(row, 1));
    openPhoneList();
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
