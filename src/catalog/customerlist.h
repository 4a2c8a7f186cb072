#pragma once

#include "store/customerstore.h"

#include <QAbstractTableModel>
#include <QList>

// The rows of the customer list 超级列表框2: one page of customers, newest first. Column 0 holds the ID
// (the list hides it), then 电话, 姓名 and 地址.
namespace qm {

class CustomerList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Id, Telephone, Name, Address, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    // The rows of a page as the customer table gives them: ID, 电话, 姓名, 地址.
    void setRows(const QList<QVariantList>& rows);
    const QList<CustomerRow>& rows() const { return m_rows; }
    // The customer shown in `row`; no value for a row that is not there.
    std::optional<StoredCustomer> customerAt(int row) const;
    // Every row showing the customer's telephone takes its name and address; the first such row, or -1.
    int showChange(const StoredCustomer& customer);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    QList<CustomerRow> m_rows;
};

} // namespace qm
