#pragma once

#include "CallRange.h"
#include "ImageButton.h"
#include "ReportJobs.h"

#include <QPointer>
#include <QWidget>

#include <memory>

class ButtonLabel;
class CallStore;
class Clock;
class ClockTimer;
class QComboBox;
class QDateEdit;
class QLabel;
class QProgressBar;
class SkinStore;
class TextViewer;

// "Calls Database": the calls of a date and time range written to CallLog.txt and shown, or deleted.
class frmReport : public QWidget
{
    Q_OBJECT
public:
    // Work that takes longer than this shows its progress.
    static constexpr int kProgressDelayMs = 500;

    frmReport(SkinStore& skins, CallStore& store, TextViewer& viewer, Clock& clock, QString reportPath,
              QWidget* parent = nullptr);
    ~frmReport() override;

    void Form_Load();
    void CreateReport();
    void DeleteCallsInRange();
    bool isWorking() const { return m_job; }

    QLabel* lblcaption = nullptr;
    QLabel* lblStartDate = nullptr;
    QDateEdit* txtStartDate = nullptr;
    QLabel* lblstarttime = nullptr;
    QComboBox* txtstarttime = nullptr;
    QLabel* lblenddate = nullptr;
    QDateEdit* txtEndDate = nullptr;
    QLabel* lblendtime = nullptr;
    QComboBox* txtendtime = nullptr;
    ButtonLabel* imgCreate = nullptr;
    ButtonLabel* lblCreate = nullptr;
    ButtonLabel* imgDelete = nullptr;
    ButtonLabel* lblDelete = nullptr;
    ButtonLabel* imgClose = nullptr;
    ButtonLabel* lblClose = nullptr;
    QProgressBar* progress = nullptr;
    QLabel* lblStatus = nullptr;

private:
    std::optional<CallRange> readRange();
    void run(CallsJob* job, const std::function<void()>& whenDone);
    void finishJob(bool ok, const QString& message, const std::function<void()>& whenDone);
    void closeWindow() { close(); }

    SkinStore& m_skins;
    CallStore& m_store;
    TextViewer& m_viewer;
    QString m_reportPath;
    std::unique_ptr<ClockTimer> m_progressDelay;
    QPointer<CallsJob> m_job;
    QList<ImageButton::Parts> m_buttons;
};
