#include "store/importstore.h"

#include "store/database.h"

#include <QSqlQuery>

namespace qm {

namespace {

// How many rows go between two calls of the progress.
constexpr int progressStep = 250;

// Runs `query` once per row, binding what `bind` gives for it; counts on `done` and asks `progress`.
template <typename Row, typename Bind>
bool runForEach(QSqlQuery& query, const QList<Row>& rows, Bind bind, int& done,
                const ImportProgress& progress, bool& cancelled, QString& error) {
    for (const Row& row : rows) {
        const QVariantList values = bind(row);
        for (int i = 0; i < values.size(); ++i)
            query.bindValue(i, values[i].typeId() == QMetaType::QString ? storedText(values[i].toString())
                                                                        : values[i]);
        if (!query.exec()) {
            error = failureText(query.lastError());
            return false;
        }
        if (++done % progressStep == 0 && progress && !progress(done)) {
            cancelled = true;
            return false;
        }
    }
    return true;
}

// The last word of the progress, once every row is written: a cancel now still undoes the whole import.
bool lastStep(const ImportProgress& progress, int done, bool& cancelled) {
    if (progress && !progress(done)) {
        cancelled = true;
        return false;
    }
    return true;
}

ImportStoreResult finish(Database& db, bool stored, bool cancelled, const QString& error) {
    ImportStoreResult result;
    if (stored)
        result.status = ImportStoreResult::Status::Stored;
    else if (cancelled)
        result.status = ImportStoreResult::Status::Cancelled;
    else
        result.error = error.isEmpty() ? db.lastError() : error;
    return result;
}

} // namespace

ImportStoreResult storeDishImport(Database& db, const QStringList& newUnits, const QList<StoredDish>& inserts,
                                  const QList<StoredDish>& updates, const ImportProgress& progress,
                                  const QStringList& newStations) {
    bool cancelled = false;
    QString error;
    int done = 0;
    const bool stored = db.transaction([&] {
        QSqlQuery unit = db.prepare(QStringLiteral("INSERT INTO 单位 (单位名称) VALUES (?)"));
        QSqlQuery station = db.prepare(QStringLiteral("INSERT INTO 出品部门 (部门名称) VALUES (?)"));
        QSqlQuery insert = db.prepare(QStringLiteral(
            "INSERT INTO 菜单 (代码, 字母, 菜名, 价格, 单位, 出品部门) VALUES (?, ?, ?, ?, ?, ?)"));
        QSqlQuery update = db.prepare(QStringLiteral(
            "UPDATE 菜单 SET 字母 = ?, 菜名 = ?, 价格 = ?, 单位 = ?, 出品部门 = ? WHERE 代码 = ?"));
        int listsDone = 0;
        const auto name = [](const QString& text) { return QVariantList{text}; };
        return runForEach(unit, newUnits, name, listsDone, {}, cancelled, error) &&
               runForEach(station, newStations, name, listsDone, {}, cancelled, error) &&
               runForEach(
                   insert, inserts,
                   [](const StoredDish& d) {
                       // A file without stations: the dish goes to the default station, as a typed one does.
                       return QVariantList{d.code, d.letters,
                                           d.name, d.price,
                                           d.unit, d.station.isEmpty() ? defaultStation : d.station};
                   },
                   done, progress, cancelled, error) &&
               runForEach(
                   update, updates,
                   [](const StoredDish& d) {
                       return QVariantList{d.letters, d.name, d.price, d.unit, d.station, d.code};
                   },
                   done, progress, cancelled, error) &&
               lastStep(progress, done, cancelled);
    });
    return finish(db, stored, cancelled, error);
}

ImportStoreResult storeCustomerImport(Database& db, const QList<StoredCustomer>& inserts,
                                      const QList<StoredCustomer>& updates, const ImportProgress& progress) {
    bool cancelled = false;
    QString error;
    int done = 0;
    const bool stored = db.transaction([&] {
        QSqlQuery insert = db.prepare(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES (?, ?, ?)"));
        QSqlQuery update = db.prepare(QStringLiteral("UPDATE 客户 SET 姓名 = ?, 地址 = ? WHERE 电话 = ?"));
        return runForEach(
                   insert, inserts,
                   [](const StoredCustomer& c) {
                       return QVariantList{c.telephone, c.name, c.address};
                   },
                   done, progress, cancelled, error) &&
               runForEach(
                   update, updates,
                   [](const StoredCustomer& c) {
                       return QVariantList{c.name, c.address, c.telephone};
                   },
                   done, progress, cancelled, error) &&
               lastStep(progress, done, cancelled);
    });
    return finish(db, stored, cancelled, error);
}

} // namespace qm
