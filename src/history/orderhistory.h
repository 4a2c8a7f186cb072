#pragma once

#include "history/pagedbrowser.h"
#include "store/orderhistorystore.h"
#include "store/staffstore.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// The order history window's rules: its filter and browsing label, the list's texts, deleting an order,
// and what it needs from the main window to hand an order back for change.
namespace qm {

class Database;
class StaffSession;

// What the history window asks of the main window's order form.
struct OrderHandOff {
    // True when the form holds an order line or a telephone number.
    std::function<bool()> formHoldsOrder;
    // Resets the form and loads the order for change: enter modify mode, load the header, load the lines
    // of the day given as "<year>年<month>月<day>日". False when the order could not be loaded.
    std::function<bool(const QString& id, const QString& dateText)> openForChange;
    // Redraws the docked receipt preview, if it is open.
    std::function<void()> refreshPreview;
    // "重打后厨单": sends the kitchen slips of the order with this ID again.
    std::function<void(const QString& id)> reprintKitchen{};
    // Staff mode: who may delete and export, and the record of changes; none allows everything.
    StaffSession* staff = nullptr;
};

inline const QString allOrdersLabel = QStringLiteral("正在浏览全部数据");
inline const QString customerLabelMark = QStringLiteral("正在浏览客户");
inline const QString clearFormQuestion = QStringLiteral(
    "是否清除主界面上的点餐信息？\r\n\r\n点 是 清空未完成项目，并对选择数据进行修改。\r\n点 否 取消修改。");

// The texts of one list row (ID, 编号, day, 合计, 实付, 桌号, 电话, 姓名, 地址, 收银机, 操作员) from a
// page row.
QStringList orderRowTexts(const QVariantList& row);
// The 版本 the order had when its page row was read.
int orderRowVersion(const QVariantList& row);
// The three status bar texts for a count and the sums of 合计 and 实付.
QString orderCountText(qint64 count);
QString totalSumText(double sum);
QString paidSumText(double sum);
// The question before deleting the order shown with this number and day.
QString deleteQuestion(const QString& number, const QString& dateText);

class OrderHistory {
public:
    // `customerTelephone`: opened from the customer window on that customer (an empty one shows all
    // orders); the filters then stay out of reach.
    OrderHistory(Database& db, std::optional<QString> customerTelephone = std::nullopt);

    PagedBrowser& browser() { return m_browser; }
    const OrderFilter& filter() const { return m_table.filter(); }
    bool customerMode() const { return m_customerMode; }
    // 透明标签7.
    QString browsingLabel() const { return m_label; }
    // The window caption: "历史订单", or telephone + " 的历史订单" on one customer.
    QString caption() const;

    // Whether the list shows who stored each order: with staff mode on, or while a stored order names
    // someone (the mode was on once).
    bool namesStaff(const StaffSession* staff) const;

    // The filters of the menu 查询条件 and the popup menu; each shows page 1 afterwards (the caller's part).
    void showAll();
    void showTakeAway();
    void showDineIn();
    // False (nothing changes) for an empty telephone.
    bool showCustomer(const QString& telephone);
    void showDay(QDate day);
    // False when the first day is after the last.
    bool showDays(QDate first, QDate last);

    // Deletes order `id` with its lines in one transaction; the reason when it failed. Refused when the
    // order no longer has `seenVersion`, the 版本 its row in the list was read with: another till changed
    // or deleted it meanwhile. With `event`, the record of changes gains it in the same transaction.
    std::optional<QString> deleteOrder(qint64 id, int seenVersion,
                                       std::optional<AuditEvent> event = std::nullopt);

private:
    void setFilter(const OrderFilter& filter, const QString& label);

    Database& m_db;
    OrderHistoryTable m_table;
    PagedBrowser m_browser;
    bool m_customerMode = false;
    QString m_label = allOrdersLabel;
};

} // namespace qm
