#include "RecentCallsGrid.h"

#include "DateTimeText.h"

#include <QFontMetricsF>
#include <QHeaderView>

#include <cmath>

namespace {

// Room a cell keeps between its text and its borders, so a fitted text is never cut short.
constexpr int kCellPaddingPx = 8;

} // namespace

RecentCallsGrid::RecentCallsGrid(QWidget* parent)
    : QTableWidget(1, 3, parent)
{
    setHorizontalHeaderLabels(
        {QStringLiteral("Date & Time"), QStringLiteral("Caller Number"), QStringLiteral("Caller Name")});
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
}

QString RecentCallsGrid::TextMatrix(int row, int column) const
{
    if (row == 0) {
        const QTableWidgetItem* header = horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem* cell = item(row - 1, column);
    return cell ? cell->text() : QString();
}

void RecentCallsGrid::setRow(int row, const LoggedCall& call)
{
    setItem(row, 0, new QTableWidgetItem(dateTimeText(call.dateTime)));
    setItem(row, 1, new QTableWidgetItem(call.number));
    setItem(row, 2, new QTableWidgetItem(call.name));
}

void RecentCallsGrid::appendCall(const LoggedCall& call)
{
    if (rowCount() > kMaxCalls)
        removeRow(0);
    setRow(rowCount() - 1, call);
    insertRow(rowCount());
    scrollToBottom();
}

void RecentCallsGrid::updateLastCall(const LoggedCall& call)
{
    if (rowCount() >= 2)
        setRow(rowCount() - 2, call);
}

void RecentCallsGrid::FitGridColumns(const QFont& font, double twipsPerPixel)
{
    const QFontMetricsF metrics(font);
    m_colWidthTwips.clear();
    int sum = 0;
    for (int column = 0; column < columnCount(); ++column) {
        double widest = 0;
        for (int row = 0; row < Rows(); ++row) {
            const double width = metrics.horizontalAdvance(TextMatrix(row, column)) * twipsPerPixel + 1;
            if (width > widest)
                widest = std::round(width);
        }
        m_colWidthTwips << int(widest);
        sum += int(widest);
    }
    const int gridWidth = int((viewport()->width() - kCellPaddingPx * columnCount()) * twipsPerPixel);
    if (sum < gridWidth) {
        const int extra = (gridWidth - sum) / int(columnCount());
        for (int& width : m_colWidthTwips)
            width += extra;
    }
    for (int column = 0; column < columnCount(); ++column)
        setColumnWidth(column, int(std::lround(m_colWidthTwips.at(column) / twipsPerPixel)) + kCellPaddingPx);
}
