#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The columns an import takes from a file, and which of the file's columns each one is read from.
namespace qm {

struct ImportColumn {
    QString title;       // as the preview and the exported header show it
    QStringList aliases; // further header titles that mean the same (compared without letter case)
    bool required = true;
};

// For each import column the index of the file column it is read from; -1 when the file has none.
using ColumnMap = QList<int>;

// Maps each column to the first header title equal to its title or one of its aliases.
ColumnMap mapColumns(const QList<ImportColumn>& columns, const QStringList& header);
// The message naming the required columns the map lacks; empty when none is missing.
QString missingColumnsText(const QList<ImportColumn>& columns, const ColumnMap& map);
// The field of `fields` the map points at for column `column`; empty when there is none.
QString mappedField(const QStringList& fields, const ColumnMap& map, int column);

// Whether rows whose key (number code, telephone) is already stored are left as they are or updated.
enum class ExistingRows { Skip, Update };

// One row of the file that is not taken, and why.
struct RowRefusal {
    int line = 0; // the file's line
    QString reason;
};

// The first rows of the file, as the preview shows them.
inline constexpr int previewRowCount = 20;

} // namespace qm
