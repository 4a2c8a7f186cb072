#include "catalog/dishcatalog.h"

#include "core/numtext.h"

#include <algorithm>

namespace qm {

namespace {

DishRow rowOf(const StoredDish& dish) {
    return {dish.code, dish.letters, dish.name, doubleText(dish.price), dish.unit};
}

} // namespace

DishCatalog::DishCatalog(const CatalogStore& store, QObject* parent)
    : QAbstractTableModel(parent)
    , m_store(store) {}

void DishCatalog::load() {
    beginResetModel();
    m_rows.clear();
    if (const auto dishes = m_store.loadDishes()) {
        for (const StoredDish& dish : *dishes)
            m_rows.append(rowOf(dish));
    }
    endResetModel();
}

Outcome DishCatalog::add(const DishInput& input) {
    const DishCheck check = checkDish(input);
    if (!check.ok())
        return {false, check.refusal};
    const StoredDish& dish = check.dish;
    if (const int row = findRow([&](const DishRow& r) { return r.code == dish.code; }); row >= 0)
        return {false, QStringLiteral("代号已经存在，不能重复添加。"), row};
    if (const int row = findRow([&](const DishRow& r) { return r.name == dish.name; }); row >= 0)
        return {false, QStringLiteral("名称已经存在，不能重复添加。"), row};
    if (!m_store.insertDish(dish))
        return {};
    const int row = int(m_rows.size());
    beginInsertRows({}, row, row);
    m_rows.append(rowOf(dish));
    endInsertRows();
    return {true, QStringLiteral("保存完成。"), row};
}

Outcome DishCatalog::modify(const DishInput& input) {
    const DishCheck check = checkDish(input);
    if (!check.ok())
        return {false, check.refusal};
    const StoredDish& dish = check.dish;
    const int found = findRow([&](const DishRow& r) { return r.name == dish.name; });
    if (found < 0)
        return {false, QStringLiteral("名称不存在，无法完成修改。")};
    if (!m_store.updateDishByName(dish))
        return {};
    // The statement changes every dish of that name, so every row showing one follows.
    for (int row = found; row < m_rows.size(); ++row) {
        if (m_rows[row].name == dish.name)
            setRow(row, rowOf(dish));
    }
    return {true, QStringLiteral("修改完成。"), found};
}

Outcome DishCatalog::remove(int row, const std::function<bool(const QString&)>& confirm) {
    if (row < 0 || row >= m_rows.size())
        return {false, QStringLiteral("请选择要删除的项目。")};
    const DishRow chosen = m_rows[row];
    if (!confirm(QStringLiteral("是否删除：") + chosen.name + QStringLiteral(" ?")))
        return {};
    if (!m_store.deleteDish(chosen.code, chosen.name))
        return {};
    // Every row of that code and name is gone from the table, so it leaves the list too.
    for (int r = int(m_rows.size()) - 1; r >= 0; --r) {
        if (m_rows[r].code == chosen.code && m_rows[r].name == chosen.name) {
            beginRemoveRows({}, r, r);
            m_rows.removeAt(r);
            endRemoveRows();
        }
    }
    return {true, QStringLiteral("处理成功。"), std::min(row, int(m_rows.size()) - 1)};
}

int DishCatalog::findRow(const std::function<bool(const DishRow&)>& match) const {
    for (int row = 0; row < m_rows.size(); ++row) {
        if (match(m_rows[row]))
            return row;
    }
    return -1;
}

void DishCatalog::setRow(int row, const DishRow& value) {
    m_rows[row] = value;
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
}

int DishCatalog::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int DishCatalog::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DishCatalog::data(const QModelIndex& index, int role) const {
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
    default:
        return QString();
    }
}

QVariant DishCatalog::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case Code:
        return QStringLiteral("数字代号");
    case Letters:
        return QStringLiteral("字母代号");
    case Name:
        return QStringLiteral("菜名");
    case Price:
        return QStringLiteral("价格");
    case Unit:
        return QStringLiteral("单位");
    default:
        return QString();
    }
}

} // namespace qm
