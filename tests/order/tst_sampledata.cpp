#include "core/datetimetext.h"
#include "core/numtext.h"
#include "order/sampledata.h"
#include "store/customerstore.h"
#include "store/database.h"
#include "store/orderformstore.h"
#include "support/fakeplatform.h"
#include "support/temphome.h"

#include <QSet>
#include <QSqlQuery>
#include <QTest>

using namespace qm;

namespace {

qint64 scalar(Database& db, const QString& sql) {
    QSqlQuery query = db.prepare(sql);
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

QStringList tableNamesOf(const Database& db) {
    QStringList names;
    for (const TableCodeRecord& table : loadTableCodes(db))
        names << table.name;
    return names;
}

const QList<StoredCustomer> customers = {
    {QStringLiteral("13800000001"), QStringLiteral("张三"), QStringLiteral("幸福路 1 号")},
    {QStringLiteral("13800000002"), QStringLiteral("李四"), QStringLiteral("光明街 2 号")},
};

void addCustomers(const Database& db) {
    for (const StoredCustomer& customer : customers)
        QVERIFY(CustomerStore(db).insert(customer));
}

} // namespace

class SampleDataTest : public QObject {
    Q_OBJECT

private slots:
    // A whole year drawn from the template catalogue with three tables, checked order by order.
    void aYearKeepsTheRanges() {
        TempHome home;
        SampleDataSources sources{loadDishes(home.db()), tableNamesOf(home.db()).mid(0, 3), customers};
        QVERIFY(sampleDataRefusal(sources).isEmpty());
        SampleRandom random(20260101);
        int orders = 0, dineIn = 0, fewest = 1000, most = 0;
        for (QDate day(2026, 1, 1); day.year() == 2026; day = day.addDays(1)) {
            const QList<SampleOrder> made = sampleDay(day, sources, random);
            fewest = std::min(fewest, int(made.size()));
            most = std::max(most, int(made.size()));
            double dayTotal = 0;
            for (int n = 0; n < made.size(); ++n) {
                const StoredOrder& order = made[n].order;
                const QList<StoredLine>& lines = made[n].lines;
                QCOMPARE(order.number, n + 1);
                QCOMPARE(order.time.date(), day);
                QVERIFY(order.time.time() >= QTime(1, 1) && order.time.time() <= QTime(21, 59));
                QCOMPARE(order.time.time().second(), 0);
                double amount = 0;
                for (const StoredLine& line : lines) {
                    const DishRecord* dish = nullptr;
                    for (const DishRecord& d : sources.dishes)
                        dish = d.name == line.name ? &d : dish;
                    QVERIFY(dish);
                    QCOMPARE(line.quantity, 1.0);
                    QCOMPARE(line.unit, dish->unit);
                    QCOMPARE(line.amount, textToNumber(dish->price));
                    amount += line.amount;
                }
                // Lines are added while the amount is below the drawn minimum (1 to 20).
                QVERIFY(amount >= 1);
                QVERIFY(amount - lines.last().amount < 20);
                QCOMPARE(order.total, amount);
                QCOMPARE(order.paid, amount);
                QCOMPARE(order.toPay, amount);
                QVERIFY(order.settled);
                QCOMPARE(order.ticketHeader, QStringLiteral("饿了么(第1联)"));
                QCOMPARE(order.shopName, QStringLiteral("山东手工水饺"));
                QCOMPARE(order.discountName, QStringLiteral("无"));
                QCOMPARE(order.discountCount, 0.0);
                QCOMPARE(order.discountAmount, 0.0);
                QCOMPARE(order.paymentMethod, QStringLiteral("现金支付"));
                QVERIFY(order.note.isEmpty());
                if (order.tableName.isEmpty()) {
                    const StoredCustomer customer{order.telephone, order.customerName, order.address};
                    QVERIFY(std::any_of(customers.begin(), customers.end(), [&](const StoredCustomer& c) {
                        return c.telephone == customer.telephone && c.name == customer.name &&
                               c.address == customer.address;
                    }));
                } else {
                    QVERIFY(sources.tableNames.contains(order.tableName));
                    QVERIFY(order.telephone.isEmpty() && order.customerName.isEmpty() &&
                            order.address.isEmpty());
                    ++dineIn;
                }
                // The day ends with the order that brings its total to the drawn target (120 to 310).
                if (n == made.size() - 1)
                    QVERIFY(dayTotal < 310);
                dayTotal += amount;
            }
            QVERIFY(dayTotal >= 120);
            orders += int(made.size());
        }
        QVERIFY2(fewest >= 2 && most <= 89, qPrintable(QStringLiteral("%1..%2").arg(fewest).arg(most)));
        // Three tables in a hundred draws: about 3 in 100 orders are eaten in.
        QVERIFY2(dineIn > orders / 100 && dineIn < orders * 6 / 100,
                 qPrintable(QStringLiteral("%1 of %2").arg(dineIn).arg(orders)));
    }

    void sameSeedSameOrders() {
        TempHome home;
        const SampleDataSources sources{loadDishes(home.db()), tableNamesOf(home.db()), customers};
        SampleRandom first(7), second(7);
        const QList<SampleOrder> a = sampleDay(QDate(2026, 5, 1), sources, first);
        const QList<SampleOrder> b = sampleDay(QDate(2026, 5, 1), sources, second);
        QCOMPARE(a.size(), b.size());
        for (int i = 0; i < a.size(); ++i) {
            QCOMPARE(a[i].order.time, b[i].order.time);
            QCOMPARE(a[i].order.total, b[i].order.total);
            QCOMPARE(a[i].order.tableName, b[i].order.tableName);
        }
    }

    // Without customers a drawn delivery is eaten in at a drawn table instead.
    void withoutCustomersEveryOrderIsEatenIn() {
        TempHome home;
        const SampleDataSources sources{loadDishes(home.db()), {QStringLiteral("号牌 1")}, {}};
        SampleRandom random(3);
        for (int d = 0; d < 20; ++d) {
            for (const SampleOrder& made : sampleDay(QDate(2026, 2, 1).addDays(d), sources, random)) {
                QCOMPARE(made.order.tableName, QStringLiteral("号牌 1"));
                QVERIFY(made.order.telephone.isEmpty());
            }
        }
    }

    void runStoresTheYearInOneGo() {
        TempHome home;
        addCustomers(home.db());
        FakePlatform platform;
        platform.yesNoAnswers.enqueue(true);
        const auto outcome =
            generateSampleData(home.db(), platform, loadDishes(home.db()), tableNamesOf(home.db()), 99);
        QCOMPARE(outcome, SampleDataOutcome::Stored);
        QCOMPARE(platform.shown.first().text, QStringLiteral("是否生成随机数据？"));
        QCOMPARE(platform.shown.first().icon, MessageIcon::Warning);
        QCOMPARE(platform.texts().size(), 1); // nothing shown after the run
        QCOMPARE(platform.progressReached, QList<int>{365});

        Database& db = home.db();
        const qint64 orders = scalar(db, QStringLiteral("SELECT count(*) FROM 存单"));
        QVERIFY(orders > 365 * 2);
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(DISTINCT substr(时间, 1, 10)) FROM 存单")), 365);
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM 存单 WHERE 时间 < '2026-01-01 01:01:00' "
                                           "OR 时间 > '2026-12-31 21:59:00'")),
                 0);
        // Every order has lines whose amounts make its total, stored with the order's time.
        QCOMPARE(
            scalar(db, QStringLiteral("SELECT count(*) FROM 存单 o WHERE abs(o.合计 - (SELECT sum(小计) "
                                      "FROM 存单详单 l WHERE l.存单ID = o.ID AND l.销售时间 = o.时间)) > "
                                      "0.000001 OR o.已付 <> o.合计 OR o.实付 <> o.合计")),
            0);
        // Numbers run 1, 2, ... within each day.
        QCOMPARE(
            scalar(db, QStringLiteral("SELECT count(*) FROM (SELECT substr(时间, 1, 10) AS d, "
                                      "count(*) AS n, max(编号) AS top, min(编号) AS low, "
                                      "count(DISTINCT 编号) AS distinctNumbers FROM 存单 GROUP BY d) AS days "
                                      "WHERE top <> n OR low <> 1 OR distinctNumbers <> n")),
            0);
        // The customers' order statistics are left alone.
        QCOMPARE(scalar(db, QStringLiteral("SELECT count(*) FROM 客户 WHERE 订餐次数 IS NOT NULL OR "
                                           "最近订餐日期 IS NOT NULL")),
                 0);
    }

    void refusedOrDeclinedRunsStoreNothing_data() {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("withDishes");
        QTest::addColumn<bool>("freeDishes");
        QTest::addColumn<bool>("withTables");
        QTest::addColumn<bool>("withCustomers");
        QTest::addColumn<QString>("message");
        QTest::newRow("declined") << false << true << false << true << true << QString();
        QTest::newRow("no dishes") << true << false << false << true << true
                                   << QStringLiteral("无法生成随机数据：菜单中还没有菜品。");
        QTest::newRow("nothing priced") << true << true << true << true << true
                                        << QStringLiteral("无法生成随机数据：菜单中菜品的价格合计不大于 0。");
        QTest::newRow("no place") << true << true << false << false << false
                                  << QStringLiteral("无法生成随机数据：还没有客户，也没有桌号。");
        QTest::newRow("nothing at all")
            << true << false << false << false << false
            << QStringLiteral("无法生成随机数据：菜单中还没有菜品；还没有客户，也没有桌号。");
    }
    void refusedOrDeclinedRunsStoreNothing() {
        QFETCH(bool, answer);
        QFETCH(bool, withDishes);
        QFETCH(bool, freeDishes);
        QFETCH(bool, withTables);
        QFETCH(bool, withCustomers);
        QFETCH(QString, message);
        TempHome home;
        if (withCustomers)
            addCustomers(home.db());
        QList<DishRecord> dishes = withDishes ? loadDishes(home.db()) : QList<DishRecord>();
        if (freeDishes) {
            for (DishRecord& dish : dishes)
                dish.price = QStringLiteral("0");
        }
        FakePlatform platform;
        platform.yesNoAnswers.enqueue(answer);
        const auto outcome = generateSampleData(home.db(), platform, dishes,
                                                withTables ? tableNamesOf(home.db()) : QStringList(), 1);
        QCOMPARE(outcome, answer ? SampleDataOutcome::Refused : SampleDataOutcome::Declined);
        QCOMPARE(platform.texts().mid(1), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(platform.shown.last().icon, MessageIcon::Information);
        QVERIFY(platform.progressReached.isEmpty());
        QCOMPARE(scalar(home.db(), QStringLiteral("SELECT count(*) FROM 存单")), 0);
    }

    // A cancelled run and a run whose writing fails halfway both leave the database as it was.
    void interruptedRunsStoreNothing_data() {
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<QString>("message");
        QTest::newRow("cancelled") << true << QStringLiteral("已取消生成随机数据，没有保存任何数据。");
        QTest::newRow("failed") << false << QStringLiteral("生成随机数据失败，没有保存任何数据：");
    }
    void interruptedRunsStoreNothing() {
        QM_SKIP_ON_SERVER();
        QFETCH(bool, cancel);
        QFETCH(QString, message);
        TempHome home;
        FakePlatform platform;
        platform.yesNoAnswers.enqueue(true);
        if (cancel) {
            platform.cancelProgressAt = 200;
        } else {
            // Lines of orders made after a few months cannot be stored.
            QVERIFY(home.db().exec(QStringLiteral(
                "CREATE TRIGGER 拒绝 BEFORE INSERT ON 存单详单 WHEN NEW.销售时间 >= '2026-06-01' "
                "BEGIN SELECT RAISE(ABORT, 'disk full'); END")));
        }
        const auto outcome =
            generateSampleData(home.db(), platform, loadDishes(home.db()), tableNamesOf(home.db()), 5);
        QCOMPARE(outcome, cancel ? SampleDataOutcome::Cancelled : SampleDataOutcome::Failed);
        QVERIFY(platform.texts().last().startsWith(message));
        QCOMPARE(platform.progressReached.first(), cancel ? 200 : 151);
        QCOMPARE(scalar(home.db(), QStringLiteral("SELECT count(*) FROM 存单")), 0);
        QCOMPARE(scalar(home.db(), QStringLiteral("SELECT count(*) FROM 存单详单")), 0);
    }
};

QTEST_MAIN(SampleDataTest)
#include "tst_sampledata.moc"
