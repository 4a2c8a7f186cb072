#pragma once

#include "catalog/dishlistmodel.h"
#include "catalog/dishrules.h"
#include "catalog/outcome.h"
#include "store/catalogstore.h"

#include <QList>

#include <functional>

// The dish list of the window 菜单设置: the rows of 菜单 as the list shows them, and the add, modify and
// delete actions that keep the table and the list in step.
namespace qm {

class DishCatalog : public DishListModel {
    Q_OBJECT
public:
    explicit DishCatalog(const CatalogStore& store, QObject* parent = nullptr);

    // Reads every dish in table order; a failed read leaves the list empty.
    void load();

    // 添加: refuses an invalid dish, then a number code the list shows, then a name the list shows (the
    // row that has it is given to select); on success the dish is appended and given to select.
    Outcome add(const DishInput& input);
    // 修改: the name is the key. Changes code, letter code, price, unit and station of the dish with that
    // name.
    Outcome modify(const DishInput& input);
    // 删除 of the given row (-1: none selected), after `confirm` agreed to the question.
    Outcome remove(int row, const std::function<bool(const QString& question)>& confirm);

private:
    int findRow(const std::function<bool(const DishRow&)>& match) const;

    const CatalogStore& m_store;
};

} // namespace qm
