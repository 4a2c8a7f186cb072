#include "store/orderhistorystore.h"

#include "core/datetimetext.h"
#include "store/database.h"
#include "store/ordertotals.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace qm {

namespace {

const QString listColumns =
    QStringLiteral("ID, 编号, 时间, 合计, 实付, 桌号, 电话, 姓名, 地址, 收银机, 操作员, 版本");

QString dayStart(QDate day) {
    return isoText(QDateTime(day, QTime(0, 0)));
}

// " WHERE a" or " AND a" before a condition, nothing when there is none.
QString joined(const QString& keyword, const QString& condition) {
    return condition.isEmpty() ? QString() : keyword + condition;
}

struct Condition {
    QString sql; // empty: none
    QVariantList values;
};

bool run(QSqlQuery& query, const QVariantList& values, QString& error) {
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (query.exec())
        return true;
    error = failureText(query.lastError());
    return false;
}

// The filter as a condition on 存单, its values bound.
Condition conditionOf(const OrderFilter& filter) {
    switch (filter.kind) {
    case OrderFilter::Kind::All:
        return {};
    case OrderFilter::Kind::TakeAway:
        return {QStringLiteral("地址 <> ''"), {}};
    case OrderFilter::Kind::DineIn:
        return {QStringLiteral("桌号 <> ''"), {}};
    case OrderFilter::Kind::Customer:
        return {QStringLiteral("电话 = ?"), {filter.telephone}};
    case OrderFilter::Kind::Days:
        return {QStringLiteral("时间 > ? AND 时间 <= ?"),
                {dayStart(filter.firstDay), dayStart(filter.lastDay.addDays(1))}};
    }
    return {};
}

// The filter as a condition on the running totals (the filters they can answer).
Condition totalsConditionOf(const OrderFilter& filter) {
    switch (filter.kind) {
    case OrderFilter::Kind::TakeAway:
        return {QStringLiteral("外卖 = 1"), {}};
    case OrderFilter::Kind::DineIn:
        return {QStringLiteral("店内 = 1"), {}};
    case OrderFilter::Kind::Days:
        return {QStringLiteral("日 >= ? AND 日 <= ?"), {isoDate(filter.firstDay), isoDate(filter.lastDay)}};
    default:
        return {};
    }
}

} // namespace

OrderHistoryTable::OrderHistoryTable(const Database& db)
    : m_db(db)
    , m_totalsReady(orderTotalsReady(db)) {}

// One customer's orders are few and found through the telephone index; every other filter is answered
// from the running totals when they are there.
bool OrderHistoryTable::useTotals() const {
    return m_totalsReady && m_filter.kind != OrderFilter::Kind::Customer;
}

std::optional<PageTotals> OrderHistoryTable::totals() const {
    const Condition condition = useTotals() ? totalsConditionOf(m_filter) : conditionOf(m_filter);
    const QString sql = useTotals() ? QStringLiteral("SELECT sum(单数), sum(合计), sum(实付) FROM 存单汇总")
                                    : QStringLiteral("SELECT count(*), sum(合计), sum(实付) FROM 存单");
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql + joined(QStringLiteral(" WHERE "), condition.sql)) ||
        !run(query, condition.values, m_lastError) || !query.next()) {
        if (m_lastError.isEmpty())
            m_lastError = failureText(query.lastError());
        return std::nullopt;
    }
    return PageTotals{query.value(0).toLongLong(), {query.value(1).toDouble(), query.value(2).toDouble()}};
}

std::optional<OrderHistoryTable::Span> OrderHistoryTable::spanOf(qint64 first, int rows) const {
    const Condition condition = totalsConditionOf(m_filter);
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT 块, sum(单数) FROM 存单汇总%1 GROUP BY 块 ORDER BY 块")
                           .arg(joined(QStringLiteral(" WHERE "), condition.sql))) ||
        !run(query, condition.values, m_lastError))
        return std::nullopt;
    Span span;
    bool started = false;
    qint64 before = 0; // orders in the blocks passed
    qint64 lastBlock = 0;
    while (query.next()) {
        const qint64 block = query.value(0).toLongLong();
        const qint64 count = query.value(1).toLongLong();
        lastBlock = block;
        if (!started && before + count > first) {
            started = true;
            span.low = block * orderBlockSize;
            span.skip = first - before;
        }
        before += count;
        if (started && before >= first + rows) {
            span.high = (block + 1) * orderBlockSize;
            return span;
        }
    }
    if (!started)
        return Span{};
    span.high = (lastBlock + 1) * orderBlockSize;
    return span;
}

std::optional<QList<QVariantList>> OrderHistoryTable::page(qint64 first, int rows) const {
    m_lastError.clear();
    QList<QVariantList> result;
    if (rows <= 0 || first < 0)
        return result;
    Condition condition = conditionOf(m_filter);
    QString range;
    qint64 skip = first;
    if (useTotals()) {
        const std::optional<Span> span = spanOf(first, rows);
        if (!span)
            return std::nullopt;
        if (span->high <= span->low)
            return result;
        range = QStringLiteral("ID >= ? AND ID < ?");
        condition.values.prepend(span->high);
        condition.values.prepend(span->low);
        skip = span->skip;
        condition.sql = condition.sql.isEmpty() ? range : range + QStringLiteral(" AND ") + condition.sql;
    }
    QSqlQuery query(m_db.connection());
    query.setForwardOnly(true);
    condition.values << rows << skip;
    if (!query.prepare(QStringLiteral("SELECT %1 FROM 存单%2 ORDER BY ID LIMIT ? OFFSET ?")
                           .arg(listColumns, joined(QStringLiteral(" WHERE "), condition.sql))) ||
        !run(query, condition.values, m_lastError)) {
        if (m_lastError.isEmpty())
            m_lastError = failureText(query.lastError());
        return std::nullopt;
    }
    const int columns = int(listColumns.count(QLatin1Char(',')) + 1);
    while (query.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row << query.value(c);
        result << row;
    }
    std::reverse(result.begin(), result.end());
    return result;
}

bool ordersNameStaff(const Database& db) {
    // Only staff mode writes 操作员, and staff mode keeps its owner in 员工: a shop that never set up staff
    // is answered without reading 存单. Otherwise the newest orders are the likely ones to name someone.
    QSqlQuery staff = db.prepare(QStringLiteral("SELECT 1 FROM 员工 LIMIT 1"));
    staff.setForwardOnly(true);
    if (!staff.exec() || !staff.next())
        return false;
    QSqlQuery named =
        db.prepare(QStringLiteral("SELECT 1 FROM 存单 WHERE 操作员 <> '' ORDER BY ID DESC LIMIT 1"));
    named.setForwardOnly(true);
    return named.exec() && named.next();
}

// Two queries read side by side, both in order ID order: the orders under the filter and their lines. Each
// order's fields are read once however many lines it has, which halves what a million orders cost.
namespace {

// The export of the orders `condition` selects, in ID order; `stopped` is set when `each` asked to stop.
bool readExportSpan(const Database& db, const Condition& condition,
                    const std::function<bool(const ExportRecord&)>& each, QString& error, bool& stopped) {
    const QString where = joined(QStringLiteral(" WHERE "), condition.sql);
    QSqlQuery orders(db.connection());
    orders.setForwardOnly(true);
    QSqlQuery lines(db.connection());
    // A PostgreSQL connection streams one result at a time: there the lines are read whole at once.
    lines.setForwardOnly(!db.isServer());
    const QString orderSql =
        QStringLiteral("SELECT ID, 编号, 票头, 店铺名称, 时间, 减免, 减免份数, 减免金额, 合计, 支付方式, "
                       "已付, 实付, 桌号, 电话, 姓名, 地址, 备注 FROM 存单%1 ORDER BY ID")
            .arg(where);
    const QString lineSql =
        QStringLiteral("SELECT 存单ID, 菜名, 数量, 单位, 小计 FROM 存单详单%1 ORDER BY 存单ID, ID")
            .arg(condition.sql.isEmpty()
                     ? QString()
                     : QStringLiteral(" WHERE 存单ID IN (SELECT ID FROM 存单%1)").arg(where));
    if (!orders.prepare(orderSql) || !lines.prepare(lineSql)) {
        error = failureText((orders.lastError().isValid() ? orders : lines).lastError());
        return false;
    }
    // The lines first: on PostgreSQL they are read whole before the orders start streaming.
    if (!run(lines, condition.values, error) || !run(orders, condition.values, error))
        return false;
    ExportRecord record;
    record.values.resize(21);
    bool haveLine = false;
    qint64 lineOrder = 0; // the order of the current line
    auto nextLine = [&] {
        haveLine = lines.next();
        if (haveLine)
            lineOrder = lines.value(0).toLongLong();
    };
    nextLine();
    while (haveLine && orders.next()) {
        record.orderId = orders.value(0).toLongLong();
        // Lines of orders that are gone or filtered out are passed over.
        while (haveLine && lineOrder < record.orderId)
            nextLine();
        if (!haveLine || lineOrder != record.orderId)
            continue;
        for (int c = 0; c < 17; ++c)
            record.values[c] = orders.value(c);
        while (haveLine && lineOrder == record.orderId) {
            for (int c = 1; c < 5; ++c)
                record.values[16 + c] = lines.value(c);
            if (!each(record)) {
                stopped = true;
                return true;
            }
            nextLine();
        }
    }
    for (const QSqlQuery* query : {&orders, &lines}) {
        if (query->lastError().isValid()) {
            error = failureText(query->lastError());
            return false;
        }
    }
    return true;
}

// Orders per span of the export on a server.
constexpr int exportSpanOrders = 5000;

} // namespace

bool readExportRecords(const Database& db, const OrderFilter& filter,
                       const std::function<bool(const ExportRecord&)>& each, QString& error) {
    const Condition condition = conditionOf(filter);
    bool stopped = false;
    if (!db.isServer())
        return readExportSpan(db, condition, each, error, stopped);
    // A PostgreSQL client holds each result whole: the export goes through the orders in spans of IDs, so
    // that a million orders take no more memory than one span.
    const QString prefix =
        condition.sql.isEmpty() ? QString() : QStringLiteral("(%1) AND ").arg(condition.sql);
    qint64 after = 0; // IDs start at 1
    while (!stopped) {
        QSqlQuery ids(db.connection());
        ids.setForwardOnly(true);
        QVariantList values = condition.values;
        values << after;
        if (!ids.prepare(QStringLiteral("SELECT ID FROM 存单 WHERE %1ID > ? ORDER BY ID LIMIT %2")
                             .arg(prefix)
                             .arg(exportSpanOrders)) ||
            !run(ids, values, error))
            return false;
        qint64 last = after;
        while (ids.next())
            last = ids.value(0).toLongLong();
        if (ids.lastError().isValid()) {
            error = failureText(ids.lastError());
            return false;
        }
        if (last == after)
            return true;
        Condition span{prefix + QStringLiteral("ID > ? AND ID <= ?"), condition.values};
        span.values << after << last;
        if (!readExportSpan(db, span, each, error, stopped))
            return false;
        after = last;
    }
    return true;
}

} // namespace qm
