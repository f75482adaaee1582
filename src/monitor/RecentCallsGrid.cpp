#include "RecentCallsGrid.h"

#include "DateTimeText.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>

#include <cmath>

namespace
{

// Room a cell keeps between its text and its borders, so a fitted text is never cut short.
constexpr int kCellPaddingPx = 8;

const QString kHeader[3] = {QStringLiteral("Date & Time"), QStringLiteral("Caller Number"),
                            QStringLiteral("Caller Name")};

RecentCallsModel::Row rowOf(const LoggedCall& call)
{
    return {call.dateTime, call.number, call.name};
}

} // namespace

int RecentCallsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size()) + 1;
}

int RecentCallsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant RecentCallsModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return text(index.row(), index.column());
}

QString RecentCallsModel::text(int index, int column) const
{
    const Row& shown = row(index);
    switch (column) {
    case 0:
        return shown.dateTime.isValid() ? dateTimeText(shown.dateTime) : QString();
    case 1:
        return shown.number;
    case 2:
        return shown.name;
    }
    return {};
}

QVariant RecentCallsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section > 2)
        return {};
    return kHeader[section];
}

const RecentCallsModel::Row& RecentCallsModel::row(int index) const
{
    static const Row empty;
    return index >= 0 && size_t(index) < m_rows.size() ? m_rows.at(size_t(index)) : empty;
}

void RecentCallsModel::insertBeforeEmptyRow(const Row& row)
{
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.push_back(row);
    endInsertRows();
}

void RecentCallsModel::setLastCall(const Row& row)
{
    if (m_rows.empty())
        return;
    m_rows.back() = row;
    const int last = int(m_rows.size()) - 1;
    emit dataChanged(index(last, 0), index(last, 2));
}

void RecentCallsModel::removeOldest()
{
    beginRemoveRows({}, 0, 0);
    m_rows.pop_front();
    endRemoveRows();
}

RecentCallsGrid::RecentCallsGrid(QWidget* parent)
    : QTableView(parent)
{
    setModel(&m_model);
    setTabKeyNavigation(false); // Tab leaves the grid for the commands; the arrows move in it
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    connect(this, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { emit cellDoubleClicked(index.row() + 1, index.column()); });
}

QString RecentCallsGrid::TextMatrix(int row, int column) const
{
    if (column < 0 || column > 2)
        return {};
    return row == 0 ? kHeader[column] : m_model.text(row - 1, column);
}

LoggedCall RecentCallsGrid::callAt(int row) const
{
    const RecentCallsModel::Row& call = m_model.row(row - 1);
    return LoggedCall{call.dateTime, call.number, call.name};
}

void RecentCallsGrid::appendCall(const LoggedCall& call)
{
    if (NextGridRow() > kMaxCalls) {
        countRow(1, -1);
        m_model.removeOldest();
    }
    m_model.insertBeforeEmptyRow(rowOf(call));
    countRow(NextGridRow() - 1, +1);
    scrollToBottom();
}

void RecentCallsGrid::updateLastCall(const LoggedCall& call)
{
    if (NextGridRow() < 2)
        return;
    countRow(NextGridRow() - 1, -1);
    m_model.setLastCall(rowOf(call));
    countRow(NextGridRow() - 1, +1);
}

int RecentCallsGrid::textWidthTwips(const QString& text) const
{
    return int(
        std::round(QFontMetricsF(m_measuredFont).horizontalAdvance(text) * m_measuredTwipsPerPixel + 1));
}

void RecentCallsGrid::countRow(int row, int change)
{
    for (int column = 0; column < m_widths.size(); ++column) {
        QMap<int, int>& counts = m_widths[column];
        const int width = textWidthTwips(TextMatrix(row, column));
        if ((counts[width] += change) <= 0)
            counts.remove(width);
    }
}

void RecentCallsGrid::FitGridColumns(const QFont& font, double twipsPerPixel)
{
    if (font != m_measuredFont || twipsPerPixel != m_measuredTwipsPerPixel || m_widths.isEmpty()) {
        m_measuredFont = font;
        m_measuredTwipsPerPixel = twipsPerPixel;
        m_widths = QList<QMap<int, int>>(3);
        for (int row = 0; row < Rows(); ++row)
            countRow(row, +1);
    }
    m_colWidthTwips.clear();
    int sum = 0;
    for (const QMap<int, int>& counts : std::as_const(m_widths)) {
        const int widest = counts.isEmpty() ? 0 : counts.lastKey();
        m_colWidthTwips << widest;
        sum += widest;
    }
    const int gridWidth = int((viewport()->width() - kCellPaddingPx * 3) * twipsPerPixel);
    if (sum < gridWidth) {
        const int extra = (gridWidth - sum) / 3;
        for (int& width : m_colWidthTwips)
            width += extra;
    }
    // The name column shows in what is left of the grid, so a long name is cut with "…", never pushed out
    // of view; ColWidth keeps the width its texts want.
    int shownBefore = 0;
    for (int column = 0; column < 3; ++column) {
        int shown = int(std::lround(m_colWidthTwips.at(column) / twipsPerPixel)) + kCellPaddingPx;
        if (column == 2)
            shown = std::min(shown, std::max(viewport()->width() - shownBefore, 4 * kCellPaddingPx));
        setColumnWidth(column, shown);
        shownBefore += shown;
    }
}

void RecentCallsGrid::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || !currentIndex().isValid()) {
        QTableView::keyPressEvent(event);
        return;
    }
    emit cellDoubleClicked(currentIndex().row() + 1, 2);
}
