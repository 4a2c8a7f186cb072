#pragma once

#include "catalog/outcome.h"
#include "store/catalogstore.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

// The table code list of the window 桌号设置: the rows of 桌号 as the list shows them, and the add, modify
// and delete actions. Column 0 is always empty (the list hides it); column 1 holds the number code,
// column 2 the table name.
namespace qm {

// A number code as typed, trimmed, with full-width digits folded, read as C's atoi reads it: "12a" is 12,
// "a12" is 0. The typed text, not this number, is what is stored and compared.
int readTableCode(const QString& text);

class TableCodeList : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Hidden, Code, Name, ColumnCount };

    explicit TableCodeList(const CatalogStore& store, QObject* parent = nullptr);

    // Reads every table code in table order; a failed read leaves the list empty.
    void load();
    const QList<StoredTableCode>& rows() const { return m_rows; }

    // 添加: the code must read as a positive number, the name must not be empty, and neither may equal
    // one the list shows (that row is given to select). On success the row is appended.
    Outcome add(const QString& code, const QString& name);
    // 修改: gives the table of this name the code, which no row may show yet (its own row included).
    Outcome modify(const QString& code, const QString& name);
    // 删除 of the given row (-1: none selected) after `confirm` agreed: every table of its name goes.
    Outcome remove(int row, const std::function<bool(const QString& question)>& confirm);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // The first failed check of code and name, with the trimmed values; empty when both pass.
    QString refusal(StoredTableCode& table) const;
    int findCode(const QString& code) const;
    int findName(const QString& name) const;

    const CatalogStore& m_store;
    QList<StoredTableCode> m_rows;
};

} // namespace qm
