#pragma once

#include "catalog/dishcatalog.h"
#include "catalog/ui/cataloglistwindow.h"
#include "store/catalogstore.h"

// The window 菜单设置: the dish list with its add dialog 项目或菜品添加 and modify dialog 项目或菜品修改.
namespace qm {

class DishCatalogWindow : public CatalogListWindow {
    Q_OBJECT
public:
    DishCatalogWindow(const Database& db, Platform& platform, RunModal runModal = execModal,
                      QWidget* parent = nullptr);

    void addEntries() override;

private:
    void runModifyDialog(int row) override;
    Outcome removeRow(int row, const std::function<bool(const QString&)>& confirm) override;

    const Database& m_db;
    CatalogStore m_store;
    DishCatalog m_catalog;
};

} // namespace qm
