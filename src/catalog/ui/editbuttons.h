#pragma once

class QHBoxLayout;
class QPushButton;
class QWidget;

// The buttons the catalog's list windows and their add and modify dialogs share.
namespace qm {

struct ListEditButtons {
    QPushButton* add;
    QPushButton* modify;
    QPushButton* remove;
    QHBoxLayout* row; // the three at its right
};

// 添加 (按钮1), 修改 (按钮3) and 删除 (按钮2) of a list window; Enter in the window presses none of them.
ListEditButtons listEditButtons(QWidget* parent);

// The default button (按钮1) of an add or modify dialog: 添加 when it adds, 修改 when it modifies.
QPushButton* addOrModifyButton(bool adding, QWidget* parent);

} // namespace qm
