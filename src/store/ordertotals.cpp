#include "store/ordertotals.h"

#include "store/database.h"
#include "store/schema.h"

// Each engine's own syntax for the totals (triggers, upsert, the day of a time) stays in this file: SQLite
// triggers with their statements inline, PostgreSQL PL/pgSQL functions called by row triggers. On both the
// totals change in the transaction that changes the order.
namespace qm {

namespace {

// The day an order counts for: the day filters hold the orders after the start of a day up to and
// including the start of the next, so an order at exactly midnight counts for the day before. An
// unreadable time counts for no day ('').
QString dayOf(const QString& row) {
    return QStringLiteral("coalesce(date(%1.时间, '-1 second'), '')").arg(row);
}

QString flag(const QString& row, const char* column) {
    return QStringLiteral("CASE WHEN %1.%2 <> '' THEN 1 ELSE 0 END").arg(row, QString::fromUtf8(column));
}

QString blockOf(const QString& row) {
    return QStringLiteral("%1.ID / %2").arg(row).arg(orderBlockSize);
}

// Adds the order NEW to its totals row.
QString addNew() {
    const QString row = QStringLiteral("NEW");
    return QStringLiteral("INSERT INTO 存单汇总 (块, 日, 外卖, 店内, 单数, 合计, 实付) "
                          "VALUES (%1, %2, %3, %4, 1, coalesce(NEW.合计, 0), coalesce(NEW.实付, 0)) "
                          "ON CONFLICT (块, 日, 外卖, 店内) DO UPDATE SET 单数 = 单数 + 1, "
                          "合计 = 合计 + excluded.合计, 实付 = 实付 + excluded.实付;")
        .arg(blockOf(row), dayOf(row), flag(row, "地址"), flag(row, "桌号"));
}

// Takes the order OLD out of its totals row; a row left without orders goes, so that no rounding
// remainder of its sums stays behind.
QString removeOld() {
    const QString row = QStringLiteral("OLD");
    const QString key = QStringLiteral("块 = %1 AND 日 = %2 AND 外卖 = %3 AND 店内 = %4")
                            .arg(blockOf(row), dayOf(row), flag(row, "地址"), flag(row, "桌号"));
    return QStringLiteral("UPDATE 存单汇总 SET 单数 = 单数 - 1, 合计 = 合计 - coalesce(OLD.合计, 0), "
                          "实付 = 实付 - coalesce(OLD.实付, 0) WHERE %1; "
                          "DELETE FROM 存单汇总 WHERE %1 AND 单数 <= 0;")
        .arg(key);
}

const QStringList triggerNames = {QStringLiteral("存单汇总_插入"), QStringLiteral("存单汇总_删除"),
                                  QStringLiteral("存单汇总_修改")};

QList<RowTrigger> triggers(const QString& add, const QString& remove) {
    return {{triggerNames[0], QStringLiteral("INSERT"), add},
            {triggerNames[1], QStringLiteral("DELETE"), remove},
            {triggerNames[2], QStringLiteral("UPDATE OF ID, 时间, 地址, 桌号, 合计, 实付"), remove + add}};
}

// PostgreSQL: the day of a time as SQLite's date(…, '-1 second') gives it, '' for an unreadable time.
const char* const serverDayFunction =
    "CREATE OR REPLACE FUNCTION 存单汇总_日(t text) RETURNS text LANGUAGE plpgsql IMMUTABLE AS $f$ "
    "BEGIN RETURN coalesce(to_char(CAST(t AS timestamp) - interval '1 second', 'YYYY-MM-DD'), ''); "
    "EXCEPTION WHEN others THEN RETURN ''; END $f$";

QString serverKey(const QString& row) {
    return QStringLiteral("%1.ID / %2, 存单汇总_日(%1.时间), %3, %4")
        .arg(row)
        .arg(orderBlockSize)
        .arg(flag(row, "地址"), flag(row, "桌号"));
}

QString serverAdd() {
    return QStringLiteral("INSERT INTO 存单汇总 AS s (块, 日, 外卖, 店内, 单数, 合计, 实付) "
                          "VALUES (%1, 1, coalesce(NEW.合计, 0), coalesce(NEW.实付, 0)) "
                          "ON CONFLICT (块, 日, 外卖, 店内) DO UPDATE SET 单数 = s.单数 + 1, "
                          "合计 = s.合计 + excluded.合计, 实付 = s.实付 + excluded.实付;")
        .arg(serverKey(QStringLiteral("NEW")));
}

QString serverRemove() {
    return QStringLiteral("UPDATE 存单汇总 SET 单数 = 单数 - 1, 合计 = 合计 - coalesce(OLD.合计, 0), "
                          "实付 = 实付 - coalesce(OLD.实付, 0) WHERE (块, 日, 外卖, 店内) = (%1); "
                          "DELETE FROM 存单汇总 WHERE (块, 日, 外卖, 店内) = (%1) AND 单数 <= 0;")
        .arg(serverKey(QStringLiteral("OLD")));
}

bool fill(const Database& db) {
    const QString row = QStringLiteral("存单");
    if (db.isServer())
        return db.exec(QStringLiteral("INSERT INTO 存单汇总 (块, 日, 外卖, 店内, 单数, 合计, 实付) "
                                      "SELECT %1, count(*), coalesce(sum(合计), 0), coalesce(sum(实付), 0) "
                                      "FROM 存单 GROUP BY 1, 2, 3, 4")
                           .arg(serverKey(row)));
    return db.exec(QStringLiteral("INSERT INTO 存单汇总 (块, 日, 外卖, 店内, 单数, 合计, 实付) "
                                  "SELECT %1, %2, %3, %4, count(*), total(合计), total(实付) FROM 存单 "
                                  "GROUP BY 1, 2, 3, 4")
                       .arg(blockOf(row), dayOf(row), flag(row, "地址"), flag(row, "桌号")));
}

} // namespace

bool orderTotalsReady(const Database& db) {
    return !columnNames(db, QStringLiteral("存单汇总")).isEmpty() &&
           triggersPresent(db, QStringLiteral("存单"), triggerNames);
}

bool suspendOrderTotals(const Database& db) {
    return dropTriggers(db, QStringLiteral("存单"), triggerNames);
}

bool ensureOrderTotals(const Database& db) {
    if (columnNames(db, QStringLiteral("存单")).isEmpty())
        return false;
    if (orderTotalsReady(db))
        return true;
    // Missing, or a trigger is gone (a rebuilt 存单 loses them): the totals are counted afresh.
    const bool ok =
        columnNames(db, QStringLiteral("存单汇总")).isEmpty()
            ? db.exec(
                  db.isServer()
                      ? QStringLiteral("CREATE TABLE 存单汇总 (块 BIGINT NOT NULL, 日 TEXT COLLATE \"C\" "
                                       "NOT NULL, 外卖 INTEGER NOT NULL, 店内 INTEGER NOT NULL, "
                                       "单数 INTEGER NOT NULL, 合计 DOUBLE PRECISION NOT NULL, "
                                       "实付 DOUBLE PRECISION NOT NULL, PRIMARY KEY (块, 日, 外卖, 店内))")
                      : QStringLiteral("CREATE TABLE 存单汇总 (块 INTEGER NOT NULL, 日 TEXT NOT NULL, "
                                       "外卖 INTEGER NOT NULL, 店内 INTEGER NOT NULL, "
                                       "单数 INTEGER NOT NULL, 合计 REAL NOT NULL, 实付 REAL NOT NULL, "
                                       "PRIMARY KEY (块, 日, 外卖, 店内)) WITHOUT ROWID"))
            : db.exec(QStringLiteral("DELETE FROM 存单汇总"));
    if (!ok || (db.isServer() && !db.exec(QString::fromUtf8(serverDayFunction))) || !fill(db))
        return false;
    const QList<RowTrigger> kept =
        db.isServer() ? triggers(serverAdd(), serverRemove()) : triggers(addNew(), removeOld());
    for (const QString& sql : rowTriggerStatements(db, QStringLiteral("存单"), kept)) {
        if (!db.exec(sql))
            return false;
    }
    return true;
}

} // namespace qm
