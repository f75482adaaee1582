#pragma once

#include "CallStore.h"

#include <QTableWidget>

class QFont;

// The recent-calls grid: "Date & Time", "Caller Number", "Caller Name", the calls since start-up oldest
// first, and always one empty row at the bottom that the next call fills. Row numbers count the header
// as row 0, so the first call is row 1.
class RecentCallsGrid : public QTableWidget
{
    Q_OBJECT
public:
    // The latest calls only, so a monitor left running for years stays small.
    static constexpr int kMaxCalls = 32000;

    explicit RecentCallsGrid(QWidget* parent = nullptr);

    // Rows including the header and the empty row.
    int Rows() const { return rowCount() + 1; }
    int NextGridRow() const { return rowCount(); }
    QString TextMatrix(int row, int column) const;

    void appendCall(const LoggedCall& call);
    void updateLastCall(const LoggedCall& call);

    // Each column as wide as its widest text (header and empty row included) in the given font plus one
    // twip; when the columns together are narrower than the grid, the rest is shared out evenly.
    void FitGridColumns(const QFont& font, double twipsPerPixel);
    int ColWidth(int column) const { return m_colWidthTwips.value(column); }

private:
    void setRow(int row, const LoggedCall& call);
    QList<int> m_colWidthTwips;
};
