#pragma once

#include "catalog/outcome.h"
#include "core/ui/runmodal.h"

#include <QDialog>
#include <QList>

#include <functional>

class QAbstractItemModel;
class QHBoxLayout;
class QPushButton;

// A master-data list window (菜单设置, 桌号设置): the report list 超级列表框1 above the buttons 按钮1 "添加",
// 按钮3 "修改" and 按钮2 "删除". A double click, the Delete key and the list's row menu reach the same
// actions as the buttons; what adding, modifying and deleting mean is the list's own.
namespace qm {

class Platform;
class ReportListView;

class CatalogListWindow : public QDialog {
    Q_OBJECT
public:
    // 按钮1: opens the add dialog.
    virtual void addEntries() = 0;
    // 按钮3, the menu item 修改 or a double click: opens the modify dialog for the selected row.
    void modifySelected();
    // 按钮2, the menu item 删除 or the Delete key: deletes the selected row after asking.
    void deleteSelected();

protected:
    // `name` is the window's name and title, `size` its starting size.
    CatalogListWindow(const QString& name, QSize size, Platform& platform, RunModal runModal,
                      QWidget* parent);

    // Shows `model` in the list, `widths` being the pixel widths of columns 1, 2, ...; the window's
    // constructor calls it once its model exists.
    void setUpList(QAbstractItemModel* model, const QList<int>& widths, QSize minimum);
    // A further button at the left of the button row.
    QPushButton* addRowButton(const QString& name, const QString& caption);
    // Selects the row and scrolls it into view; -1 clears the selection.
    void selectRow(int row);

    // Opens the modify dialog for `row` (a row is selected).
    virtual void runModifyDialog(int row) = 0;
    // Removes `row` (-1: none selected) after `confirm` agreed to the question.
    virtual Outcome removeRow(int row, const std::function<bool(const QString& question)>& confirm) = 0;

    Platform& m_platform;
    RunModal m_runModal;

private:
    ReportListView* m_list = nullptr;
    QHBoxLayout* m_buttonRow = nullptr;
};

} // namespace qm
