#pragma once

#include "store/pagedtable.h"

#include <QDate>
#include <QString>

#include <functional>

// The stored orders as the order history pages through them, under one of its filters.
namespace qm {

class Database;

struct OrderFilter {
    enum class Kind {
        All,
        TakeAway, // 地址 not empty
        DineIn,   // 桌号 not empty
        Customer, // 电话 equal to `telephone`
        Days,     // after the start of `firstDay`, up to and including the start of the day after `lastDay`
    };
    Kind kind = Kind::All;
    QString telephone;
    QDate firstDay;
    QDate lastDay;

    static OrderFilter customer(const QString& telephone) { return {Kind::Customer, telephone, {}, {}}; }
    static OrderFilter days(QDate first, QDate last) { return {Kind::Days, {}, first, last}; }
    bool operator==(const OrderFilter&) const = default;
};

// The order list: count and the sums of 合计 and 实付 (in that order), pages of rows with the columns ID,
// 编号, 时间 (stored text), 合计, 实付, 桌号, 电话, 姓名, 地址, 收银机, 操作员, 版本 (the version a delete
// from the list compares). Reads the running totals where they exist, so that a count or a page costs the
// same on a million orders as on a hundred.
class OrderHistoryTable : public PagedTable {
public:
    explicit OrderHistoryTable(const Database& db);

    void setFilter(const OrderFilter& filter) { m_filter = filter; }
    const OrderFilter& filter() const { return m_filter; }

    std::optional<PageTotals> totals() const override;
    std::optional<QList<QVariantList>> page(qint64 first, int rows) const override;
    QString lastError() const override { return m_lastError; }

private:
    bool useTotals() const;
    // The ID range [low, high) holding the ranks first + 1 .. first + rows, and the rows to skip in it.
    struct Span {
        qint64 low = 0;
        qint64 high = 0;
        qint64 skip = 0;
    };
    std::optional<Span> spanOf(qint64 first, int rows) const;

    const Database& m_db;
    OrderFilter m_filter;
    bool m_totalsReady = false;
    mutable QString m_lastError;
};

// True when some stored order names the person who stored it (存单.操作员, written in staff mode).
bool ordersNameStaff(const Database& db);

// One line of the export: the 17 order fields followed by the line's 菜名, 数量, 单位, 小计.
struct ExportRecord {
    qint64 orderId = 0;
    QVariantList values; // 21 values in the export's column order, 存单.ID first
};

// Reads every order line under the filter, ordered by order ID and then line ID (so each order is one
// block), handing each to `each`, which returns false to stop. Orders without lines give nothing. False,
// with the reason in `error`, when the query failed; a stop asked by `each` is no failure.
bool readExportRecords(const Database& db, const OrderFilter& filter,
                       const std::function<bool(const ExportRecord&)>& each, QString& error);

} // namespace qm
