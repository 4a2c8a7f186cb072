#pragma once

#include <QString>
#include <QStringList>

// "Fill list from table": a choice list refilled from one column of a table, keeping the chosen text.
namespace qm {

// An empty first item, then the column's texts in order; the item equal to the text the box showed
// before is selected (-1: none, so an empty text selects nothing).
struct FilledList {
    QStringList items;
    int selected = -1;
};
FilledList fillListFromTable(const QStringList& column, const QString& currentText);

} // namespace qm
