#include "catalog/customerlist.h"

namespace qm {

void CustomerList::setRows(const QList<QVariantList>& rows) {
    beginResetModel();
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const QVariantList& row : rows) {
        m_rows.append({row.value(0).toLongLong(),
                       {row.value(1).toString(), row.value(2).toString(), row.value(3).toString()}});
    }
    endResetModel();
}

std::optional<StoredCustomer> CustomerList::customerAt(int row) const {
    if (row < 0 || row >= m_rows.size())
        return std::nullopt;
    return m_rows[row].customer;
}

int CustomerList::showChange(const StoredCustomer& customer) {
    int first = -1;
    for (int row = 0; row < m_rows.size(); ++row) {
        StoredCustomer& shown = m_rows[row].customer;
        if (shown.telephone != customer.telephone)
            continue;
        shown.name = customer.name;
        shown.address = customer.address;
        emit dataChanged(index(row, Name), index(row, Address));
        if (first < 0)
            first = row;
    }
    return first;
}

int CustomerList::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int CustomerList::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CustomerList::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_rows.size())
        return {};
    const CustomerRow& row = m_rows[index.row()];
    switch (index.column()) {
    case Id:
        return QString::number(row.id);
    case Telephone:
        return row.customer.telephone;
    case Name:
        return row.customer.name;
    case Address:
        return row.customer.address;
    default:
        return {};
    }
}

QVariant CustomerList::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Telephone:
        return QStringLiteral("电话");
    case Name:
        return QStringLiteral("姓名");
    case Address:
        return QStringLiteral("地址");
    default:
        return QString();
    }
}

} // namespace qm
