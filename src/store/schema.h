#pragma once

#include <QString>
#include <QStringList>

// The tables, their columns and types, the indexes and the first-run rows of a new database.
namespace qm {

class Database;

// Creates every table and index of the current schema and the first-run rows. Runs inside the caller's
// transaction on an empty database.
bool createSchema(const Database& db);
// The sample shop names and ticket headers a new database starts with.
QStringList sampleShopNames();
QStringList sampleTicketHeaders();
// The kitchen stations of databases from older versions: the column 菜单.出品部门 (every dish then goes
// to "厨房") and the list 出品部门 with its first rows. False when one could not be added.
bool ensureKitchenStations(Database& db);
// The indexes the queries rely on; created when missing (also on databases from older versions).
// False when one could not be made (its table is missing); the others are made all the same.
bool ensureIndexes(const Database& db);
// Takes the indexes of ensureIndexes() away, for a bulk copy: building an index once at the end costs far
// less than keeping it up to date row by row. ensureIndexes() afterwards makes them again.
bool dropIndexes(const Database& db);
// Brings 存单 and 存单详单 to the current column types (quantities and amounts as REAL), keeping rows.
// Rebuilt tables lose their indexes: ensureIndexes() afterwards.
bool upgradeColumnTypes(const Database& db);
// Texts left NULL by older versions (an empty field stored as NULL) become ''; every later query and
// export reads them as the empty text.
bool emptyTextsForNulls(const Database& db);
// The next order ID stays above every ID 存单 gave out and above every 存单ID an order line carries, so a
// line left behind by a deleted order is never joined to a new one.
bool keepOrderIdsAboveLines(const Database& db);
// The names of the columns of a table, in order; empty when the table does not exist.
QStringList columnNames(const Database& db, const QString& table);
// Adds a column to an existing table unless it is there: plain SQL both engines run, so a column added
// in a later version sits beside the others without a rebuild.
bool addColumnIfMissing(const Database& db, const QString& table, const QString& column, const QString& type);
// Creates a table a later version added unless it is there, with the column types of the engine in use
// (`columns` written as for SQLite, as the tables of the schema are).
bool createTableIfMissing(const Database& db, const QString& table, const char* columns);
// The next ID of `table` stays above `floor`; the IDs already given out stay given out.
bool raiseIdHighWater(const Database& db, const QString& table, qint64 floor);
// What orders the rows of a table without an ID column as they were stored.
QString rowOrder(const Database& db);

// A row trigger the store keeps on one of its tables: after `event` ("INSERT", "DELETE",
// "UPDATE OF 列, …") on each row, `body` runs: statements ending in ';' that read NEW and OLD.
struct RowTrigger {
    QString name;
    QString event;
    QString body;
};
// The statements that make the triggers on `table`: SQLite triggers with the body inline, on PostgreSQL a
// PL/pgSQL function of the trigger's name for each, called by a row trigger. Kept triggers stay as they are.
QStringList rowTriggerStatements(const Database& db, const QString& table, const QList<RowTrigger>& triggers);
// True when every trigger named is on `table`.
bool triggersPresent(const Database& db, const QString& table, const QStringList& names);
// Takes the named triggers of `table` away (those that are there).
bool dropTriggers(const Database& db, const QString& table, const QStringList& names);

} // namespace qm
