#pragma once

#include "catalog/customerlist.h"
#include "catalog/customers.h"
#include "core/ui/runmodal.h"
#include "history/pagedbrowser.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QMenu;

// The customer window 客户设置: pages through the customers 200 at a time, searches them by whole name or
// telephone, adds, modifies and deletes them, and opens the order history of one of them.
namespace qm {

class Database;
class PageNavigator;
class Platform;
class ReportListView;

// Opens the order history, modally over the customer window, on the orders of the customer with this
// telephone.
using OpenCustomerOrders = std::function<void(QWidget* customerWindow, const QString& telephone)>;

class CustomerWindow : public QDialog {
    Q_OBJECT
public:
    // `search` is the search of the program's run: the window opens on it (with an empty search box), and
    // 查找 and "浏览所有客户" change it for later openings too. Without `openOrders` the menu item
    // "查看该客户的所有订单" stays disabled.
    CustomerWindow(Database& db, Platform& platform, QString& search, OpenCustomerOrders openOrders = {},
                   RunModal runModal = execModal, QWidget* parent = nullptr);
    ~CustomerWindow() override;

    // 查找 (or Enter in the search box 编辑框2).
    void search();
    // 跳到_2 "浏览所有客户".
    void browseAll();
    // 按钮1: opens 客户添加.
    void addCustomers();
    // "导入…": customers from a spreadsheet file.
    void importCustomers();
    // 按钮3, the menu item "修改" or a double click: opens 客户修改 on the selected row.
    void modifySelected();
    // 按钮2, the menu item "删除" or the Delete key.
    void deleteSelected();
    // The menu item "查看该客户的所有订单".
    void showOrdersOfSelected();
    // The pop-up menu 菜单 for the selected row: "修改", "删除", "查看该客户的所有订单".
    QMenu* createRowMenu();

private:
    void showPage(qint64 page);
    // Shows the current page again (page 1 when none was shown, as before the first customer came).
    void showCurrentPage();
    void present(const PageView& view);
    // Lets the list show what an action of a dialog stored.
    void follow(const CustomerOutcome& outcome);
    void setSearch(const QString& search);

    Database& m_db;
    Platform& m_platform;
    QString& m_search;
    OpenCustomerOrders m_openOrders;
    RunModal m_runModal;
    CustomerActions m_actions;
    CustomerTable m_table;
    PagedBrowser m_browser;
    CustomerList m_model;
    QLineEdit* m_searchEdit = nullptr;
    ReportListView* m_list = nullptr;
    PageNavigator* m_navigator = nullptr;
    QLabel* m_status = nullptr;
};

// Opens 客户设置 modally over `parent` and returns once it is closed.
void openCustomers(QWidget* parent, Database& db, Platform& platform, QString& search,
                   OpenCustomerOrders openOrders = {});

} // namespace qm
