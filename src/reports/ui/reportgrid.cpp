#include "reports/ui/reportgrid.h"

#include "reports/reporttable.h"

#include <QHeaderView>

namespace qm {

namespace {

QColor textColour(CellColour colour) {
    switch (colour) {
    case CellColour::Red:
        return QColor(255, 0, 0);
    case CellColour::Blue:
        return QColor(0, 0, 255);
    case CellColour::Default:
        break;
    }
    return {};
}

} // namespace

ReportGrid::ReportGrid(QWidget* parent)
    : QTableWidget(parent) {
    setObjectName(QStringLiteral("高级表格1"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(22);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    setFont(QFont(QStringLiteral("微软雅黑"), 10));
}

void ReportGrid::showTable(const ReportTable& table) {
    setUpdatesEnabled(false);
    clearSpans();
    clearContents();
    setColumnCount(table.columnCount());
    setRowCount(table.rowCount());
    for (int c = 0; c < table.columnCount(); ++c)
        setColumnWidth(c, table.columnWidth());
    for (int r = 0; r < table.rowCount(); ++r) {
        const Qt::Alignment alignment =
            table.isCentred(r) ? Qt::AlignCenter : Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter);
        for (int c = 0; c < table.columnCount(); ++c) {
            auto* item = new QTableWidgetItem(table.text(r, c));
            item->setTextAlignment(alignment);
            if (const QColor colour = textColour(table.colour(r, c)); colour.isValid())
                item->setForeground(colour);
            setItem(r, c, item);
        }
    }
    for (const CellMerge& m : table.merges()) {
        if (m.lastRow > m.row || m.lastColumn > m.column)
            setSpan(m.row, m.column, m.lastRow - m.row + 1, m.lastColumn - m.column + 1);
    }
    setCurrentItem(nullptr);
    scrollToTop();
    setUpdatesEnabled(true);
}

} // namespace qm
