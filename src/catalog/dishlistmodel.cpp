#include "catalog/dishlistmodel.h"

namespace qm {

DishListModel::DishListModel(const QString& nameHeader, QObject* parent, bool withStation)
    : QAbstractTableModel(parent)
    , m_nameHeader(nameHeader)
    , m_withStation(withStation) {}

int DishListModel::columnWidth(int column) {
    static const int widths[] = {0, 90, 80, 130, 100, 50, 80};
    return column >= 0 && column < ColumnCount ? widths[column] : 0;
}

void DishListModel::setRows(QList<DishRow> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void DishListModel::appendRow(const DishRow& row) {
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.append(row);
    endInsertRows();
}

void DishListModel::setRow(int row, const DishRow& value) {
    m_rows[row] = value;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

void DishListModel::removeRowAt(int row) {
    beginRemoveRows({}, row, row);
    m_rows.removeAt(row);
    endRemoveRows();
}

int DishListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DishListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_withStation ? ColumnCount : Station;
}

QVariant DishListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    const DishRow& row = m_rows[index.row()];
    switch (index.column()) {
    case Code:
        return row.code;
    case Letters:
        return row.letters;
    case Name:
        return row.name;
    case Price:
        return row.priceText;
    case Unit:
        return row.unit;
    case Station:
        return row.station;
    default:
        return QString();
    }
}

QVariant DishListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Code:
        return QStringLiteral("数字代号");
    case Letters:
        return QStringLiteral("字母代号");
    case Name:
        return m_nameHeader;
    case Price:
        return QStringLiteral("价格");
    case Unit:
        return QStringLiteral("单位");
    case Station:
        return QStringLiteral("出品部门");
    default:
        return QString();
    }
}

} // namespace qm
