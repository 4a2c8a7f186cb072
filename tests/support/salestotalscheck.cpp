#include "support/salestotalscheck.h"

#include "core/datetimetext.h"
#include "store/database.h"

#include <QSqlQuery>
#include <QStringList>

#include <cmath>

namespace qm {

namespace {

struct Figures {
    qint64 lines = -1;
    double quantity = 0;
    double amount = 0;

    bool matches(const Figures& other) const {
        return lines == other.lines && std::abs(quantity - other.quantity) < 1e-6 &&
               std::abs(amount - other.amount) < 1e-6;
    }
    QString text() const {
        return QStringLiteral("%1 行, 数量 %2, 小计 %3")
            .arg(lines)
            .arg(quantity, 0, 'g', 15)
            .arg(amount, 0, 'g', 15);
    }
};

Figures read(const Database& db, const QString& sql, const QVariantList& values) {
    QSqlQuery query = db.prepare(sql);
    for (int i = 0; i < values.size(); ++i)
        query.bindValue(i, values[i]);
    if (!query.exec() || !query.next())
        return {};
    return {query.value(0).toLongLong(), query.value(1).toDouble(), query.value(2).toDouble()};
}

QString compare(const Database& db, const QString& where, const QString& totalsWhere,
                const QVariantList& values, const QString& what) {
    const Figures lines =
        read(db,
             QStringLiteral("SELECT count(*), coalesce(sum(数量), 0), coalesce(sum(小计), 0) FROM 存单详单") +
                 where,
             values);
    const Figures totals = read(db,
                                QStringLiteral("SELECT coalesce(sum(行数), 0), coalesce(sum(数量), 0), "
                                               "coalesce(sum(小计), 0) FROM 销售汇总") +
                                    totalsWhere,
                                values);
    if (totals.matches(lines))
        return {};
    return QStringLiteral("%1: 存单详单 %2, 销售汇总 %3").arg(what, lines.text(), totals.text());
}

} // namespace

QString salesTotalsDifference(const Database& db, const QDate& first, const QDate& last) {
    QStringList dishes{QString()};
    QSqlQuery names =
        db.prepare(QStringLiteral("SELECT DISTINCT 菜名 FROM 存单详单 WHERE 菜名 <> '' ORDER BY 1"));
    if (!names.exec())
        return QStringLiteral("存单详单 unreadable: ") + db.lastError();
    while (names.next())
        dishes << names.value(0).toString();
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        const QString from = isoDate(day) + QStringLiteral(" 00:00:00");
        const QString to = isoDate(day.addDays(1)) + QStringLiteral(" 00:00:00");
        for (const QString& dish : dishes) {
            const QString dishCondition = dish.isEmpty() ? QString() : QStringLiteral(" AND 菜名 = ?");
            QVariantList values{from, to};
            if (!dish.isEmpty())
                values << dish;
            const QString difference = compare(
                db, QStringLiteral(" WHERE 销售时间 >= ? AND 销售时间 < ?") + dishCondition,
                QStringLiteral(" WHERE 日 >= ? AND 日 < ?") + dishCondition, values,
                isoDate(day) + QLatin1Char(' ') + (dish.isEmpty() ? QStringLiteral("所有商品") : dish));
            if (!difference.isEmpty())
                return difference;
        }
    }
    return compare(db, QString(), QString(), {}, QStringLiteral("所有行"));
}

} // namespace qm
