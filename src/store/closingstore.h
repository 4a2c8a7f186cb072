#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// What the day's closing summary reads: the orders of a period and the lines that belong to them.
namespace qm {

class Database;

struct ClosingOrderRow {
    qint64 id = 0;
    QString ticketHeader;  // 票头
    QString paymentMethod; // 支付方式
    QString tableName;     // 桌号
    QString address;       // 地址
    QString discountName;  // 减免
    double discountAmount = 0;
    double toPay = 0;  // 实付
    QString till;      // 收银机: the till that stored it
    QString staffName; // 操作员: who stored it, in staff mode
};

// An event of the record of changes that the closing counts per cashier (a deleted or changed order, a
// reprint, the drawer opened without a sale), with the amount it concerns.
struct ClosingEventRow {
    QString person; // 人员: who was signed in
    QString action; // 操作
    // 删除订单: the 实付 the order had; 修改已结算订单: its 实付 after the change less before; 重打小票: the
    // order's 实付 as stored now (0 when it is gone); 0 for the drawer.
    double amount = 0;
};

struct ClosingLineRow {
    qint64 orderId = 0;
    QString name;
    double quantity = 0;
    double amount = 0; // 小计
};

struct ClosingRows {
    QList<ClosingOrderRow> orders;
    QList<ClosingLineRow> lines;
    QList<ClosingEventRow> events; // in the order they were recorded
};

// The orders stamped after `from` up to and including `to`, their lines, and the record's events of the
// same period. A changed order is one row
// under its ID and its lines are the changed ones, so nothing is counted twice. No value when a query
// failed; the reason is in `error`.
std::optional<ClosingRows> loadClosingRows(const Database& db, const QDateTime& from, const QDateTime& to,
                                           QString* error = nullptr);

} // namespace qm
