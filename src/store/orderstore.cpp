#include "store/orderstore.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "store/database.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include <functional>

namespace qm {

namespace {

const QString orderColumns =
    QStringLiteral("编号, 票头, 店铺名称, 时间, 减免, 减免份数, 减免金额, 合计, 支付方式, "
                   "已付, 实付, 桌号, 电话, 姓名, 地址, 是否结算, 备注");
const int orderColumnCount = 17;

// Binds the order's values, in the order of orderColumns, from placeholder `first` on.
void bindOrder(QSqlQuery& query, const StoredOrder& o, int first = 0) {
    const QVariant values[] = {o.number,
                               storedText(o.ticketHeader),
                               storedText(o.shopName),
                               isoText(o.time),
                               storedText(o.discountName),
                               o.discountCount,
                               o.discountAmount,
                               o.total,
                               storedText(o.paymentMethod),
                               o.paid,
                               o.toPay,
                               storedText(o.tableName),
                               storedText(o.telephone),
                               storedText(o.customerName),
                               storedText(o.address),
                               o.settled ? 1 : 0,
                               storedText(o.note)};
    for (const QVariant& value : values)
        query.bindValue(first++, value);
}

// Runs a prepared query; on failure keeps the reason in `error`.
bool run(QSqlQuery& query, QString& error) {
    if (query.exec())
        return true;
    error = failureText(query.lastError());
    return false;
}

// Runs `work` in one transaction; the result carries the ID it produced or the reason it failed.
OrderWriteResult inTransaction(Database& db, const std::function<bool(qint64&, QString&)>& work) {
    qint64 id = 0;
    QString error;
    const bool ok = db.transaction([&] { return work(id, error); });
    OrderWriteResult result;
    if (ok)
        result.id = id;
    else
        result.error = error.isEmpty() ? db.lastError() : error;
    return result;
}

// `number` when no order of that day has it yet, else the day's highest number plus one.
std::optional<int> freeNumber(const Database& db, int number, QDate day, QString& error) {
    const QString from = isoDate(day) + QStringLiteral(" 00:00:00");
    const QString to = isoDate(day.addDays(1)) + QStringLiteral(" 00:00:00");
    QSqlQuery used =
        db.prepare(QStringLiteral("SELECT max(编号), sum(CASE WHEN 编号 = ? THEN 1 ELSE 0 END) FROM 存单 "
                                  "WHERE 时间 >= ? AND 时间 < ?"),
                   {number, from, to});
    if (!run(used, error) || !used.next()) {
        if (error.isEmpty())
            error = failureText(used.lastError());
        return std::nullopt;
    }
    return used.value(1).toInt() > 0 ? used.value(0).toInt() + 1 : number;
}

// An order that is no longer there: deleted by another till since it was read.
QString goneText(qint64 id) {
    return QStringLiteral("存单ID %1 已不存在，可能已被其他收银机删除").arg(id);
}

} // namespace

QSqlQuery lineInsert(const Database& db) {
    return db.prepare(QStringLiteral(
        "INSERT INTO 存单详单 (存单ID, 销售时间, 菜名, 数量, 单位, 小计) VALUES (?, ?, ?, ?, ?, ?)"));
}

bool insertLines(const Database& db, qint64 id, const QDateTime& time, const QList<StoredLine>& lines,
                 QString& error) {
    QSqlQuery query = lineInsert(db);
    return insertLines(query, id, time, lines, error);
}

bool insertLines(QSqlQuery& query, qint64 id, const QDateTime& time, const QList<StoredLine>& lines,
                 QString& error) {
    const QString sold = isoText(time);
    for (const StoredLine& line : lines) {
        query.bindValue(0, id);
        query.bindValue(1, sold);
        query.bindValue(2, storedText(line.name));
        query.bindValue(3, line.quantity);
        query.bindValue(4, storedText(line.unit));
        query.bindValue(5, line.amount);
        if (!run(query, error))
            return false;
    }
    return true;
}

std::optional<qint64> insertOrderRows(const Database& db, const StoredOrder& order,
                                      const QList<StoredLine>& lines, QString& error) {
    // The new ID comes back from the insert itself (RETURNING), the same on both engines.
    QSqlQuery insert =
        db.prepare(QStringLiteral("INSERT INTO 存单 (%1, 收银机, 操作员) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
                                  "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING ID")
                       .arg(orderColumns));
    bindOrder(insert, order);
    insert.bindValue(orderColumnCount, storedText(order.till.isEmpty() ? db.tillName() : order.till));
    insert.bindValue(orderColumnCount + 1, storedText(order.staffName));
    if (!run(insert, error))
        return std::nullopt;
    const qint64 id = insert.next() ? insert.value(0).toLongLong() : 0;
    insert.finish();
    if (id <= 0) {
        error = QStringLiteral("no ID for the new order");
        return std::nullopt;
    }
    if (!insertLines(db, id, order.time, lines, error))
        return std::nullopt;
    return id;
}

OrderWriteResult insertOrder(Database& db, const StoredOrder& order, const QList<StoredLine>& lines,
                             OrderNumber numbering, std::optional<AuditEvent> event) {
    StoredOrder numbered = order;
    OrderWriteResult result = inTransaction(db, [&](qint64& id, QString& error) {
        // Other tills wait here until this order is stored: the free number and the customer's row read
        // below stay true until the commit.
        if (!db.lockOrderWrites())
            return false;
        if (numbering == OrderNumber::Proposed) {
            const std::optional<int> free = freeNumber(db, order.number, order.time.date(), error);
            if (!free)
                return false;
            numbered.number = *free;
        }
        const std::optional<qint64> inserted = insertOrderRows(db, numbered, lines, error);
        if (!inserted)
            return false;
        id = *inserted;
        if (!order.telephone.isEmpty() &&
            !countCustomerOrder(db, order.telephone, order.customerName, order.address, order.time)) {
            error = db.lastError();
            return false;
        }
        if (event) {
            event->orderId = id;
            event->orderNumber = numbered.number;
            event->after = orderRecordText(numbered, lines);
            if (!appendAudit(db, *event)) {
                error = db.lastError();
                return false;
            }
        }
        return true;
    });
    if (result)
        result.number = numbered.number;
    return result;
}

OrderWriteResult changeOrder(Database& db, qint64 id, const StoredOrder& order,
                             const QList<StoredLine>& lines, std::optional<AuditEvent> event) {
    return inTransaction(db, [&](qint64& storedId, QString& error) {
        storedId = id;
        // In turn with the other writers of orders (see Database::lockOrderWrites()).
        if (!db.lockOrderWrites())
            return false;
        if (event) {
            const std::optional<StoredOrder> old = loadOrder(db, id);
            if (!old) {
                error = goneText(id);
                return false;
            }
            event->orderId = id;
            event->orderNumber = order.number;
            event->before = orderRecordText(*old, loadOrderLines(db, id));
            event->after = orderRecordText(order, lines);
        }
        QSqlQuery removeLines = db.prepare(QStringLiteral("DELETE FROM 存单详单 WHERE 存单ID = ?"), {id});
        if (!run(removeLines, error))
            return false;
        QSqlQuery update =
            db.prepare(QStringLiteral("UPDATE 存单 SET 编号 = ?, 票头 = ?, 店铺名称 = ?, 时间 = ?, "
                                      "减免 = ?, 减免份数 = ?, 减免金额 = ?, 合计 = ?, 支付方式 = ?, "
                                      "已付 = ?, 实付 = ?, 桌号 = ?, 电话 = ?, 姓名 = ?, 地址 = ?, "
                                      "是否结算 = ?, 备注 = ?, 版本 = 版本 + 1 WHERE ID = ? AND 版本 = ?"));
        bindOrder(update, order);
        update.bindValue(orderColumnCount, id);
        update.bindValue(orderColumnCount + 1, order.version);
        if (!run(update, error))
            return false;
        if (update.numRowsAffected() != 1) {
            error = loadOrder(db, id)
                        ? QStringLiteral("存单ID %1 已被其他收银机修改，请重新打开后再改").arg(id)
                        : goneText(id);
            return false;
        }
        if (!insertLines(db, id, order.time, lines, error))
            return false;
        if (event && !appendAudit(db, *event)) {
            error = db.lastError();
            return false;
        }
        return true;
    });
}

OrderWriteResult deleteOrder(Database& db, qint64 id, std::optional<AuditEvent> event,
                             std::optional<int> seenVersion) {
    return inTransaction(db, [&](qint64& deletedId, QString& error) {
        deletedId = id;
        if (!db.lockOrderWrites())
            return false;
        if (event) {
            const std::optional<StoredOrder> old = loadOrder(db, id);
            if (!old) {
                error = goneText(id);
                return false;
            }
            event->orderId = id;
            event->orderNumber = old->number;
            event->before = orderRecordText(*old, loadOrderLines(db, id));
        }
        // The order row first: on a server a till changing it at this moment is waited for, and its new
        // 版本 then no longer matches.
        QSqlQuery remove =
            seenVersion
                ? db.prepare(QStringLiteral("DELETE FROM 存单 WHERE ID = ? AND 版本 = ?"), {id, *seenVersion})
                : db.prepare(QStringLiteral("DELETE FROM 存单 WHERE ID = ?"), {id});
        if (!run(remove, error))
            return false;
        if (seenVersion && remove.numRowsAffected() != 1) {
            error = loadOrder(db, id) ? QStringLiteral("存单ID %1 已被其他收银机修改，请刷新后再删除").arg(id)
                                      : goneText(id);
            return false;
        }
        QSqlQuery removeLines = db.prepare(QStringLiteral("DELETE FROM 存单详单 WHERE 存单ID = ?"), {id});
        if (!run(removeLines, error))
            return false;
        if (event && !appendAudit(db, *event)) {
            error = db.lastError();
            return false;
        }
        return true;
    });
}

QString orderRecordText(const StoredOrder& o, const QList<StoredLine>& lines) {
    QStringList out;
    out << QStringLiteral("编号：%1  时间：%2").arg(o.number).arg(isoText(o.time))
        << QStringLiteral("合计：%1  减免：%2 %3  实付：%4  支付方式：%5")
               .arg(doubleText(o.total), o.discountName, doubleText(o.discountAmount), doubleText(o.toPay),
                    o.paymentMethod)
        << QStringLiteral("桌号：%1  电话：%2  姓名：%3  地址：%4  备注：%5")
               .arg(o.tableName, o.telephone, o.customerName, o.address, o.note);
    for (const StoredLine& line : lines) {
        out << QStringLiteral("%1 × %2%3  %4")
                   .arg(line.name, doubleText(line.quantity), line.unit, doubleText(line.amount));
    }
    return out.join(QLatin1Char('\n'));
}

std::optional<double> recordedToPay(const QString& recordText) {
    // The amounts are the second line; the figure is followed by the payment method, whatever its text.
    static const QRegularExpression toPay(QStringLiteral("  实付：(-?[0-9]+(?:\\.[0-9]+)?)  支付方式："));
    const QRegularExpressionMatch match = toPay.match(recordText.section(QLatin1Char('\n'), 1, 1));
    if (!match.hasMatch())
        return std::nullopt;
    return match.captured(1).toDouble();
}

std::optional<StoredOrder> loadOrder(const Database& db, qint64 id) {
    QSqlQuery query =
        db.prepare(QStringLiteral("SELECT %1, 收银机, 版本 FROM 存单 WHERE ID = ?").arg(orderColumns), {id});
    if (!query.exec() || !query.next())
        return std::nullopt;
    StoredOrder o;
    int c = 0;
    o.number = query.value(c++).toInt();
    o.ticketHeader = query.value(c++).toString();
    o.shopName = query.value(c++).toString();
    o.time = parseIso(query.value(c++).toString()).value_or(QDateTime());
    o.discountName = query.value(c++).toString();
    o.discountCount = query.value(c++).toDouble();
    o.discountAmount = query.value(c++).toDouble();
    o.total = query.value(c++).toDouble();
    o.paymentMethod = query.value(c++).toString();
    o.paid = query.value(c++).toDouble();
    o.toPay = query.value(c++).toDouble();
    o.tableName = query.value(c++).toString();
    o.telephone = query.value(c++).toString();
    o.customerName = query.value(c++).toString();
    o.address = query.value(c++).toString();
    o.settled = query.value(c++).toInt() != 0;
    o.note = query.value(c++).toString();
    o.till = query.value(c++).toString();
    o.version = query.value(c++).toInt();
    return o;
}

QList<StoredLine> loadOrderLines(const Database& db, qint64 id, std::optional<QDate> day) {
    const QString sql = QStringLiteral("SELECT 菜名, 数量, 单位, 小计 FROM 存单详单 WHERE 存单ID = ?");
    QSqlQuery query =
        day ? db.prepare(sql + QStringLiteral(" AND 销售时间 >= ? AND 销售时间 < ? ORDER BY ID"),
                         {id, isoDate(*day), isoDate(day->addDays(1))})
            : db.prepare(sql + QStringLiteral(" ORDER BY ID"), {id});
    QList<StoredLine> lines;
    if (!query.exec())
        return lines;
    while (query.next()) {
        lines.append({query.value(0).toString(), query.value(1).toDouble(), query.value(2).toString(),
                      query.value(3).toDouble()});
    }
    return lines;
}

bool countCustomerOrder(const Database& db, const QString& telephone, const QString& name,
                        const QString& address, const QDateTime& time) {
    const std::optional<CustomerRecord> known = loadCustomer(db, telephone);
    if (!known) {
        return db.exec(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址, 最近订餐日期, 订餐次数) "
                                      "VALUES (?, ?, ?, ?, 1)"),
                       {telephone, name, address, isoText(time)});
    }
    // Counted in the statement itself: two tills counting the same customer at once both count.
    return db.exec(QStringLiteral("UPDATE 客户 SET 最近订餐日期 = ?, 订餐次数 = coalesce(订餐次数, 0) + 1 "
                                  "WHERE 电话 = ?"),
                   {isoText(time), telephone});
}

std::optional<CustomerRecord> loadCustomer(const Database& db, const QString& telephone) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 电话, 姓名, 地址, 最近订餐日期, 订餐次数 FROM 客户 "
                                                "WHERE 电话 = ? ORDER BY ID LIMIT 1"),
                                 {telephone});
    if (!query.exec() || !query.next())
        return std::nullopt;
    return CustomerRecord{query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                          query.value(3).toString(), query.value(4).toInt()};
}

} // namespace qm
