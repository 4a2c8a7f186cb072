#include "reportfixture.h"

#include "reports/salesstatistics.h"
#include "store/bulkorders.h"
#include "store/opendatabase.h"
#include "store/reportstore.h"
#include "store/salestotals.h"
#include "store/schema.h"
#include "support/salestotalscheck.h"
#include "support/temphome.h"

#include <QTest>

using namespace qm;

namespace {

StoredLine line(const QString& name, double quantity, double amount) {
    return {name, quantity, QStringLiteral("份"), amount};
}

QStringList column(const ReportTable& table, int c) {
    QStringList texts;
    for (int r = 0; r < table.rowCount(); ++r)
        texts << table.text(r, c);
    return texts;
}

} // namespace

class SalesStatisticsTest : public QObject {
    Q_OBJECT

private slots:
    // Sales in May and June only: two month rows with the line counts (blue) and amounts (red), the
    // separator, the total amount and the line count; the trend chart has two periods.
    void yearWithTwoMonths() {
        TempHome home;
        Database& db = home.db();
        addOrder(db, at(2016, 5, 3), 0, {line("酸菜鱼", 2, 32), line("王老吉", 1, 3.5)});
        addOrder(db, at(2016, 6, 1), 0, {line("酸菜鱼", 1, 12.25)});
        addOrder(db, at(2017, 1, 1, 0, 0, 0), 0, {line("酸菜鱼", 1, 99)});
        SalesState state;
        const ReportOutcome year =
            salesStatistic(db, state, SalesKind::Year, QStringLiteral("2016"), allDishesText);
        QVERIFY(year.found);
        QCOMPARE(year.table.columnCount(), 3);
        QCOMPARE(year.table.rowCount(), 7);
        QCOMPARE(column(year.table, 0),
                 QStringList({"2016年 所有商品销售表", "月份", "05月", "06月", "",
                              "总销售额(仅作参考，请以实付金额为准)：47.8", "总销售量：3"}));
        QCOMPARE(column(year.table, 1), QStringList({"", "销售数量", "2", "1", "", "", ""}));
        QCOMPARE(column(year.table, 2), QStringList({"", "销售金额", "35.5", "12.3", "", "", ""}));
        QCOMPARE(year.table.colour(3, 1), CellColour::Blue);
        QCOMPARE(year.table.colour(3, 2), CellColour::Red);
        QCOMPARE(year.table.merges(),
                 QList<CellMerge>({{0, 0, 0, 2}, {4, 0, 4, 2}, {5, 0, 5, 2}, {6, 0, 6, 2}}));
        QCOMPARE(year.status, QStringLiteral("正在浏览:2016年 所有商品销售表"));
        QCOMPARE(year.trend.periods, QStringList({"05月", "06月"}));
        QCOMPARE(year.trend.amounts, QStringList({"35.5", "12.3"}));
        QCOMPARE(year.trend.counts, QStringList({"2", "1"}));
        QCOMPARE(year.trend.yMaximum, 100);
        QCOMPARE(year.trend.paragraph, QStringLiteral("2016年 所有商品销售参考数据"));
        QCOMPARE(state.year, QStringLiteral("2016"));
    }

    // One dish, its name with an apostrophe and a "<": found by the bound value, other dishes left out.
    void oneDishWithAnApostrophe() {
        TempHome home;
        Database& db = home.db();
        const QString dish = QStringLiteral("Joe's 5<6 鱼");
        addOrder(db, at(2016, 5, 3, 10), 0, {line(dish, 2, 30), line("王老吉", 1, 3.5)});
        addOrder(db, at(2016, 5, 3, 11), 0, {line(dish, 3, 45)});
        SalesState state;
        state.dish = dishOfType(dish);
        const ReportOutcome month =
            salesStatistic(db, state, SalesKind::Month, QStringLiteral("2016-05"), dish);
        QVERIFY(month.found);
        QCOMPARE(month.table.text(0, 0), QStringLiteral("2016-05月 ") + dish + QStringLiteral("销售表"));
        QCOMPARE(month.table.text(1, 0), QStringLiteral("时间"));
        QCOMPARE(month.table.text(2, 0), QStringLiteral("03日"));
        QCOMPARE(month.table.text(2, 1), QStringLiteral("2"));
        QCOMPARE(month.table.text(2, 2), QStringLiteral("75"));

        // The daily statistic: the quantities after the name and their sum.
        const ReportOutcome day =
            salesStatistic(db, state, SalesKind::Day, QStringLiteral("2016年5月3日"), dish);
        QVERIFY(!day.chartVisible);
        QCOMPARE(day.table.text(0, 0), QStringLiteral("2016年5月3日") + dish + QStringLiteral("销售表"));
        QCOMPARE(column(day.table, 1), QStringList({"", "商品名称", dish + "(2)", dish + "(3)", "", "", ""}));
        QCOMPARE(day.table.text(2, 0), QStringLiteral("2016年5月3日10时"));
        QCOMPARE(day.table.text(6, 0), QStringLiteral("总销售量：5"));
    }

    // Every amount is rounded to one decimal, half away from zero; a part portion keeps its quantity.
    void dailyAmountsAndQuantities() {
        TempHome home;
        Database& db = home.db();
        addOrder(db, at(2016, 5, 3, 0, 0, 0), 0, {line("酸菜鱼", 9, 9)}); // midnight: the day before's
        addOrder(db, at(2016, 5, 3, 8), 0, {line("酸菜鱼", 1, 12.25), line("王老吉", 0.5, 12.24)});
        addOrder(db, at(2016, 5, 3, 23, 59, 59), 0, {line("王老吉", 1, 0.04)});
        addOrder(db, at(2016, 5, 4, 0, 0, 0), 0,
                 {line("王老吉", 0.5, 0.01)}); // the next midnight: this day's
        addOrder(db, at(2016, 5, 4, 0, 1, 0), 0, {line("酸菜鱼", 7, 7)});
        SalesState state;
        const ReportOutcome day =
            salesStatistic(db, state, SalesKind::Day, QStringLiteral("2016年5月3日"), QString());
        QCOMPARE(column(day.table, 2), QStringList({"", "销售金额", "12.3", "12.2", "0", "0", "", "", ""}));
        QCOMPARE(day.table.text(3, 1), QStringLiteral("王老吉(0.5)"));
        QCOMPARE(day.table.text(5, 1), QStringLiteral("王老吉(0.5)"));
        QCOMPARE(day.table.text(7, 0), QStringLiteral("总销售额(仅作参考，请以实付金额为准)：24.5"));
        QCOMPARE(day.table.text(8, 0), QStringLiteral("总销售量：3"));
        const ReportOutcome before =
            salesStatistic(db, state, SalesKind::Day, QStringLiteral("2016年5月2日"), QString());
        QCOMPARE(before.table.text(2, 1), QStringLiteral("酸菜鱼(9)"));
        QCOMPARE(before.table.rowCount(), 6);
    }

    // An empty period reuses the remembered one of its kind; a year without sales empties the trend data,
    // a month without sales leaves it.
    void rememberedPeriodsAndEmptyPeriods() {
        TempHome home;
        Database& db = home.db();
        addOrder(db, at(2016, 5, 3), 0, {line("酸菜鱼", 1, 16)});
        SalesState state;
        QVERIFY(salesStatistic(db, state, SalesKind::Month, QStringLiteral("2016-05"), allDishesText).found);
        state.dish = dishOfType(QStringLiteral("王老吉"));
        const ReportOutcome none =
            salesStatistic(db, state, SalesKind::Month, QString(), QStringLiteral("王老吉"));
        QVERIFY(!none.found);
        QVERIFY(!none.emptyTrend);
        QCOMPARE(none.table.text(0, 0), QStringLiteral("2016-05月 王老吉销售表"));
        QCOMPARE(none.table.rowCount(), 2);

        state.dish = dishOfType(QStringLiteral("所有菜品"));
        QVERIFY(salesStatistic(db, state, SalesKind::Month, QString(), QStringLiteral("所有菜品")).found);
        const ReportOutcome emptyYear =
            salesStatistic(db, state, SalesKind::Year, QStringLiteral("2015"), allDishesText);
        QVERIFY(!emptyYear.found && emptyYear.emptyTrend);
        QCOMPARE(state.month, QStringLiteral("2016-05"));
        QCOMPARE(state.year, QStringLiteral("2015"));
    }

    // The kept totals per day and dish agree with the lines after every kind of write: orders stored (one at
    // midnight), one moved to another day with other lines, one deleted, lines changed and lines with odd
    // times written directly, a batch of generated orders. A database whose totals are missing or lost a
    // trigger gets them counted afresh when it is opened.
    void keptTotalsFollowTheLines() {
        TempHome home;
        Database& db = home.db();
        QVERIFY(salesTotalsReady(db));
        addOrder(db, at(2016, 5, 3, 0, 0, 0), 0, {line("酸菜鱼", 9, 9)});
        addOrder(db, at(2016, 5, 3, 8), 0, {line("酸菜鱼", 1, 12.25), line("王老吉", 0.5, 12.24)});
        addOrder(db, at(2016, 5, 4, 0, 0, 0), 0, {line("王老吉", 0.5, 0.01), line("王老吉", 1, 3.5)});
        StoredOrder order;
        order.time = at(2016, 5, 3, 12);
        const OrderWriteResult moved = insertOrder(db, order, {line("酸菜鱼", 2, 32), line("空心菜", 1, 18)});
        const OrderWriteResult gone = insertOrder(db, order, {line("空心菜", 3, 54)});
        QVERIFY(moved && gone);
        StoredOrder changed = *loadOrder(db, *moved.id);
        changed.time = at(2016, 5, 5, 9, 30);
        QVERIFY(changeOrder(db, *moved.id, changed, {line("鱼香肉丝", 2, 26), line("酸菜鱼", 1, 16)}));
        QVERIFY(deleteOrder(db, *gone.id));

        // The statistics' ranges compare the stored texts: a time without its clock lies before the day's
        // 00:00:00, one with more after it.
        const QString lineInsert = QStringLiteral("INSERT INTO 存单详单 (存单ID, 销售时间, 菜名, 数量, 单位, "
                                                  "小计) VALUES (0, ?, '酸菜鱼', 1, '份', 5)");
        for (const char* time :
             {"2016-05-04", "2016-05-04 ", "2016-05-04x", "2016-05-04 23:59:59.5", "坏时间"})
            QVERIFY(db.exec(lineInsert, {QString::fromUtf8(time)}));
        QVERIFY(db.exec(QStringLiteral("INSERT INTO 存单详单 (存单ID, 销售时间, 菜名, 数量, 单位, 小计) "
                                       "VALUES (0, NULL, NULL, NULL, NULL, NULL)")));
        QVERIFY(
            db.exec(QStringLiteral("UPDATE 存单详单 SET 小计 = 小计 + 1, 销售时间 = '2016-05-06 10:00:00' "
                                   "WHERE 菜名 = '王老吉' AND 数量 = 1")));
        QVERIFY(
            db.exec(QStringLiteral("UPDATE 存单详单 SET 菜名 = '空心菜' WHERE 销售时间 = '2016-05-04x'")));

        BulkOrderWriter writer(db);
        for (int i = 0; i < 200; ++i) {
            GeneratedOrder generated;
            generated.number = i + 1;
            generated.time = at(2016, 5, 3, 22).addSecs(i * 900);
            generated.lines = {line(i % 2 ? "酸菜鱼" : "王老吉", 1 + i % 3, 1.1 * i), line("空心菜", 1, 18)};
            QVERIFY(writer.add(generated));
        }
        QVERIFY(writer.finish());
        QCOMPARE(salesTotalsDifference(db, QDate(2016, 5, 1), QDate(2016, 5, 7)), QString());

        SalesState state;
        const ReportOutcome month =
            salesStatistic(db, state, SalesKind::Month, QStringLiteral("2016-05"), allDishesText);
        QCOMPARE(month.table.text(2, 0), QStringLiteral("03日"));
        // The 3rd: two orders, eight generated ones and the two lines stamped "2016-05-04" and "2016-05-04 ";
        // the 4th from its 00:00:00 on: one line left, 96 generated orders and two odd times.
        QCOMPARE(month.table.text(2, 1), QStringLiteral("21"));
        QCOMPARE(month.table.text(3, 0), QStringLiteral("04日"));
        QCOMPARE(month.table.text(3, 1), QStringLiteral("195"));

        // Opening an older database without the totals, or one whose totals missed a change while a trigger
        // was gone, counts them afresh.
        const QList<std::function<bool()>> losses = {
            [&] { return suspendSalesTotals(db) && db.exec(QStringLiteral("DROP TABLE 销售汇总")); },
            [&] {
                return dropTriggers(db, QStringLiteral("存单详单"), {QStringLiteral("销售汇总_修改")}) &&
                       db.exec(QStringLiteral("UPDATE 存单详单 SET 小计 = 小计 * 2 WHERE 菜名 = '空心菜'"));
            },
        };
        for (const auto& lose : losses) {
            QVERIFY(lose());
            QVERIFY(!salesTotalsReady(db));
            QVERIFY(prepareDatabase(db));
            QVERIFY(salesTotalsReady(db));
            QCOMPARE(salesTotalsDifference(db, QDate(2016, 5, 1), QDate(2016, 5, 7)), QString());
        }
    }

    void typeTexts_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("dish");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("all goods") << "所有商品"
                                   << "";
        QTest::newRow("all dishes") << "所有菜品"
                                    << "";
        QTest::newRow("a dish") << "酸菜鱼"
                                << "酸菜鱼";
    }
    void typeTexts() {
        QFETCH(QString, type);
        QFETCH(QString, dish);
        QCOMPARE(dishOfType(type), dish);
    }

    void dishListInTableOrder() {
        TempHome home;
        const QStringList names = dishNames(home.db());
        QCOMPARE(names.first(), QStringLiteral("红烧排骨饭"));
        QCOMPARE(names.last(), QStringLiteral("空心菜"));
    }
};

QTEST_GUILESS_MAIN(SalesStatisticsTest)
#include "tst_salesstatistics.moc"
