#pragma once

#include <QDialog>

#include <functional>

class QLineEdit;

// The dialogs 桌号添加 (stays open for the next table) and 桌号修改 (gives the table of the shown name
// another number code; closes after saving): 编辑框1 number code, 编辑框2 table name, 按钮1.
namespace qm {

class Platform;
class TableCodeList;

class TableCodeDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Add, Modify };

    // `row` is the list's selected row (modify only); `selectRow` selects and shows a list row.
    TableCodeDialog(Mode mode, TableCodeList& tables, Platform& platform, int row,
                    std::function<void(int)> selectRow, QWidget* parent = nullptr);

    // 按钮1: 添加 or 修改.
    void submit();

protected:
    void showEvent(QShowEvent* event) override;

private:
    Mode m_mode;
    TableCodeList& m_tables;
    Platform& m_platform;
    std::function<void(int)> m_selectRow;
    QLineEdit* m_codeEdit;
    QLineEdit* m_nameEdit;
};

} // namespace qm
