#pragma once

#include "catalog/dishcatalog.h"
#include "catalog/ui/runmodal.h"
#include "store/catalogstore.h"

#include <QDialog>

// The window 菜单设置: the dish list 超级列表框1 with 按钮1 "添加", 按钮3 "修改" and 按钮2 "删除".
namespace qm {

class Platform;
class ReportListView;

class DishCatalogWindow : public QDialog {
    Q_OBJECT
public:
    DishCatalogWindow(const Database& db, Platform& platform, RunModal runModal = execModal,
                      QWidget* parent = nullptr);

    DishCatalog& catalog() { return m_catalog; }

    // 按钮1: opens 项目或菜品添加.
    void addDishes();
    // 按钮3, the menu item 修改 or a double click: opens 项目或菜品修改 for the selected row.
    void modifyDish();
    // 按钮2, the menu item 删除 or the Delete key: deletes the selected row after asking.
    void deleteDish();

private:
    const Database& m_db;
    CatalogStore m_store;
    DishCatalog m_catalog;
    Platform& m_platform;
    RunModal m_runModal;
    ReportListView* m_list;
};

} // namespace qm
