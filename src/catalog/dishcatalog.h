#pragma once

#include "catalog/dishrules.h"
#include "catalog/outcome.h"
#include "store/catalogstore.h"

#include <QAbstractTableModel>
#include <QList>

#include <functional>

// The dish list of the window 菜单设置: the rows of 菜单 as the list shows them, and the add, modify and
// delete actions that keep the table and the list in step. Column 0 is always empty (the list hides it);
// columns 1 to 5 hold number code, letter code, name, price text and unit.
namespace qm {

struct DishRow {
    QString code;
    QString letters;
    QString name;
    QString priceText;
    QString unit;
};

class DishCatalog : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { Hidden, Code, Letters, Name, Price, Unit, ColumnCount };

    explicit DishCatalog(const CatalogStore& store, QObject* parent = nullptr);

    // Reads every dish in table order; a failed read leaves the list empty.
    void load();
    const QList<DishRow>& rows() const { return m_rows; }

    // 添加: refuses an invalid dish, then a number code the list shows, then a name the list shows (the
    // row that has it is given to select); on success the dish is appended and given to select.
    Outcome add(const DishInput& input);
    // 修改: the name is the key. Changes code, letter code, price and unit of the dish with that name.
    Outcome modify(const DishInput& input);
    // 删除 of the given row (-1: none selected), after `confirm` agreed to the question.
    Outcome remove(int row, const std::function<bool(const QString& question)>& confirm);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    int findRow(const std::function<bool(const DishRow&)>& match) const;
    void setRow(int row, const DishRow& value);

    const CatalogStore& m_store;
    QList<DishRow> m_rows;
};

} // namespace qm
