#pragma once

#include "core/ui/runmodal.h"
#include "history/orderhistory.h"

#include <QDialog>

#include <optional>

class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QStandardItemModel;

// The order history window 历史订单: pages through the stored orders 200 at a time under a filter of the
// menu 查询条件, deletes an order with its lines, hands an order back to the main window for change, and
// exports the orders of the filter as CSV.
namespace qm {

class Database;
class PageNavigator;
class Platform;
class ReportListView;

class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    // `customerTelephone`: opened from the customer window on that customer's orders (an empty telephone
    // shows all orders); the menu 查询条件 and "浏览所有单据" are then disabled for the window's lifetime.
    HistoryWindow(Database& db, Platform& platform, OrderHandOff handOff, RunModal runModal = execModal,
                  std::optional<QString> customerTelephone = std::nullopt, QWidget* parent = nullptr);
    ~HistoryWindow() override;

    // The commands of the buttons, the menus and the list.
    void modifySelected();
    void deleteSelected();
    void exportOrders();
    void showCustomerOfSelected();
    void askCustomer();
    void askDay();
    void askDays();

    // The pop-up menu 菜单 for the selected row, with "查看该客户的所有订单" enabled as the row allows.
    QMenu* createRowMenu();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenu(QMenuBar* bar);
    void showPage(qint64 page);
    void showFilter();
    void present(const PageView& view);
    // The list's text in `column` of the selected row; empty when none is selected.
    QString selectedText(int column) const;

    Database& m_db;
    Platform& m_platform;
    OrderHandOff m_handOff;
    RunModal m_runModal;
    OrderHistory m_history;
    QStandardItemModel* m_model = nullptr;
    ReportListView* m_list = nullptr;
    PageNavigator* m_navigator = nullptr;
    QLabel* m_browsing = nullptr;
    QLabel* m_status[3] = {};
    QMenu* m_filterMenu = nullptr;
    QPushButton* m_allButton = nullptr;
};

// Opens 历史订单 modally over `parent` and, once it is closed, refreshes the receipt preview (the main
// window's order may have changed). With `customerTelephone` it shows that customer's orders, as the
// customer window opens it.
void openOrderHistory(QWidget* parent, Database& db, Platform& platform, const OrderHandOff& handOff,
                      std::optional<QString> customerTelephone = std::nullopt, RunModal runModal = execModal);

} // namespace qm
