#pragma once

#include "store/staffstore.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QSqlQuery>
#include <QString>

#include <optional>

// Stored orders: one 存单 row with its 存单详单 lines, and the customer's order count. Every write that
// belongs together runs in one transaction; a failure leaves the database as it was.
namespace qm {

class Database;

// One 存单 row (without its ID).
struct StoredOrder {
    int number = 0; // 编号
    QString ticketHeader;
    QString shopName;
    QDateTime time; // stored as ISO text
    QString discountName;
    double discountCount = 0; // 减免份数
    double discountAmount = 0;
    double total = 0;
    QString paymentMethod;
    double paid = 0;  // 已付
    double toPay = 0; // 实付
    QString tableName;
    QString telephone;
    QString customerName;
    QString address;
    bool settled = false; // 是否结算
    QString note;
    QString till;      // 收银机: the till that stored it; a new order gets the database's till name
    int version = 0;   // 版本 as loaded: a change is stored only while the order still has it
    QString staffName; // 操作员: who stored it, with staff mode on; only a new order writes it
};

// One 存单详单 row; its 存单ID and 销售时间 come from the order it belongs to.
struct StoredLine {
    QString name;
    double quantity = 0;
    QString unit;
    double amount = 0;
};

// Inserts the lines of order `id`, each with the order's time; on failure keeps the reason in `error`.
// Part of the caller's transaction.
bool insertLines(const Database& db, qint64 id, const QDateTime& time, const QList<StoredLine>& lines,
                 QString& error);
// The same with the statement of lineInsert(), which a writer of many orders prepares once: preparing it
// also compiles the triggers on 存单详单 into it.
QSqlQuery lineInsert(const Database& db);
bool insertLines(QSqlQuery& insert, qint64 id, const QDateTime& time, const QList<StoredLine>& lines,
                 QString& error);

// Inserts the 存单 row and its lines and gives the new ID; on failure no value and the reason in `error`.
// The customer is not counted. Part of the caller's transaction.
std::optional<qint64> insertOrderRows(const Database& db, const StoredOrder& order,
                                      const QList<StoredLine>& lines, QString& error);

// What a write gives back: the order's ID, or the reason it failed.
struct OrderWriteResult {
    std::optional<qint64> id;
    QString error;
    int number = 0; // the 编号 stored
    explicit operator bool() const { return id.has_value(); }
};

// Whose order number a new order carries.
enum class OrderNumber {
    AsTyped,  // typed by the cashier: stored as it is
    Proposed, // proposed by the program: when the day already has it, the next free number is stored
};

// Inserts a new order, its lines and, when it carries a telephone, counts it for the customer; all in one
// transaction. The ID is the one the insert produced. A proposed number is checked inside the transaction,
// so a number read while the database could not be read never stores a duplicate.
// With `event` (a discount that needed permission), the record gains it in the same transaction.
OrderWriteResult insertOrder(Database& db, const StoredOrder& order, const QList<StoredLine>& lines,
                             OrderNumber numbering = OrderNumber::AsTyped,
                             std::optional<AuditEvent> event = std::nullopt);
// Stores a change of order `id`: its old lines are deleted, the row updated and the new lines inserted, in
// one transaction. The customer's count is not touched. Fails, with a message saying so, when the order
// no longer exists or another till changed it since it was loaded (its 版本 is no longer order.version).
// With `event`, the record gains it with the order before and after the change, in the same transaction.
OrderWriteResult changeOrder(Database& db, qint64 id, const StoredOrder& order,
                             const QList<StoredLine>& lines, std::optional<AuditEvent> event = std::nullopt);
// Deletes an order with its lines in one transaction. With `event`, the record of changes gains the event
// with the order's whole content in the same transaction. With `seenVersion` (the 版本 the order had where
// the user chose it), fails with a message saying so when another till changed or deleted it since.
OrderWriteResult deleteOrder(Database& db, qint64 id, std::optional<AuditEvent> event = std::nullopt,
                             std::optional<int> seenVersion = std::nullopt);
// The order as the record of changes keeps it: header values and one line per order line.
QString orderRecordText(const StoredOrder& order, const QList<StoredLine>& lines);
// The 实付 an order record text (orderRecordText()) tells; no value in a text of another shape.
std::optional<double> recordedToPay(const QString& recordText);

std::optional<StoredOrder> loadOrder(const Database& db, qint64 id);
// The lines of an order in the order they were stored; with `day`, only lines sold on that day.
QList<StoredLine> loadOrderLines(const Database& db, qint64 id, std::optional<QDate> day = std::nullopt);

// The customer with this telephone has ordered again: 订餐次数 raised by one (from the first row with the
// telephone) and 最近订餐日期 set to `time`, its name and address left alone; a new telephone is inserted
// with the count 1. Not a transaction of its own: insertOrder() runs it inside the order's.
bool countCustomerOrder(const Database& db, const QString& telephone, const QString& name,
                        const QString& address, const QDateTime& time);

struct CustomerRecord {
    QString telephone;
    QString name;
    QString address;
    QString lastOrder; // 最近订餐日期 as stored
    int orderCount = 0;
};
// The first customer (in table order) with this telephone.
std::optional<CustomerRecord> loadCustomer(const Database& db, const QString& telephone);

} // namespace qm
