#pragma once

#include <QTableWidget>

// The report table as the report windows show it: no headers of its own (rows 0 and 1 of the table are
// the title and the column headers), merged cells, coloured and centred texts, read only.
namespace qm {

class ReportTable;

class ReportGrid : public QTableWidget {
    Q_OBJECT
public:
    explicit ReportGrid(QWidget* parent = nullptr);

    // Replaces everything on show by `table`.
    void showTable(const ReportTable& table);
};

} // namespace qm
