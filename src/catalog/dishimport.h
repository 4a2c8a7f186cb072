#pragma once

#include "catalog/csvtable.h"
#include "catalog/importcolumns.h"
#include "store/catalogstore.h"

#include <QList>
#include <QStringList>

// Bringing the dish list in from a spreadsheet file and writing it out in the same form. Each row is
// checked as the add dialog checks a typed dish, and gets its letter code the same way.
namespace qm {

// The columns of the dish file, in this order. A further column goes at the end.
enum DishColumn { DishCode, DishName, DishPrice, DishUnit, DishStation };
const QList<ImportColumn>& dishImportColumns();

// The longest number code and name, in GBK bytes, as the dish dialog takes them.
inline constexpr int dishCodeLimit = 8;
inline constexpr int dishNameLimit = 32;

// What an import of a file would do, worked out before anything is stored.
struct DishImportPlan {
    QList<StoredDish> inserts; // new number codes, in file order
    QList<StoredDish> updates; // known number codes whose name, price or unit change
    QStringList newUnits;      // units the file uses that the unit list lacks
    QStringList newStations;   // likewise the kitchen stations
    int unchanged = 0;         // known number codes the file gives as stored
    int rowCount = 0;          // data rows in the file
    QList<RowRefusal> refusals;
    QList<QStringList> preview; // the first rows: 数字代号, 字母代号, 品名, 价格, 单位, 出品部门

    int taken() const { return int(inserts.size() + updates.size()); }
};

// Checks every row against the stored dishes and units, and against the rows above it in the file.
// A number code already stored is skipped, or (with ExistingRows::Update) gets the file's name, price and
// unit; its letter code is worked out again only when its name changes. The station column is optional:
// a row without one puts a new dish in the default station and leaves a stored dish's station alone.
DishImportPlan planDishImport(const CsvTable& table, const ColumnMap& map, const QList<StoredDish>& stored,
                              const QStringList& units, ExistingRows existing,
                              const QStringList& stations = {});

// The dishes as a file planDishImport reads back to the same dishes: a header row and one row per dish.
QByteArray dishesCsv(const QList<StoredDish>& dishes, CsvEncoding encoding = CsvEncoding::Gbk,
                     QChar separator = QLatin1Char(','));

} // namespace qm
