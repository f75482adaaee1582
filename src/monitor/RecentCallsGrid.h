#pragma once

#include "CallStore.h"

#include <QAbstractTableModel>
#include <QFont>
#include <QMap>
#include <QTableView>

#include <deque>

// The rows behind the recent-calls grid, kept compact (the date as a date, its text made when shown): a grid
// of tens of thousands of calls stays a few megabytes.
class RecentCallsModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;
    struct Row {
        QDateTime dateTime;
        QString number;
        QString name;
    };

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Table rows: the calls, then the empty row.
    const Row& row(int index) const;
    QString text(int index, int column) const;
    void insertBeforeEmptyRow(const Row& row);
    void setLastCall(const Row& row);
    void removeOldest();

private:
    std::deque<Row> m_rows;
};

// The recent-calls grid: "Date & Time", "Caller Number", "Caller Name", the calls since start-up oldest
// first, and always one empty row at the bottom that the next call fills. Row numbers count the header
// as row 0, so the first call is row 1.
class RecentCallsGrid : public QTableView
{
    Q_OBJECT
public:
    // The latest calls only, so a monitor left running for years stays small.
    static constexpr int kMaxCalls = 32000;

    explicit RecentCallsGrid(QWidget* parent = nullptr);

    // Rows including the header and the empty row.
    int Rows() const { return m_model.rowCount() + 1; }
    int NextGridRow() const { return m_model.rowCount(); }
    QString TextMatrix(int row, int column) const;
    // The call shown in a grid row; an empty one for the header and the empty row.
    LoggedCall callAt(int row) const;

    void appendCall(const LoggedCall& call);
    void updateLastCall(const LoggedCall& call);

    // Each column as wide as its widest text (header and empty row included) in the given font plus one
    // twip; when the columns together are narrower than the grid, the rest is shared out evenly.
    void FitGridColumns(const QFont& font, double twipsPerPixel);
    int ColWidth(int column) const { return m_colWidthTwips.value(column); }

signals:
    // A double click on a cell, by grid row (the header is row 0) and column.
    void cellDoubleClicked(int row, int column);

protected:
    // Enter on a row does what a double click on its name does.
    void keyPressEvent(QKeyEvent* event) override;

private:
    int textWidthTwips(const QString& text) const;
    void countRow(int row, int change);

    RecentCallsModel m_model;
    QList<int> m_colWidthTwips;
    // How many cells of each column have each text width, kept up to date as rows come and go, so that
    // fitting the columns after a call does not measure every row of a full grid again.
    QList<QMap<int, int>> m_widths;
    QFont m_measuredFont;
    double m_measuredTwipsPerPixel = 0;
};
