#include "catalog/dishcatalog.h"

#include "core/numtext.h"

#include <algorithm>

namespace qm {

namespace {

DishRow rowOf(const StoredDish& dish) {
    return {dish.code, dish.letters, dish.name, doubleText(dish.price), dish.unit, dish.station};
}

} // namespace

DishCatalog::DishCatalog(const CatalogStore& store, QObject* parent)
    : DishListModel(QStringLiteral("菜名"), parent, true)
    , m_store(store) {}

void DishCatalog::load() {
    QList<DishRow> loaded;
    if (const auto dishes = m_store.loadDishes()) {
        for (const StoredDish& dish : *dishes)
            loaded.append(rowOf(dish));
    }
    setRows(std::move(loaded));
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
    const int row = int(rows().size());
    appendRow(rowOf(dish));
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
    for (int row = found; row < rows().size(); ++row) {
        if (rows()[row].name == dish.name)
            setRow(row, rowOf(dish));
    }
    return {true, QStringLiteral("修改完成。"), found};
}

Outcome DishCatalog::remove(int row, const std::function<bool(const QString&)>& confirm) {
    if (row < 0 || row >= rows().size())
        return {false, QStringLiteral("请选择要删除的项目。")};
    const DishRow chosen = rows()[row];
    if (!confirm(QStringLiteral("是否删除：") + chosen.name + QStringLiteral(" ?")))
        return {};
    if (!m_store.deleteDish(chosen.code, chosen.name))
        return {};
    // Every row of that code and name is gone from the table, so it leaves the list too.
    for (int r = int(rows().size()) - 1; r >= 0; --r) {
        if (rows()[r].code == chosen.code && rows()[r].name == chosen.name)
            removeRowAt(r);
    }
    return {true, QStringLiteral("处理成功。"), std::min(row, int(rows().size()) - 1)};
}

int DishCatalog::findRow(const std::function<bool(const DishRow&)>& match) const {
    for (int row = 0; row < rows().size(); ++row) {
        if (match(rows()[row]))
            return row;
    }
    return -1;
}

} // namespace qm
