#include "customerbench.h"

#include "benchutil.h"

#include "app/programdatabase.h"
#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "order/sampledata.h"
#include "store/customerstore.h"
#include "store/database.h"
#include "store/orderformstore.h"

#include <QSqlQuery>
#include <QTemporaryDir>

namespace qm::bench {

namespace {

// The Qt platform answering Yes, so the sample data run goes ahead without anyone at the screen.
class AgreeingPlatform : public QtPlatform {
public:
    bool askYesNo(const QString&, MessageIcon, const QString&) override { return true; }
};

qint64 count(Database& db, const QString& table) {
    QSqlQuery query = db.prepare(QStringLiteral("SELECT count(*) FROM ") + table);
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

} // namespace

void benchCustomers() {
    QTemporaryDir dir;
    const Home home(dir.path());
    OpenedDatabase opened = openProgramDatabase(home);
    Database& db = *opened.db;
    const int customers = 100000;
    db.transaction([&] {
        QSqlQuery insert = db.prepare(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES (?, ?, ?)"));
        for (int i = 0; i < customers; ++i) {
            insert.bindValue(0, QStringLiteral("139%1").arg(i, 8, 10, QLatin1Char('0')));
            insert.bindValue(1, QStringLiteral("顾客%1").arg(i % 5000));
            insert.bindValue(2, QStringLiteral("幸福路 %1 号").arg(i));
            if (!insert.exec())
                return false;
        }
        return true;
    });
    const CustomerStore store(db);
    const qint64 all = store.count(QString()).value_or(0);
    figure(QStringLiteral("customers"), double(all), "rows");
    const qint64 lastOffset = (all - 1) / 200 * 200;
    auto page = [&](const QString& search, qint64 offset) {
        store.count(search);
        store.page(search, offset, 200);
    };
    figure(QStringLiteral("customers: count + first page"), meanMs(20, [&] { page(QString(), 0); }), "ms");
    figure(QStringLiteral("customers: count + middle page"),
           meanMs(20, [&] { page(QString(), lastOffset / 400 * 200); }), "ms");
    figure(QStringLiteral("customers: count + last page"), meanMs(20, [&] { page(QString(), lastOffset); }),
           "ms");
    figure(QStringLiteral("customers: search by name (20 found), count + page"),
           meanMs(20, [&] { page(QStringLiteral("顾客4321"), 0); }), "ms");
    figure(QStringLiteral("customers: search by telephone, count + page"),
           meanMs(20, [&] { page(QStringLiteral("13900054321"), 0); }), "ms");
    figure(QStringLiteral("customers: look-up by telephone (add, modify)"),
           meanMs(20, [&] { store.find(QStringLiteral("13900054321")); }), "ms");
}

void benchSampleData() {
    QTemporaryDir dir;
    const Home home(dir.path());
    OpenedDatabase opened = openProgramDatabase(home);
    Database& db = *opened.db;
    for (int i = 0; i < 50; ++i)
        CustomerStore(db).insert({QStringLiteral("1380000%1").arg(i, 4, 10, QLatin1Char('0')),
                                  QStringLiteral("顾客"), QStringLiteral("幸福路 %1 号").arg(i)});
    QStringList tableNames;
    for (const TableCodeRecord& table : loadTableCodes(db))
        tableNames << table.name;
    AgreeingPlatform platform;
    const QList<DishRecord> dishes = loadDishes(db);
    figure(QStringLiteral("sample data: one year in one transaction"),
           meanMs(1, [&] { generateSampleData(db, platform, dishes, tableNames, 20261210); }), "ms");
    figure(QStringLiteral("  orders stored"), double(count(db, QStringLiteral("存单"))), "orders");
    figure(QStringLiteral("  lines stored"), double(count(db, QStringLiteral("存单详单"))), "lines");
}

} // namespace qm::bench
