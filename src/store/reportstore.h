#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What the income report and the sales statistics read: orders and order lines of a period, summed per
// month or day or listed one by one. Every period is a range on the stored ISO time, so the time index
// answers it.
namespace qm {

class Database;

// A period on the stored time: from `lower` to `upper`, each bound included or not.
struct TimeRange {
    QString lower;
    bool lowerIncluded = true;
    QString upper;
    bool upperIncluded = false;

    // [from 0:00:00, to 0:00:00): whole days, months or years.
    static TimeRange days(const QDate& from, const QDate& to);
    // (day 0:00:00, next day 0:00:00]: one day as the history and the totals count it. An order stamped
    // exactly at midnight (settled in the first minute after it) belongs to the day before.
    static TimeRange day(const QDate& day);
};

// The groups a period is summed in: by month ("yyyy-mm") or by day ("yyyy-mm-dd").
enum class Grouping { Month, Day };

struct GroupTotal {
    QString key; // "2016-05" or "2016-05-03"
    int count = 0;
    double sum = 0;
};

// Orders (存单) of the days [from, to) per month or day that has any, summing 实付, in time order. Empty when
// there are none or the query fails.
QList<GroupTotal> incomeByPeriod(const Database& db, const QDate& from, const QDate& to, Grouping grouping,
                                 QString* error = nullptr);

struct PaidOrder {
    QDateTime time;
    double paid = 0; // 实付
};
// The orders of the range in time order.
QList<PaidOrder> paidOrders(const Database& db, const TimeRange& range, QString* error = nullptr);

// Order lines (存单详单) of the days [from, to) per month or day, summing 小计; `dish` empty for every dish,
// else the lines of exactly that 菜名. Read from the kept sales totals (salestotals.h) when they are in
// place, else from the lines.
QList<GroupTotal> salesByPeriod(const Database& db, const QDate& from, const QDate& to, Grouping grouping,
                                const QString& dish, QString* error = nullptr);

struct SoldLine {
    QDateTime time; // 销售时间
    QString name;   // 菜名
    double quantity = 0;
    double amount = 0; // 小计
};
// The order lines of the range in time order, for every dish or for one.
QList<SoldLine> soldLines(const Database& db, const TimeRange& range, const QString& dish,
                          QString* error = nullptr);

// A query that fails gives an empty list and, with `error`, the reason there.

// Every 菜名 of 菜单 in table order.
QStringList dishNames(const Database& db);

} // namespace qm
