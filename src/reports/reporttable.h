#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

// A report table as the report windows show it: rows of text cells, merged rectangles, a text colour per
// cell and centred rows. Row 0 is the title, row 1 the column headers.
namespace qm {

enum class CellColour { Default, Red, Blue };

struct CellMerge {
    int row = 0;
    int column = 0;
    int lastRow = 0;
    int lastColumn = 0;
    bool operator==(const CellMerge&) const = default;
};

class ReportTable {
public:
    ReportTable(int columns, int columnWidth);

    int columnCount() const { return m_columns; }
    int columnWidth() const { return m_columnWidth; }
    int rowCount() const { return m_rows; }
    // Rows past the new count are dropped with their texts, colours and merges.
    void setRowCount(int rows);

    QString text(int row, int column) const { return m_texts.value(key(row, column)); }
    void setText(int row, int column, const QString& text);
    // Sets the texts of a row from column 0 on.
    void setRow(int row, const QStringList& texts);

    // Joins the rectangle into one cell that shows the text of its top-left cell.
    void merge(int row, int column, int lastRow, int lastColumn);
    // Merges and sets the text of the merged cell.
    void mergeWithText(int row, int column, int lastRow, int lastColumn, const QString& text);
    const QList<CellMerge>& merges() const { return m_merges; }

    CellColour colour(int row, int column) const {
        return m_colours.value(key(row, column), CellColour::Default);
    }
    // Colours rows `first` to `last` of a column.
    void setColumnColour(int column, int first, int last, CellColour colour);

    bool isCentred(int row) const { return m_centred.contains(row); }
    void centreRow(int row) { m_centred.insert(row); }

private:
    static qint64 key(int row, int column) { return (qint64(row) << 16) | column; }

    int m_columns;
    int m_columnWidth;
    int m_rows = 2;
    QHash<qint64, QString> m_texts;
    QHash<qint64, CellColour> m_colours;
    QList<CellMerge> m_merges;
    QSet<int> m_centred;
};

} // namespace qm
