#pragma once

#include "AppPaths.h"
#include "CallParser.h"
#include "CallStore.h"
#include "LineAssembler.h"
#include "MonitorSettings.h"
#include "MonitoringControl.h"
#include "PortTable.h"
#include "SerialLine.h"

#include <QWidget>

#include <memory>

class ButtonLabel;
class ClockTimer;
class QLabel;
class QLineEdit;
class QSettings;
class QTableWidget;

// The main window: the recent-calls grid, the caller boxes and the Start/Stop command over the line
// monitor's logic objects.
class frmLineInfo : public QWidget
{
    Q_OBJECT
public:
    // The grid keeps the latest calls only, so a monitor left running for years stays small.
    static constexpr int kMaxGridCalls = 32000;

    frmLineInfo(Clock& clock, const AppPaths& paths, QSettings& settings, QWidget* parent = nullptr);
    ~frmLineInfo() override;

    // Opens the call database and applies the stored settings; false with *error when the database
    // cannot be used.
    bool Form_Load(QString* error);
    void Form_Unload();

    QTableWidget* FlexGrid = nullptr;
    QLabel* lblcaption = nullptr;
    ButtonLabel* lblstart = nullptr;
    QLabel* lblStatus = nullptr;
    QLineEdit* Number = nullptr;
    QLineEdit* CallName = nullptr;

    CallStore& store() { return m_store; }
    CallParser& parser() { return m_parser; }
    MonitoringControl& monitoring() { return m_control; }

private:
    void appendGridRow(const LoggedCall& call);
    void updateLastGridRow(const LoggedCall& call);
    void showCallerBoxes();
    void setGridRow(int row, const LoggedCall& call);

    Clock& m_clock;
    AppPaths m_paths;
    QSettings& m_settings;
    PortTable m_ports;
    MonitorSettings m_options;
    CallStore m_store;
    SerialLine Comm1;
    CallParser m_parser;
    MonitoringControl m_control;
    LineAssembler m_lines;
    std::unique_ptr<ClockTimer> Timer1;
};
