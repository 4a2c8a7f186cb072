#pragma once

#include "catalog/namedlist.h"
#include "store/catalogstore.h"

#include <QDialog>

class QComboBox;
class QPushButton;

// The one-column list window: 计量单位设置, 票头设置, 店铺名称设置 or 优惠减免设置. An editable combo box
// 组合框1 with the list's texts, 按钮1 "保存" and 按钮2 "删除".
namespace qm {

class Database;
class Platform;

class NamedListWindow : public QDialog {
    Q_OBJECT
public:
    NamedListWindow(NamedList list, const Database& db, Platform& platform, QWidget* parent = nullptr);

    void save();
    void remove();

private:
    void inform(const Outcome& outcome);

    CatalogStore m_store;
    NamedListItems m_items;
    Platform& m_platform;
    QComboBox* m_box;
};

} // namespace qm
