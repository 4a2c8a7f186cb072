#pragma once

#include "catalog/tablecodes.h"
#include "catalog/ui/cataloglistwindow.h"
#include "store/catalogstore.h"

// The window 桌号设置: the table code list with its dialogs 桌号添加 and 桌号修改.
namespace qm {

class TableCodeWindow : public CatalogListWindow {
    Q_OBJECT
public:
    TableCodeWindow(const Database& db, Platform& platform, RunModal runModal = execModal,
                    QWidget* parent = nullptr);

    void addEntries() override;

private:
    void runModifyDialog(int row) override;
    Outcome removeRow(int row, const std::function<bool(const QString&)>& confirm) override;

    CatalogStore m_store;
    TableCodeList m_tables;
};

} // namespace qm
