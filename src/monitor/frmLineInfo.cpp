#include "frmLineInfo.h"

#include "ButtonLabel.h"
#include "Clock.h"
#include "DateTimeText.h"
#include "MessageBox.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kRingTimerMs = 350;

MessageBox::Icon iconFor(MonitoringControl::MessageKind kind)
{
    return kind == MonitoringControl::MessageKind::Critical ? MessageBox::Icon::Critical : MessageBox::Icon::None;
}

} // namespace

frmLineInfo::frmLineInfo(Clock& clock, const AppPaths& paths, QSettings& settings, QWidget* parent)
    : QWidget(parent)
    , m_clock(clock)
    , m_paths(paths)
    , m_settings(settings)
    , m_ports(settings)
    , m_store(clock)
    , Comm1(clock)
    , m_parser(m_store, clock)
    , m_control(Comm1, m_parser, clock)
    , m_lines([this](const QByteArray& line) { m_parser.parseLine(line); })
    , Timer1(clock.createTimer())
{
    setWindowTitle(QStringLiteral("Nimbrel"));
    lblcaption = new QLabel(QStringLiteral("Nimbrel"), this);
    FlexGrid = new QTableWidget(0, 3, this);
    FlexGrid->setHorizontalHeaderLabels(
        {QStringLiteral("Date & Time"), QStringLiteral("Caller Number"), QStringLiteral("Caller Name")});
    FlexGrid->verticalHeader()->hide();
    FlexGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FlexGrid->horizontalHeader()->setStretchLastSection(true);
    Number = new QLineEdit(this);
    CallName = new QLineEdit(this);
    Number->hide();
    CallName->hide();
    lblstart = new ButtonLabel(QStringLiteral("Start"), this);
    lblstart->setToolTip(QStringLiteral("Start/Stop Monitoring"));
    lblstart->setAlignment(Qt::AlignCenter);
    lblstart->setFrameStyle(QFrame::Panel | QFrame::Raised);
    lblStatus = new QLabel(this);
    lblStatus->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblcaption);
    layout->addWidget(FlexGrid);
    layout->addWidget(lblstart);
    layout->addWidget(lblStatus);
    resize(393, 240);

    connect(&Comm1, &SerialLine::received, this, [this](const QByteArray& bytes) { m_lines.feed(bytes); });
    connect(lblstart, &ButtonLabel::released, &m_control, &MonitoringControl::startStopMonitoring);
    connect(&m_control, &MonitoringControl::monitoringChanged, this, [this](bool monitoring) {
        lblstart->setText(monitoring ? QStringLiteral("Stop") : QStringLiteral("Start"));
    });
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
    connect(&m_store, &CallStore::storeRecovered, this,
            [this] { lblStatus->setText(QStringLiteral("The call database accepts calls again; all saved.")); });
    connect(&m_parser, &CallParser::callCompleted, this, &frmLineInfo::appendGridRow);
    connect(&m_parser, &CallParser::callUpdated, this, &frmLineInfo::updateLastGridRow);
    connect(&m_parser, &CallParser::callClosed, this, &frmLineInfo::showCallerBoxes);
    connect(Timer1.get(), &ClockTimer::timeout, &m_parser, &CallParser::ringTimerTick);
}

frmLineInfo::~frmLineInfo() = default;

bool frmLineInfo::Form_Load(QString* error)
{
    m_options = MonitorSettings::load(m_settings, m_ports);
    m_parser.setUseNameList(m_options.useNameList);
    m_control.setInitCallerID(m_options.initCallerID);
    m_control.setPort(m_options.commPort, m_ports.devicePath(m_options.commPort));
    if (!m_store.openCallDatabase(m_paths.dataFile(QStringLiteral("callerid.mdb")), error))
        return false;
    Timer1->start(kRingTimerMs);
    if (m_options.startMonitoring)
        QTimer::singleShot(0, &m_control, &MonitoringControl::startStopMonitoring);
    return true;
}

void frmLineInfo::Form_Unload()
{
    m_control.closePort();
    m_options.useNameList = m_parser.useNameList();
    m_options.initCallerID = m_control.initCallerID();
    if (!isMinimized() && !isMaximized())
        m_options.saveOptions(m_settings);
    m_settings.sync();
    m_store.closeCallDatabase();
    Timer1->stop();
}

void frmLineInfo::setGridRow(int row, const LoggedCall& call)
{
    FlexGrid->setItem(row, 0, new QTableWidgetItem(dateTimeText(call.dateTime)));
    FlexGrid->setItem(row, 1, new QTableWidgetItem(call.number));
    FlexGrid->setItem(row, 2, new QTableWidgetItem(call.name));
}

void frmLineInfo::appendGridRow(const LoggedCall& call)
{
    if (FlexGrid->rowCount() >= kMaxGridCalls)
        FlexGrid->removeRow(0);
    const int row = FlexGrid->rowCount();
    FlexGrid->insertRow(row);
    setGridRow(row, call);
    FlexGrid->scrollToBottom();
    showCallerBoxes();
}

void frmLineInfo::updateLastGridRow(const LoggedCall& call)
{
    if (FlexGrid->rowCount() > 0)
        setGridRow(FlexGrid->rowCount() - 1, call);
    showCallerBoxes();
}

void frmLineInfo::showCallerBoxes()
{
    Number->setText(m_parser.number());
    CallName->setText(m_parser.callName());
}
