#include "store/opendatabase.h"

#include "core/home.h"
#include "core/numtext.h"
#include "store/changewatch.h"
#include "store/ordertotals.h"
#include "store/salestotals.h"
#include "store/schema.h"
#include "store/settings.h"
#include "store/staffstore.h"
#include "store/tillfile.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>

#include <algorithm>

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

// Compares dotted version texts part by part as numbers: negative when a is older than b.
int compareVersions(const QString& a, const QString& b) {
    const QStringList left = a.split(QLatin1Char('.'));
    const QStringList right = b.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < std::max(left.size(), right.size()); ++i) {
        const int l = left.value(i).toInt();
        const int r = right.value(i).toInt();
        if (l != r)
            return l < r ? -1 : 1;
    }
    return 0;
}

// A database a newer program has written may hold what this one does not know; it is left alone.
std::optional<QString> newerSchema(const RecordStore& records) {
    const QString stored = records.read(QStringLiteral("数据库版本"));
    if (stored.isEmpty() || compareVersions(stored, currentVersion) <= 0)
        return std::nullopt;
    return QStringLiteral("数据库版本 %1 比本程序（数据库版本 %2）新，可能已被另一台收银机上更新的程序升级。"
                          "请先把本收银机的程序更新到最新版本。")
        .arg(stored, currentVersion);
}

// Whether any order line is stored: counting the totals of none is no long step.
bool holdsLines(const Database& db) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 1 FROM 存单详单 LIMIT 1"));
    return query.exec() && query.next();
}

// The steps every start makes once the tables exist: the columns later versions added, the version
// record, the one-time repairs, the indexes and the kept totals. Each step is idempotent.
std::optional<int> upgradeSchema(Database& db, QString* error, const LongStepNotice& notice) {
    const RecordStore records(db);
    if (const std::optional<QString> newer = newerSchema(records)) {
        if (error)
            *error = *newer;
        return std::nullopt;
    }
    addColumnIfMissing(db, QStringLiteral("存单"), QStringLiteral("备注"), QStringLiteral("TEXT"));
    if (!ensureKitchenStations(db))
        qWarning("kitchen stations: %s", qPrintable(db.lastError()));

    int quantityDecimals = textToInt(records.read(QStringLiteral("小数位数")));
    if (records.read(QStringLiteral("数据库版本")) != currentVersion) {
        if (!db.isServer() && !db.transaction([&] { return upgradeColumnTypes(db); }))
            qWarning("upgrade: %s", qPrintable(db.lastError()));
        records.write(QStringLiteral("数据库版本"), currentVersion);
        if (quantityDecimals == 0) {
            records.write(QStringLiteral("小数位数"), QStringLiteral("1"));
            quantityDecimals = 1;
        }
    }
    // After any rebuild of 存单 above, which keeps only the columns of its definition.
    if (!addTillColumns(db) || !ensureStaffSchema(db) || !ensureChangeCounters(db)) {
        if (error)
            *error = db.lastError();
        return std::nullopt;
    }
    // Once per database: texts older versions left NULL become ''.
    const auto repair = [&] { return emptyTextsForNulls(db); };
    if (textToInt(records.read(revisionKey)) < 1 && (db.isServer() ? repair() : db.transaction(repair)))
        records.write(revisionKey, QStringLiteral("1"));
    keepOrderIdsAboveLines(db);
    ensureIndexes(db);
    // Each kept total in one transaction of its own: a file whose totals cannot be made is still read, from
    // its orders and lines. On the server a failed statement ends the whole upgrade.
    struct Kept {
        const char* what;
        bool (*ready)(const Database&);
        bool (*ensure)(const Database&);
    };
    const Kept kept[] = {{"order totals", orderTotalsReady, ensureOrderTotals},
                         {"sales totals", salesTotalsReady, ensureSalesTotals}};
    bool told = false;
    for (const auto& [what, ready, ensure] : kept) {
        if (notice && !told && !ready(db) && holdsLines(db)) {
            notice(countingTotalsNotice);
            told = true;
        }
        if (db.isServer() ? ensure(db) : db.transaction([&] { return ensure(db); }))
            continue;
        qWarning("%s: %s", what, qPrintable(db.lastError()));
        if (db.isServer()) {
            if (error)
                *error = db.lastError();
            return std::nullopt;
        }
    }
    return quantityDecimals;
}

} // namespace

bool addTillColumns(const Database& db) {
    return addColumnIfMissing(db, QStringLiteral("存单"), QStringLiteral("收银机"), QStringLiteral("TEXT")) &&
           addColumnIfMissing(db, QStringLiteral("存单"), QStringLiteral("版本"),
                              QStringLiteral("INTEGER NOT NULL DEFAULT 0"));
}

OpenedDatabase openDatabase(const Home& home, const LongStepNotice& notice) {
    QString error;
    std::unique_ptr<Database> db;
    if (const std::optional<ServerSetting> server = TillFile(home.tillPath()).server()) {
        db = Database::connectServer(*server, &error);
    } else {
        if (!QDir().mkpath(home.dataDir()))
            return failure(QStringLiteral("无法创建数据文件夹：%1").arg(home.dataDir()));
        db = Database::connect(home.databasePath(), &error);
    }
    if (!db)
        return failure(error);
    const std::optional<int> decimals = prepareDatabase(*db, &error, notice);
    if (!decimals)
        return failure(error);

    db->setTillName(TillFile(home.tillPath()).tillName());
    OpenedDatabase result;
    result.quantityDecimals = *decimals;
    result.db = std::move(db);
    return result;
}

std::optional<int> prepareServerSchema(Database& db, QString* error, const LongStepNotice& notice) {
    // Under a lock of its own: tills starting together create or upgrade the shared schema once.
    if (!db.exec(QStringLiteral("SELECT pg_advisory_xact_lock(?)"), {qint64(0x51534348)}))
        return std::nullopt;
    if (columnNames(db, QStringLiteral("存单")).isEmpty() && !createSchema(db))
        return std::nullopt;
    return upgradeSchema(db, error, notice);
}

std::optional<int> prepareDatabase(Database& db, QString* error, const LongStepNotice& notice) {
    if (db.isServer()) {
        // One transaction: a failure leaves the shared schema as it was.
        std::optional<int> decimals;
        const bool ok = db.transaction([&] {
            decimals = prepareServerSchema(db, error, notice);
            return decimals.has_value();
        });
        if (!ok) {
            if (error && (error->isEmpty() || decimals))
                *error = db.lastError();
            return std::nullopt;
        }
        return decimals;
    }
    // A new (or empty) file gets the whole schema and the first-run rows.
    if (columnNames(db, QStringLiteral("存单")).isEmpty()) {
        if (!db.transaction([&] { return createSchema(db); })) {
            if (error)
                *error = db.lastError();
            return std::nullopt;
        }
    }
    return upgradeSchema(db, error, notice);
}

QString currentDatabaseVersion() {
    return currentVersion;
}

} // namespace qm
