#include "customerbench.h"

#include "benchutil.h"

#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "history/pagedbrowser.h"
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
    OpenedDatabase opened = openBenchDatabase(home, "customer bench");
    if (!opened.db)
        return;
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
    CustomerTable table(db);
    PagedBrowser browser(table);
    const qint64 pages = browser.show(1).pageCount;
    figure(QStringLiteral("customers"), double(store.count(QString()).value_or(0)), "rows");
    // What the window waits for on each link: the count and one page, through the paged list browser.
    figure(QStringLiteral("customers: first page (count + 200 rows)"), meanMs(20, [&] { browser.show(1); }),
           "ms");
    figure(QStringLiteral("customers: middle page"), meanMs(20, [&] { browser.show(pages / 2); }), "ms");
    figure(QStringLiteral("customers: last page"), meanMs(20, [&] { browser.show(lastPage); }), "ms");
    table.setSearch(QStringLiteral("顾客4321"));
    figure(QStringLiteral("customers: search by name (20 found), page 1"),
           meanMs(20, [&] { browser.show(1); }), "ms");
    table.setSearch(QStringLiteral("13900054321"));
    figure(QStringLiteral("customers: search by telephone, page 1"), meanMs(20, [&] { browser.show(1); }),
           "ms");
    table.setSearch(QStringLiteral("没有这个人"));
    figure(QStringLiteral("customers: search finding nothing"), meanMs(20, [&] { browser.show(1); }), "ms");
    figure(QStringLiteral("customers: look-up by telephone (add, modify)"),
           meanMs(20, [&] { store.find(QStringLiteral("13900054321")); }), "ms");
    // The fourth digit typed in the order form's telephone with "电话后四位查找顾客" on.
    figure(QStringLiteral("customers: telephone's last four digits (10 share them)"),
           meanMs(20, [&] { telephonesEndingWith(db, QStringLiteral("4321"), 2); }), "ms");
}

void benchSampleData() {
    QTemporaryDir dir;
    const Home home(dir.path());
    OpenedDatabase opened = openBenchDatabase(home, "sample data bench");
    if (!opened.db)
        return;
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
