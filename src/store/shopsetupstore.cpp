#include "store/shopsetupstore.h"

#include "store/database.h"
#include "store/settings.h"

#include <QSqlQuery>

namespace qm {

namespace {

const QString pendingKey = QStringLiteral("开店向导");

bool anyOrderStored(const Database& db, bool* readable) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT 1 FROM 存单 LIMIT 1"));
    *readable = query.exec();
    return *readable && query.next();
}

} // namespace

bool markSetupPending(const Database& db) {
    return RecordStore(db).write(pendingKey, QStringLiteral("0"));
}

bool markSetupDone(const Database& db) {
    return RecordStore(db).write(pendingKey, QStringLiteral("1"));
}

bool setupPending(const Database& db) {
    if (RecordStore(db).read(pendingKey) != QStringLiteral("0"))
        return false;
    bool readable = false;
    return !anyOrderStored(db, &readable) && readable;
}

bool replaceListRows(Database& db, const QString& table, const QString& column, const QStringList& samples,
                     const QStringList& texts) {
    // Table and column names come from the caller's constants, never from the user.
    const QString remove = QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(table, column);
    const QString count = QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = ?").arg(table, column);
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (?)").arg(table, column);
    return db.transaction([&] {
        for (const QString& sample : samples) {
            if (!texts.contains(sample) && !db.exec(remove, {sample}))
                return false;
        }
        for (const QString& text : texts) {
            QSqlQuery query = db.prepare(count, {text});
            if (!query.exec() || !query.next())
                return false;
            if (query.value(0).toLongLong() == 0 && !db.exec(insert, {text}))
                return false;
        }
        return true;
    });
}

bool deleteAllDishes(const Database& db) {
    return db.exec(QStringLiteral("DELETE FROM 菜单 WHERE NOT EXISTS (SELECT 1 FROM 存单)"));
}

} // namespace qm
