#include "catalog/importcolumns.h"

namespace qm {

ColumnMap mapColumns(const QList<ImportColumn>& columns, const QStringList& header) {
    ColumnMap map;
    for (const ImportColumn& column : columns) {
        int found = -1;
        for (int i = 0; i < header.size() && found < 0; ++i) {
            const QString title = header[i].trimmed();
            if (title.compare(column.title, Qt::CaseInsensitive) == 0 ||
                column.aliases.contains(title, Qt::CaseInsensitive))
                found = i;
        }
        map.append(found);
    }
    return map;
}

QString missingColumnsText(const QList<ImportColumn>& columns, const ColumnMap& map) {
    QStringList missing;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].required && map.value(i, -1) < 0)
            missing << columns[i].title;
    }
    if (missing.isEmpty())
        return {};
    return QStringLiteral("文件中没有以下列：") + missing.join(QStringLiteral("、")) +
           QStringLiteral("。请检查标题行，或在“列”中选择对应的列。");
}

QString mappedField(const QStringList& fields, const ColumnMap& map, int column) {
    const int index = map.value(column, -1);
    return index >= 0 ? fields.value(index) : QString();
}

} // namespace qm
