#pragma once

#include <QStringList>

// What the shop's set-up keeps in the database: whether it is still to be offered at start (the 记录 row
// 开店向导, "0" from the creation of a new database until the set-up is finished or skipped), and the
// sample rows it may replace.
namespace qm {

class Database;

// Written with the first-run rows of a new database; an older database has no such row and is never
// offered the set-up.
bool markSetupPending(const Database& db);
bool markSetupDone(const Database& db);
// True while the set-up was neither finished nor skipped and no order has been stored.
bool setupPending(const Database& db);

// Replaces the rows of 店名 or 票头设置 (by `table` and `column`) that hold one of `samples` by `texts`,
// in one transaction; texts the list already holds are not added twice.
bool replaceListRows(Database& db, const QString& table, const QString& column, const QStringList& samples,
                     const QStringList& texts);
// Every dish goes, in one statement; refused (false) once an order is stored.
bool deleteAllDishes(const Database& db);

} // namespace qm
