#include "store/opendatabase.h"

#include "core/home.h"
#include "core/numtext.h"
#include "store/ordertotals.h"
#include "store/schema.h"
#include "store/settings.h"
#include "store/staffstore.h"

#include <QDir>
#include <QFileInfo>

namespace qm {

namespace {

const QString currentVersion = QStringLiteral("3.2");
// The repairs of stored data already made on this database.
const QString revisionKey = QStringLiteral("数据修订");

OpenedDatabase failure(const QString& reason) {
    OpenedDatabase result;
    result.error = reason;
    return result;
}

} // namespace

OpenedDatabase openDatabase(const Home& home) {
    if (!QDir().mkpath(home.dataDir()))
        return failure(QStringLiteral("无法创建数据文件夹：%1").arg(home.dataDir()));

    QString error;
    std::unique_ptr<Database> db = Database::connect(home.databasePath(), &error);
    if (!db)
        return failure(error);
    const std::optional<int> decimals = prepareDatabase(*db, &error);
    if (!decimals)
        return failure(error);

    OpenedDatabase result;
    result.quantityDecimals = *decimals;
    result.db = std::move(db);
    return result;
}

std::optional<int> prepareDatabase(Database& db, QString* error) {
    // A new (or empty) file gets the whole schema and the first-run rows.
    if (columnNames(db, QStringLiteral("存单")).isEmpty()) {
        if (!db.transaction([&] { return createSchema(db); })) {
            if (error)
                *error = db.lastError();
            return std::nullopt;
        }
    }

    if (!columnNames(db, QStringLiteral("存单")).contains(QStringLiteral("备注")))
        db.exec(QStringLiteral("ALTER TABLE 存单 ADD COLUMN 备注 TEXT"));

    if (!ensureStaffSchema(db))
        qWarning("staff tables: %s", qPrintable(db.lastError()));

    const RecordStore records(db);

    int quantityDecimals = textToInt(records.read(QStringLiteral("小数位数")));
    if (records.read(QStringLiteral("数据库版本")) != currentVersion) {
        if (!db.transaction([&] { return upgradeColumnTypes(db); }))
            qWarning("upgrade: %s", qPrintable(db.lastError()));
        records.write(QStringLiteral("数据库版本"), currentVersion);
        if (quantityDecimals == 0) {
            records.write(QStringLiteral("小数位数"), QStringLiteral("1"));
            quantityDecimals = 1;
        }
    }
    // Once per database: texts older versions left NULL become ''.
    if (textToInt(records.read(revisionKey)) < 1 && db.transaction([&] { return emptyTextsForNulls(db); }))
        records.write(revisionKey, QStringLiteral("1"));
    keepOrderIdsAboveLines(db);
    ensureIndexes(db);
    if (!db.transaction([&] { return ensureOrderTotals(db); }))
        qWarning("order totals: %s", qPrintable(db.lastError()));
    return quantityDecimals;
}

QString currentDatabaseVersion() {
    return currentVersion;
}

} // namespace qm
