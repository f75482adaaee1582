#include "frmReport.h"

#include "Accessibility.h"
#include "ButtonLabel.h"
#include "CallStore.h"
#include "Clock.h"
#include "ImageButton.h"
#include "MessageBox.h"
#include "ReportJobs.h"
#include "SkinStore.h"
#include "TextViewer.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QProgressBar>

namespace
{

constexpr int kButtonWidth = 112;
constexpr int kButtonHeight = 22;

QDateEdit* makeDatePicker(QWidget* parent, const QString& name, QDate earliest)
{
    auto* picker = new QDateEdit(parent);
    picker->setObjectName(name);
    picker->setCalendarPopup(true);
    picker->setDateRange(earliest, QDate(9999, 12, 31));
    return picker;
}

QComboBox* makeTimeBox(QWidget* parent, const QString& name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}

} // namespace

frmReport::frmReport(SkinStore& skins, CallStore& store, TextViewer& viewer, Clock& clock, QString reportPath,
                     QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_skins(skins)
    , m_store(store)
    , m_viewer(viewer)
    , m_reportPath(std::move(reportPath))
    , m_progressDelay(clock.createTimer())
{
    lblcaption = ImageButton::setUpDialog(this, QStringLiteral("frmReport"), QStringLiteral("Calls Database"),
                                          QSize(380, 165));
    lblStartDate = new QLabel(QStringLiteral("Start Date:"), this);
    lblStartDate->move(10, 26);
    txtStartDate = makeDatePicker(this, QStringLiteral("txtStartDate"), QDate(2001, 1, 1));
    txtStartDate->setGeometry(84, 22, 120, 24);
    lblStartDate->setBuddy(txtStartDate);
    lblstarttime = new QLabel(QStringLiteral("Start Time"), this);
    lblstarttime->move(214, 26);
    txtstarttime = makeTimeBox(this, QStringLiteral("txtstarttime"));
    txtstarttime->setGeometry(284, 22, 86, 24);
    lblstarttime->setBuddy(txtstarttime);
    lblenddate = new QLabel(QStringLiteral("End Date"), this);
    lblenddate->move(10, 58);
    txtEndDate = makeDatePicker(this, QStringLiteral("txtEndDate"), QDate(1601, 1, 1));
    txtEndDate->setGeometry(84, 54, 120, 24);
    lblenddate->setBuddy(txtEndDate);
    lblendtime = new QLabel(QStringLiteral("End Time"), this);
    lblendtime->move(214, 58);
    txtendtime = makeTimeBox(this, QStringLiteral("txtendtime"));
    txtendtime->setGeometry(284, 54, 86, 24);
    lblendtime->setBuddy(txtendtime);

    const auto at = [](int x) { return QRect(x, 90, kButtonWidth, kButtonHeight); };
    const auto button = [this](const ImageButton::NamedButton& named) {
        ImageButton::addNamed(this, m_skins, m_buttons, named);
    };
    button({imgCreate, lblCreate, QStringLiteral("Create"), QStringLiteral("Create Report"), at(10),
            Qt::Key_R, [this](bool) { CreateReport(); }});
    button({imgDelete, lblDelete, QStringLiteral("Delete"), QStringLiteral("Clear Database"), at(134),
            Qt::Key_D, [this](bool) { DeleteCallsInRange(); }});
    button({imgClose, lblClose, QStringLiteral("Close"), QStringLiteral("Close"), at(258), Qt::Key_C,
            [this](bool) { closeWindow(); }});

    progress = new QProgressBar(this);
    progress->setGeometry(10, 122, 360, 14);
    progress->setAccessibleName(QStringLiteral("Progress"));
    progress->hide();
    lblStatus = new QLabel(this);
    lblStatus->setObjectName(QStringLiteral("lblStatus"));
    lblStatus->setGeometry(10, 140, 360, 20);
    Accessibility::setRole(lblStatus, QAccessible::StatusBar);
    m_progressDelay->setSingleShot(true);
    connect(m_progressDelay.get(), &ClockTimer::timeout, progress, &QWidget::show);
}

frmReport::~frmReport() = default;

void frmReport::Form_Load()
{
    ImageButton::loadWindow(this, m_skins, m_buttons);
    lblcaption->move(8, 0);
    txtStartDate->setDate(QDate::currentDate());
    txtEndDate->setDate(QDate::currentDate());
    for (int hour = 0; hour < 24; ++hour) {
        const QString item = QString::number(hour) + QStringLiteral(":00:00");
        txtstarttime->addItem(item);
        txtendtime->addItem(item);
    }
    txtstarttime->setEditText(QStringLiteral("0:00:00"));
    txtendtime->setEditText(QStringLiteral("23:59:59"));
}

std::optional<CallRange> frmReport::readRange()
{
    const std::optional<QTime> start = readTime(txtstarttime->currentText());
    const std::optional<QTime> end = readTime(txtendtime->currentText());
    if (!start || !end) {
        const bool startBad = !start;
        MessageBox::show(this,
                         QStringLiteral("\"%1\" in the %2 box is not a time.\nType a time such as 14:30:00, "
                                        "then press the button again; nothing was changed.")
                             .arg((startBad ? txtstarttime : txtendtime)->currentText(),
                                  startBad ? QStringLiteral("Start Time") : QStringLiteral("End Time")),
                         MessageBox::Icon::Warning);
        return std::nullopt;
    }
    return CallRange{QDateTime(txtStartDate->date(), *start), QDateTime(txtEndDate->date(), *end)};
}

void frmReport::CreateReport()
{
    if (m_job)
        return;
    const std::optional<CallRange> range = readRange();
    if (!range)
        return;
    auto* writer = new ReportWriter(m_store.database(), m_reportPath, *range, this);
    bool anyCallFromStart = false;
    QString error;
    if (!writer->start(&anyCallFromStart, &error)) {
        delete writer;
        MessageBox::show(this, error, MessageBox::Icon::Warning);
        return;
    }
    run(writer, [this, anyCallFromStart] {
        if (!anyCallFromStart) {
            lblStatus->setText(QStringLiteral("No call at or after the start; the report is empty."));
            return;
        }
        QString error;
        if (!m_viewer.open(m_reportPath, &error))
            MessageBox::show(this, error, MessageBox::Icon::Warning);
    });
}

void frmReport::DeleteCallsInRange()
{
    if (m_job)
        return;
    const std::optional<CallRange> range = readRange();
    if (!range)
        return;
    auto* clearer = new CallsClearer(m_store, *range, this);
    QString error;
    const int count = clearer->count(&error);
    if (count < 0) {
        delete clearer;
        MessageBox::show(this, error, MessageBox::Icon::Warning);
        return;
    }
    if (count == 0) {
        delete clearer;
        lblStatus->setText(QStringLiteral("No call from %1; nothing to delete.").arg(range->describe()));
        return;
    }
    // Deleted calls cannot be brought back, and a misplaced click must not erase them.
    m_job = clearer;
    MessageBox::ask(this,
                    QStringLiteral("Delete the %1 calls from %2?\nThey cannot be brought back.")
                        .arg(count)
                        .arg(range->describe()),
                    [this, clearer](bool yes) {
                        QString error;
                        if (!yes || !clearer->start(&error)) {
                            if (!error.isEmpty())
                                MessageBox::show(this, error, MessageBox::Icon::Warning);
                            delete clearer;
                            return;
                        }
                        run(clearer, {});
                    });
}

void frmReport::run(CallsJob* job, const std::function<void()>& whenDone)
{
    m_job = job;
    progress->setRange(0, std::max(1, job->total()));
    progress->setValue(0);
    m_progressDelay->start(kProgressDelayMs);
    connect(job, &CallsJob::progress, progress, [this](int done) { progress->setValue(done); });
    connect(job, &CallsJob::finished, this,
            [this, whenDone](bool ok, const QString& message) { finishJob(ok, message, whenDone); });
}

void frmReport::finishJob(bool ok, const QString& message, const std::function<void()>& whenDone)
{
    m_progressDelay->stop();
    progress->hide();
    m_job->deleteLater();
    if (!ok) {
        lblStatus->clear();
        MessageBox::show(this, message, MessageBox::Icon::Warning);
        return;
    }
    lblStatus->setText(message);
    if (whenDone)
        whenDone();
}
