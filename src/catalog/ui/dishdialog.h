#pragma once

#include "core/ui/runmodal.h"
#include "store/catalogstore.h"

#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

// The dialogs 项目或菜品添加 (add: the letter code follows the name, the unit list reloads each time it
// drops down, the dialog stays open for the next dish) and 项目或菜品修改 (modify the dish of the selected
// row: the name is the key; the dialog closes after saving).
namespace qm {

class DishCatalog;
class DropDownComboBox;
class Platform;

class DishDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // `row` is the dish list's selected row (modify only); `selectRow` selects and shows a list row.
    DishDialog(Mode mode, DishCatalog& catalog, const Database& db, Platform& platform, int row,
               std::function<void(int)> selectRow, RunModal runModal = execModal, QWidget* parent = nullptr);

    // 按钮1: 添加 or 修改.
    void submit();
    // 按钮8: opens 计量单位设置, then reloads the unit list.
    void openUnits();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void add();
    void saveModification();
    // Clears the unit list and fills it from 单位; selects the item equal to `unit` (none when empty).
    void reloadUnits(const QString& unit = {});
    // Fills the station list from 出品部门 and selects `station`.
    void reloadStations(const QString& station);

    Mode m_mode;
    DishCatalog& m_catalog;
    const Database& m_db;
    CatalogStore m_store;
    Platform& m_platform;
    int m_row;
    std::function<void(int)> m_selectRow;
    RunModal m_runModal;
    QLineEdit* m_nameEdit;
    QLineEdit* m_lettersEdit;
    QLineEdit* m_codeEdit;
    QLineEdit* m_priceEdit;
    DropDownComboBox* m_unitBox;
    DropDownComboBox* m_stationBox;
};

} // namespace qm
