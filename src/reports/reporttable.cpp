#include "reports/reporttable.h"

namespace qm {

ReportTable::ReportTable(int columns, int columnWidth)
    : m_columns(columns)
    , m_columnWidth(columnWidth) {}

void ReportTable::setRowCount(int rows) {
    m_rows = rows;
    auto outside = [rows](qint64 k) { return int(k >> 16) >= rows; };
    m_texts.removeIf([&](const auto& item) { return outside(item.key()); });
    m_colours.removeIf([&](const auto& item) { return outside(item.key()); });
    m_merges.removeIf([rows](const CellMerge& m) { return m.row >= rows; });
    m_centred.removeIf([rows](int row) { return row >= rows; });
}

void ReportTable::setText(int row, int column, const QString& text) {
    if (row >= m_rows)
        m_rows = row + 1;
    m_texts.insert(key(row, column), text);
}

void ReportTable::setRow(int row, const QStringList& texts) {
    for (int c = 0; c < texts.size(); ++c)
        setText(row, c, texts[c]);
}

void ReportTable::merge(int row, int column, int lastRow, int lastColumn) {
    m_merges.append({row, column, lastRow, lastColumn});
}

void ReportTable::mergeWithText(int row, int column, int lastRow, int lastColumn, const QString& text) {
    merge(row, column, lastRow, lastColumn);
    setText(row, column, text);
}

void ReportTable::setColumnColour(int column, int first, int last, CellColour colour) {
    for (int r = first; r <= last; ++r)
        m_colours.insert(key(r, column), colour);
}

} // namespace qm
