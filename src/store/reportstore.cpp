#include "store/reportstore.h"

#include "core/datetimetext.h"
#include "store/database.h"

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

// The group key of a stored ISO time: its first 7 ("yyyy-mm") or 10 ("yyyy-mm-dd") characters.
QString groupKey(const QString& column, Grouping grouping) {
    return QStringLiteral("substr(%1, 1, %2)").arg(column).arg(grouping == Grouping::Month ? 7 : 10);
}

QList<GroupTotal> readGroups(QSqlQuery& query) {
    QList<GroupTotal> groups;
    if (!query.exec())
        return groups;
    while (query.next())
        groups.append({query.value(0).toString(), query.value(1).toInt(), query.value(2).toDouble()});
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

TimeRange TimeRange::dayAfterMidnight(const QDate& day) {
    return {isoDate(day) + QStringLiteral(" 00:00:00"), false, isoDate(day) + QStringLiteral(" 23:59:59"),
            true};
}

QList<GroupTotal> incomeByPeriod(const Database& db, const TimeRange& range, Grouping grouping) {
    const QString key = groupKey(QStringLiteral("时间"), grouping);
    QSqlQuery query = db.prepare(QStringLiteral("SELECT %1, count(*), sum(实付) FROM 存单 WHERE %2 "
                                                "GROUP BY %1 ORDER BY %1")
                                     .arg(key, rangeCondition(QStringLiteral("时间"), range)),
                                 {range.lower, range.upper});
    return readGroups(query);
}

QList<PaidOrder> paidOrders(const Database& db, const TimeRange& range) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 时间, 实付 FROM 存单 WHERE %1 ORDER BY 时间, ID")
                                     .arg(rangeCondition(QStringLiteral("时间"), range)),
                                 {range.lower, range.upper});
    QList<PaidOrder> orders;
    if (!query.exec())
        return orders;
    while (query.next())
        orders.append({parseIso(query.value(0).toString()).value_or(QDateTime()), query.value(1).toDouble()});
    return orders;
}

QList<GroupTotal> salesByPeriod(const Database& db, const TimeRange& range, Grouping grouping,
                                const QString& dish) {
    const QString key = groupKey(QStringLiteral("销售时间"), grouping);
    QSqlQuery query =
        db.prepare(QStringLiteral("SELECT %1, count(*), sum(小计) FROM 存单详单 WHERE %2%3 "
                                  "GROUP BY %1 ORDER BY %1")
                       .arg(key, dishCondition(dish), rangeCondition(QStringLiteral("销售时间"), range)));
    bindAll(query, salesValues(range, dish));
    return readGroups(query);
}

QList<SoldLine> soldLines(const Database& db, const TimeRange& range, const QString& dish) {
    QSqlQuery query =
        db.prepare(QStringLiteral("SELECT 销售时间, 菜名, 数量, 小计 FROM 存单详单 WHERE %1%2 "
                                  "ORDER BY 销售时间, ID")
                       .arg(dishCondition(dish), rangeCondition(QStringLiteral("销售时间"), range)));
    bindAll(query, salesValues(range, dish));
    QList<SoldLine> lines;
    if (!query.exec())
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
