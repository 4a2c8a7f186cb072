#include "store/salestotals.h"

#include "store/database.h"
#include "store/schema.h"

// Each engine's own text for the sales totals stays in this file: SQLite triggers with their statements
// inline, PostgreSQL PL/pgSQL functions called by row triggers (rowTriggerStatements()). On both the totals
// change in the transaction that changes the line.
namespace qm {

namespace {

const QString totalsTable = QStringLiteral("销售汇总");
const QString linesTable = QStringLiteral("存单详单");
const QStringList triggerNames = {QStringLiteral("销售汇总_插入"), QStringLiteral("销售汇总_删除"),
                                  QStringLiteral("销售汇总_修改")};

// The day key of a line's 销售时间 (see salestotals.h). A time from its first ten characters on at or after
// that day's 00:00:00 lies in the day's range, whatever follows; any other time is its own key, and a
// missing one the empty text, which no range holds. The server compares byte by byte, as SQLite does and
// as the column does.
QString dayKey(const Database& db, const QString& row) {
    const QString time = db.isServer() ? QStringLiteral("(%1.销售时间 COLLATE \"C\")").arg(row)
                                       : QStringLiteral("%1.销售时间").arg(row);
    return QStringLiteral("CASE WHEN %1 >= substr(%1, 1, 10) || ' 00:00:00' "
                          "THEN substr(%1, 1, 10) || ' 00:00:00' ELSE coalesce(%1, '') END")
        .arg(time);
}

QString dishOf(const QString& row) {
    return QStringLiteral("coalesce(%1.菜名, '')").arg(row);
}

// Adds the line NEW to its totals row. PostgreSQL needs the table's alias to tell its columns from those
// of the row offered (excluded).
QString addNew(const Database& db) {
    const QString row = QStringLiteral("NEW");
    const QString s = db.isServer() ? QStringLiteral("s.") : QString();
    return QStringLiteral("INSERT INTO 销售汇总%1 (日, 菜名, 行数, 数量, 小计) "
                          "VALUES (%2, %3, 1, coalesce(NEW.数量, 0), coalesce(NEW.小计, 0)) "
                          "ON CONFLICT (日, 菜名) DO UPDATE SET 行数 = %4行数 + 1, "
                          "数量 = %4数量 + excluded.数量, 小计 = %4小计 + excluded.小计;")
        .arg(db.isServer() ? QStringLiteral(" AS s") : QString(), dayKey(db, row), dishOf(row), s);
}

// Takes the line OLD out of its totals row; a row left without lines goes, so that no rounding remainder
// of its sums stays behind.
QString removeOld(const Database& db) {
    const QString row = QStringLiteral("OLD");
    const QString key = QStringLiteral("日 = %1 AND 菜名 = %2").arg(dayKey(db, row), dishOf(row));
    return QStringLiteral("UPDATE 销售汇总 SET 行数 = 行数 - 1, 数量 = 数量 - coalesce(OLD.数量, 0), "
                          "小计 = 小计 - coalesce(OLD.小计, 0) WHERE %1; "
                          "DELETE FROM 销售汇总 WHERE %1 AND 行数 <= 0;")
        .arg(key);
}

QList<RowTrigger> triggers(const Database& db) {
    return {{triggerNames[0], QStringLiteral("INSERT"), addNew(db)},
            {triggerNames[1], QStringLiteral("DELETE"), removeOld(db)},
            {triggerNames[2], QStringLiteral("UPDATE OF 销售时间, 菜名, 数量, 小计"),
             removeOld(db) + addNew(db)}};
}

bool createTable(const Database& db) {
    return db.exec(db.isServer()
                       ? QStringLiteral("CREATE TABLE 销售汇总 (日 TEXT COLLATE \"C\" NOT NULL, "
                                        "菜名 TEXT COLLATE \"C\" NOT NULL, 行数 BIGINT NOT NULL, "
                                        "数量 DOUBLE PRECISION NOT NULL, 小计 DOUBLE PRECISION NOT NULL, "
                                        "PRIMARY KEY (日, 菜名))")
                       : QStringLiteral("CREATE TABLE 销售汇总 (日 TEXT NOT NULL, 菜名 TEXT NOT NULL, "
                                        "行数 INTEGER NOT NULL, 数量 REAL NOT NULL, 小计 REAL NOT NULL, "
                                        "PRIMARY KEY (日, 菜名)) WITHOUT ROWID"));
}

// Counts every stored line once. PostgreSQL groups by hashing; SQLite would sort the million lines of a
// large home by their keys first, so it adds each line to its totals row as the triggers do instead, which
// takes a third less time ("WHERE true" tells SQLite's parser the upsert from the SELECT).
bool fill(const Database& db) {
    const QString row = linesTable;
    if (db.isServer())
        return db.exec(
            QStringLiteral("INSERT INTO 销售汇总 (日, 菜名, 行数, 数量, 小计) SELECT %1, %2, count(*), "
                           "coalesce(sum(数量), 0), coalesce(sum(小计), 0) FROM 存单详单 GROUP BY 1, 2")
                .arg(dayKey(db, row), dishOf(row)));
    return db.exec(
        QStringLiteral("INSERT INTO 销售汇总 (日, 菜名, 行数, 数量, 小计) SELECT %1, %2, 1, "
                       "coalesce(数量, 0), coalesce(小计, 0) FROM 存单详单 WHERE true "
                       "ON CONFLICT (日, 菜名) DO UPDATE SET 行数 = 行数 + 1, 数量 = 数量 + excluded.数量, "
                       "小计 = 小计 + excluded.小计")
            .arg(dayKey(db, row), dishOf(row)));
}

} // namespace

bool salesTotalsReady(const Database& db) {
    return !columnNames(db, totalsTable).isEmpty() && triggersPresent(db, linesTable, triggerNames);
}

bool suspendSalesTotals(const Database& db) {
    return dropTriggers(db, linesTable, triggerNames);
}

bool ensureSalesTotals(const Database& db) {
    if (columnNames(db, linesTable).isEmpty())
        return false;
    if (salesTotalsReady(db))
        return true;
    // Missing, or a trigger is gone (a rebuilt 存单详单 loses them): the totals are counted afresh.
    const bool ok = columnNames(db, totalsTable).isEmpty() ? createTable(db)
                                                           : db.exec(QStringLiteral("DELETE FROM 销售汇总"));
    if (!ok || !fill(db))
        return false;
    for (const QString& sql : rowTriggerStatements(db, linesTable, triggers(db))) {
        if (!db.exec(sql))
            return false;
    }
    return true;
}

} // namespace qm
