#pragma once

#include "catalog/tablecodes.h"
#include "catalog/ui/runmodal.h"
#include "store/catalogstore.h"

#include <QDialog>

// The window 桌号设置: the table code list 超级列表框1 with 按钮1 "添加", 按钮3 "修改" and 按钮2 "删除".
namespace qm {

class Platform;
class ReportListView;

class TableCodeWindow : public QDialog {
    Q_OBJECT
public:
    TableCodeWindow(const Database& db, Platform& platform, RunModal runModal = execModal,
                    QWidget* parent = nullptr);

    TableCodeList& tables() { return m_tables; }

    // 按钮1: opens 桌号添加.
    void addTables();
    // 按钮3, the menu item 修改 or a double click: opens 桌号修改 for the selected row.
    void modifyTable();
    // 按钮2, the menu item 删除 or the Delete key: deletes the selected table after asking.
    void deleteTable();

private:
    CatalogStore m_store;
    TableCodeList m_tables;
    Platform& m_platform;
    RunModal m_runModal;
    ReportListView* m_list;
};

} // namespace qm
