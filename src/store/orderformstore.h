#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// Everything the order form reads from and writes to the database: the dish and table-code caches, the
// choice lists, the customer look-up and the day's totals.
namespace qm {

class Database;

// One row of 菜单, as the order form keeps it. The price is held as its single-precision text.
struct DishRecord {
    QString name;    // 菜名
    QString price;   // 价格, e.g. "15.5"
    QString code;    // 代码, the number code
    QString letters; // 字母, the letter code
    QString unit;    // 单位
};

// One row of 桌号.
struct TableCodeRecord {
    QString code; // 代号
    QString name; // 桌号名称
};

// The tables the form's choice lists are filled from.
enum class ChoiceSource {
    TicketHeaders, // 票头设置.票头
    ShopNames,     // 店名.店铺名称
    Discounts,     // 减免.减免名称
    TableNames,    // 桌号.桌号名称
};

struct CustomerContact {
    QString name;
    QString address;
};

// The orders whose time falls on one day.
struct TodayTotals {
    int maxNumber = 0; // the highest 编号, 0 without orders
    int count = 0;
    double income = 0; // the sum of 实付
    int nextNumber() const { return maxNumber + 1; }
};

// Every dish in table order; empty when the query fails.
QList<DishRecord> loadDishes(const Database& db);
// Every table code in table order.
QList<TableCodeRecord> loadTableCodes(const Database& db);
// One column of a list table, in table order.
QStringList loadChoices(const Database& db, ChoiceSource source);
// The same; no value when the table cannot be read (the database locked by another program).
std::optional<QStringList> readChoices(const Database& db, ChoiceSource source);

// The first customer (in table order) with exactly this telephone.
std::optional<CustomerContact> findCustomer(const Database& db, const QString& telephone);
// The same, telling a failed read (the database locked by another program) from an unknown telephone.
struct CustomerLookup {
    bool read = false; // false: the query failed and nothing is known
    std::optional<CustomerContact> customer;
};
CustomerLookup lookUpCustomer(const Database& db, const QString& telephone);
// The different telephones of the customers whose telephone ends with `tail`, in ascending order, at most
// `limit` of them; no value when the table cannot be read.
std::optional<QStringList> telephonesEndingWith(const Database& db, const QString& tail, int limit);
// Inserts the customer unless one with this telephone exists. True when a row was inserted.
bool insertCustomerIfMissing(const Database& db, const QString& telephone, const QString& name,
                             const QString& address);

// Orders stored with a time in [today 00:00:00, tomorrow 00:00:00); no value when they cannot be read.
std::optional<TodayTotals> readTodayTotals(const Database& db, QDate today);
// The same, reading a failure as a day without orders.
TodayTotals todayTotals(const Database& db, QDate today);

} // namespace qm
