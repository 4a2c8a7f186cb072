#include "store/reportstore.h"

#include "core/datetimetext.h"
#include "store/database.h"
#include "store/salestotals.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QVariantList>

namespace qm {

namespace {

// "时间 >= ? AND 时间 < ?" for the range, on the given column.
QString rangeCondition(const QString& column, const TimeRange& range) {
    return QStringLiteral("%1 %2 ? AND %1 %3 ?")
        .arg(column, range.lowerIncluded ? QStringLiteral(">=") : QStringLiteral(">"),
             range.upperIncluded ? QStringLiteral("<=") : QStringLiteral("<"));
}

// Runs a prepared query; on failure keeps the reason in `error`.
bool run(QSqlQuery& query, QString* error) {
    if (query.exec())
        return true;
    if (error)
        *error = failureText(query.lastError());
    return false;
}

// Sums each month or day of [from, to) with its own range query on the time index: a year costs twelve
// index range scans and no sorting, where grouping by a function of the time would sort every row.
QList<GroupTotal> groupTotals(QSqlQuery& query, const QDate& from, const QDate& to, Grouping grouping,
                              const QString& dish, QString* error) {
    QList<GroupTotal> groups;
    const int first = dish.isEmpty() ? 0 : 1;
    if (!dish.isEmpty())
        query.bindValue(0, dish);
    for (QDate start = from; start.isValid() && start < to;) {
        const QDate next = grouping == Grouping::Month ? start.addMonths(1) : start.addDays(1);
        const TimeRange range = TimeRange::days(start, next);
        query.bindValue(first, range.lower);
        query.bindValue(first + 1, range.upper);
        if (!run(query, error))
            return {};
        if (query.next() && query.value(0).toInt() > 0) {
            groups.append({start.toString(grouping == Grouping::Month ? QStringLiteral("yyyy-MM")
                                                                      : QStringLiteral("yyyy-MM-dd")),
                           query.value(0).toInt(), query.value(1).toDouble()});
        }
        query.finish();
        start = next;
    }
    return groups;
}

// Binds the values in order to a prepared query.
void bindAll(QSqlQuery& query, const QVariantList& values) {
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
}

QString dishCondition(const QString& dish) {
    return dish.isEmpty() ? QString() : QStringLiteral("菜名 = ? AND ");
}

QVariantList salesValues(const TimeRange& range, const QString& dish) {
    QVariantList values;
    if (!dish.isEmpty())
        values << dish;
    values << range.lower << range.upper;
    return values;
}

} // namespace

TimeRange TimeRange::days(const QDate& from, const QDate& to) {
    return {isoDate(from) + QStringLiteral(" 00:00:00"), true, isoDate(to) + QStringLiteral(" 00:00:00"),
            false};
}

TimeRange TimeRange::day(const QDate& day) {
    return {isoDate(day) + QStringLiteral(" 00:00:00"), false,
            isoDate(day.addDays(1)) + QStringLiteral(" 00:00:00"), true};
}

QList<GroupTotal> incomeByPeriod(const Database& db, const QDate& from, const QDate& to, Grouping grouping,
                                 QString* error) {
    QSqlQuery query =
        db.prepare(QStringLiteral("SELECT count(*), sum(实付) FROM 存单 WHERE 时间 >= ? AND 时间 < ?"));
    return groupTotals(query, from, to, grouping, QString(), error);
}

QList<PaidOrder> paidOrders(const Database& db, const TimeRange& range, QString* error) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 时间, 实付 FROM 存单 WHERE %1 ORDER BY 时间, ID")
                                     .arg(rangeCondition(QStringLiteral("时间"), range)),
                                 {range.lower, range.upper});
    QList<PaidOrder> orders;
    if (!run(query, error))
        return orders;
    while (query.next())
        orders.append({parseIso(query.value(0).toString()).value_or(QDateTime()), query.value(1).toDouble()});
    return orders;
}

QList<GroupTotal> salesByPeriod(const Database& db, const QDate& from, const QDate& to, Grouping grouping,
                                const QString& dish, QString* error) {
    // Whole days: the kept totals per day and dish answer them with the lines' own ranges.
    QSqlQuery query = db.prepare(
        (salesTotalsReady(db)
             ? QStringLiteral("SELECT sum(行数), sum(小计) FROM 销售汇总 WHERE %1日 >= ? AND 日 < ?")
             : QStringLiteral(
                   "SELECT count(*), sum(小计) FROM 存单详单 WHERE %1销售时间 >= ? AND 销售时间 < ?"))
            .arg(dishCondition(dish)));
    return groupTotals(query, from, to, grouping, dish, error);
}

QList<SoldLine> soldLines(const Database& db, const TimeRange& range, const QString& dish, QString* error) {
    QSqlQuery query =
        db.prepare(QStringLiteral("SELECT 销售时间, 菜名, 数量, 小计 FROM 存单详单 WHERE %1%2 "
                                  "ORDER BY 销售时间, ID")
                       .arg(dishCondition(dish), rangeCondition(QStringLiteral("销售时间"), range)));
    bindAll(query, salesValues(range, dish));
    QList<SoldLine> lines;
    if (!run(query, error))
        return lines;
    while (query.next()) {
        lines.append({parseIso(query.value(0).toString()).value_or(QDateTime()), query.value(1).toString(),
                      query.value(2).toDouble(), query.value(3).toDouble()});
    }
    return lines;
}

QStringList dishNames(const Database& db) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 菜名 FROM 菜单 ORDER BY ID"));
    QStringList names;
    if (!query.exec())
        return names;
    while (query.next())
        names << query.value(0).toString();
    return names;
}

} // namespace qm
