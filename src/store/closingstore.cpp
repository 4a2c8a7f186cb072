#include "store/closingstore.h"

#include "core/datetimetext.h"
#include "store/database.h"

#include <QSqlError>
#include <QSqlQuery>

namespace qm {

std::optional<ClosingRows> loadClosingRows(const Database& db, const QDateTime& from, const QDateTime& to,
                                           QString* error) {
    ClosingRows rows;
    QString failure;
    const QString start = isoText(from);
    const QString end = isoText(to);
    const auto fail = [&](const QSqlQuery& query) {
        failure = failureText(query.lastError());
        return false;
    };
    // The program is the database's only writer and nothing runs between the two reads.
    const auto read = [&] {
        QSqlQuery orders =
            db.prepare(QStringLiteral("SELECT ID, 票头, 支付方式, 桌号, 地址, 减免, 减免金额, 实付, 收银机 "
                                      "FROM 存单 WHERE 时间 > ? AND 时间 <= ? ORDER BY ID"),
                       {start, end});
        orders.setForwardOnly(true);
        if (!orders.exec())
            return fail(orders);
        while (orders.next()) {
            rows.orders.append(
                {orders.value(0).toLongLong(), orders.value(1).toString(), orders.value(2).toString(),
                 orders.value(3).toString(), orders.value(4).toString(), orders.value(5).toString(),
                 orders.value(6).toDouble(), orders.value(7).toDouble(), orders.value(8).toString()});
        }
        QSqlQuery lines = db.prepare(QStringLiteral("SELECT d.存单ID, d.菜名, d.数量, d.小计 FROM 存单 o "
                                                    "JOIN 存单详单 d ON d.存单ID = o.ID "
                                                    "WHERE o.时间 > ? AND o.时间 <= ? ORDER BY d.ID"),
                                     {start, end});
        lines.setForwardOnly(true);
        if (!lines.exec())
            return fail(lines);
        while (lines.next()) {
            rows.lines.append({lines.value(0).toLongLong(), lines.value(1).toString(),
                               lines.value(2).toDouble(), lines.value(3).toDouble()});
        }
        return true;
    };
    if (!read()) {
        if (error)
            *error = failure;
        return std::nullopt;
    }
    return rows;
}

} // namespace qm
