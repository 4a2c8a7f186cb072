#include "store/closingstore.h"

#include "core/datetimetext.h"
#include "store/database.h"
#include "store/orderstore.h"
#include "store/staffstore.h"

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
        QSqlQuery orders = db.prepare(
            QStringLiteral("SELECT ID, 票头, 支付方式, 桌号, 地址, 减免, 减免金额, 实付, 收银机, 操作员 "
                           "FROM 存单 WHERE 时间 > ? AND 时间 <= ? ORDER BY ID"),
            {start, end});
        orders.setForwardOnly(true);
        if (!orders.exec())
            return fail(orders);
        while (orders.next()) {
            rows.orders.append({orders.value(0).toLongLong(), orders.value(1).toString(),
                                orders.value(2).toString(), orders.value(3).toString(),
                                orders.value(4).toString(), orders.value(5).toString(),
                                orders.value(6).toDouble(), orders.value(7).toDouble(),
                                orders.value(8).toString(), orders.value(9).toString()});
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
        QSqlQuery events = db.prepare(
            QStringLiteral("SELECT a.人员, a.操作, a.之前, a.之后, o.实付 FROM 操作记录 a "
                           "LEFT JOIN 存单 o ON o.ID = a.存单ID "
                           "WHERE a.时间 > ? AND a.时间 <= ? AND a.操作 IN (?, ?, ?, ?) ORDER BY a.ID"),
            {start, end, auditOrderDeleted, auditSettledChanged, auditReprint, auditDrawerOpened});
        events.setForwardOnly(true);
        if (!events.exec())
            return fail(events);
        while (events.next()) {
            ClosingEventRow event{events.value(0).toString(), events.value(1).toString(), 0};
            const QString before = events.value(2).toString();
            const QString after = events.value(3).toString();
            if (event.action == auditOrderDeleted)
                event.amount = recordedToPay(before).value_or(0);
            else if (event.action == auditSettledChanged)
                event.amount = recordedToPay(after).value_or(0) - recordedToPay(before).value_or(0);
            else if (event.action == auditReprint)
                event.amount = events.value(4).toDouble();
            rows.events.append(event);
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
