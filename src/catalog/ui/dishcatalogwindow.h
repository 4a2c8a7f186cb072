#pragma once

#include "catalog/dishcatalog.h"
#include "catalog/ui/cataloglistwindow.h"
#include "store/catalogstore.h"

// The window 菜单设置: the dish list with its add dialog 项目或菜品添加 and modify dialog 项目或菜品修改.
namespace qm {

class DishCatalogWindow : public CatalogListWindow {
    Q_OBJECT
public:
    DishCatalogWindow(Database& db, Platform& platform, RunModal runModal = execModal,
                      QWidget* parent = nullptr);

    void addEntries() override;
    // "导入…": dishes from a spreadsheet file; "导出…": the dish list to one, in the same form.
    void importDishes();
    void exportDishes();
    // Told the file after each export that was written (staff mode records it).
    void setExported(std::function<void(const QString& path)> exported) { m_exported = std::move(exported); }

private:
    void runModifyDialog(int row) override;
    Outcome removeRow(int row, const std::function<bool(const QString&)>& confirm) override;

    Database& m_db;
    CatalogStore m_store;
    DishCatalog m_catalog;
    std::function<void(const QString& path)> m_exported;
};

} // namespace qm
