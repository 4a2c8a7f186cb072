#include "reportfixture.h"

#include "reports/incomereport.h"
#include "reports/periods.h"
#include "support/temphome.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace qm;

namespace {

// The table as lines of text: one line per row, cells joined by "|".
QStringList rows(const ReportTable& table) {
    QStringList lines;
    for (int r = 0; r < table.rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < table.columnCount(); ++c)
            cells << table.text(r, c);
        lines << cells.join(QLatin1Char('|'));
    }
    return lines;
}

} // namespace

class IncomeReportTest : public QObject {
    Q_OBJECT

private slots:
    // Three months with orders: the rows, their colours, the separator, the nine missing months and the
    // summary merges; the pies get one slice per month.
    void yearWithThreeMonths() {
        TempHome home;
        Database& db = home.db();
        addOrder(db, at(2016, 5, 3), 100);
        addOrder(db, at(2016, 5, 20), 50.5);
        addOrder(db, at(2016, 2, 1), 30);
        addOrder(db, at(2016, 11, 30, 23, 59, 59), 12);
        addOrder(db, at(2017, 1, 1, 0, 0, 0), 999);
        addOrder(db, at(2015, 12, 31, 23, 59, 59), 999);

        const ReportOutcome year = yearReport(db, QStringLiteral("2016"));
        QVERIFY(year.found);
        QCOMPARE(year.status, QStringLiteral("正在浏览:2016年 年报表"));
        QCOMPARE(rows(year.table), QStringList({
                                       "2016年 年报表|||",
                                       "月份|月收入|月点单数量|平均点单价格",
                                       "2016-02|30|1|30",
                                       "2016-05|150.5|2|75.3",
                                       "2016-11|12|1|12",
                                       "|||",
                                       "本年度总计收入：192.5||本年度有9个月的数据缺损|",
                                       "年度总点单数量：4||年度点单均价：48.1|",
                                   }));
        QCOMPARE(year.table.merges(),
                 QList<CellMerge>(
                     {{0, 0, 0, 3}, {5, 0, 5, 3}, {6, 0, 6, 1}, {6, 2, 6, 3}, {7, 0, 7, 1}, {7, 2, 7, 3}}));
        for (int r = 2; r <= 4; ++r) {
            QCOMPARE(year.table.colour(r, 1), CellColour::Red);
            QCOMPARE(year.table.colour(r, 2), CellColour::Blue);
            QCOMPARE(year.table.colour(r, 0), CellColour::Default);
        }
        QCOMPARE(year.table.colour(6, 1), CellColour::Default);
        QVERIFY(year.table.isCentred(0) && year.table.isCentred(1) && !year.table.isCentred(2));
        QCOMPARE(year.chart, ReportChart::Pies);
        QVERIFY(year.chartVisible);
        QCOMPARE(year.pies.labels, QStringList({"02月", "05月", "11月"}));
        QCOMPARE(year.pies.incomes, QList<qint64>({30, 150, 12}));
        QCOMPARE(year.pies.counts, QList<qint64>({1, 2, 1}));
        QCOMPARE(year.pies.incomeTitle, QStringLiteral("2016年 年收入参考"));
        QCOMPARE(year.pies.countTitle, QStringLiteral("2016年 开单数量参考"));
        QVERIFY(!year.pies.quarter);
    }

    void fullYearHasNoMissingMonthCell() {
        TempHome home;
        for (int month = 1; month <= 12; ++month)
            addOrder(home.db(), at(2020, month, 1 + month), 10);
        const ReportOutcome year = yearReport(home.db(), QStringLiteral("2020"));
        QCOMPARE(year.table.rowCount(), 17);
        QCOMPARE(year.table.text(15, 0), QStringLiteral("本年度总计收入：120"));
        QVERIFY(year.table.merges().contains(CellMerge{15, 0, 15, 3}));
        QCOMPARE(year.table.text(16, 2), QStringLiteral("年度点单均价：10"));
    }

    // A period without orders: the title and header rows stay, nothing is found and no chart is written.
    void periodWithoutOrders_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("year") << 0 << "2030年 年报表";
        QTest::newRow("quarter") << 1 << "2030年2季度报表";
        QTest::newRow("month") << 2 << "2030年2月 月报表";
        QTest::newRow("day") << 3 << "2030年2月3日 点单报表";
    }
    void periodWithoutOrders() {
        QFETCH(int, kind);
        QFETCH(QString, title);
        TempHome home;
        addOrder(home.db(), at(2029, 2, 3), 10);
        const QString y = QStringLiteral("2030");
        const ReportOutcome outcome = kind == 0   ? yearReport(home.db(), y)
                                      : kind == 1 ? quarterReport(home.db(), y, QStringLiteral("2"))
                                      : kind == 2 ? monthReport(home.db(), y, QStringLiteral("2"))
                                                  : dayReport(home.db(), QStringLiteral("2030年2月3日"));
        QVERIFY(!outcome.found);
        QCOMPARE(outcome.table.rowCount(), 2);
        QCOMPARE(outcome.table.text(0, 0), title);
        QCOMPARE(outcome.status, QStringLiteral("正在浏览:") + title);
        QVERIFY(!outcome.table.text(1, 0).isEmpty());
        QCOMPARE(outcome.chart, ReportChart::None);
        QCOMPARE(outcome.emptyPiesFirst, kind == 1);
    }

    // The quarter's bounds: the first of its first month up to the first of the next quarter; quarter 4
    // holds the last second of December.
    void quarterBounds_data() {
        QTest::addColumn<QString>("quarter");
        QTest::addColumn<QStringList>("months");
        QTest::addColumn<QString>("missing");
        QTest::newRow("first") << "1" << QStringList({"2016-01", "2016-03"}) << "本季度有1个月的数据缺损";
        QTest::newRow("fourth") << "4" << QStringList({"2016-10", "2016-12"}) << "本季度有1个月的数据缺损";
    }
    void quarterBounds() {
        QFETCH(QString, quarter);
        QFETCH(QStringList, months);
        QFETCH(QString, missing);
        TempHome home;
        Database& db = home.db();
        addOrder(db, at(2015, 12, 31, 23, 59, 59), 1);
        addOrder(db, at(2016, 1, 1, 0, 0, 0), 2);
        addOrder(db, at(2016, 3, 31, 23, 59, 59), 3);
        addOrder(db, at(2016, 4, 1, 0, 0, 0), 4);
        addOrder(db, at(2016, 9, 30, 23, 59, 59), 5);
        addOrder(db, at(2016, 10, 1, 0, 0, 0), 6);
        addOrder(db, at(2016, 12, 31, 23, 59, 59), 7);
        addOrder(db, at(2017, 1, 1, 0, 0, 0), 8);
        const ReportOutcome q = quarterReport(db, QStringLiteral("2016"), quarter);
        QVERIFY(q.found);
        QCOMPARE(q.table.text(0, 0), QStringLiteral("2016年") + quarter + QStringLiteral("季度报表"));
        QCOMPARE(QStringList({q.table.text(2, 0), q.table.text(3, 0)}), months);
        QCOMPARE(q.table.rowCount(), 7);
        QCOMPARE(q.table.text(5, 2), missing);
        QVERIFY(q.emptyPiesFirst && q.pies.quarter);
        QCOMPARE(q.pies.incomeTitle, QStringLiteral("2016年") + quarter + QStringLiteral("季度收入参考"));
    }

    // February of a leap year with orders on 20 days; the trend chart's maximum from the day rows.
    void leapFebruaryMonth() {
        TempHome home;
        Database& db = home.db();
        for (int day = 1; day <= 20; ++day)
            addOrder(db, at(2024, 2, day), day == 7 ? 250.5 : 10);
        addOrder(db, at(2024, 2, 7, 18), 0); // a second order on the 7th
        addOrder(db, at(2024, 3, 1, 0, 0, 0), 5);
        const ReportOutcome month = monthReport(db, QStringLiteral("2024"), QStringLiteral("2"));
        QVERIFY(month.found);
        QCOMPARE(month.table.text(0, 0), QStringLiteral("2024年2月 月报表"));
        QCOMPARE(month.table.text(1, 0), QStringLiteral("日期"));
        QCOMPARE(month.table.text(8, 0), QStringLiteral("2024-02-07"));
        QCOMPARE(month.table.text(8, 2), QStringLiteral("2"));
        QCOMPARE(month.table.text(8, 3), QStringLiteral("125.3"));
        QCOMPARE(month.table.text(23, 2), QStringLiteral("本月有9日的数据缺损"));
        QCOMPARE(month.table.rowCount(), 25);
        QCOMPARE(month.chart, ReportChart::Trend);
        QCOMPARE(month.trend.yMaximum, 300);
        QCOMPARE(month.trend.periods.first(), QStringLiteral("01日"));
        QCOMPARE(month.trend.amounts[6], QStringLiteral("250.5"));
        QCOMPARE(month.trend.counts[6], QStringLiteral("2"));
        QCOMPARE(month.trend.paragraph, QStringLiteral("2024年2月份 参考数据"));
        QCOMPARE(month.trend.amountSeries, QStringLiteral("月实付总额"));
        QCOMPARE(month.trend.countSeries, QStringLiteral("月点单数量"));
    }

    void chartMaximum_data() {
        QTest::addColumn<QList<double>>("amounts");
        QTest::addColumn<QList<qint64>>("counts");
        QTest::addColumn<int>("axis");
        QTest::newRow("250.5 rounds up") << QList<double>{250.5, 20} << QList<qint64>{3, 1} << 300;
        QTest::newRow("300 stays") << QList<double>{300, 120} << QList<qint64>{4, 1} << 300;
        QTest::newRow("count above amounts") << QList<double>{0, 0.5} << QList<qint64>{150, 2} << 200;
        QTest::newRow("nothing") << QList<double>{0} << QList<qint64>{0} << 0;
        QTest::newRow("absurd amount") << QList<double>{1e308} << QList<qint64>{1} << 2147483647;
    }
    void chartMaximum() {
        QFETCH(QList<double>, amounts);
        QFETCH(QList<qint64>, counts);
        QFETCH(int, axis);
        double maximum = 0;
        for (int i = 0; i < amounts.size(); ++i)
            maximum = raiseChartMaximum(maximum, amounts[i], counts[i]);
        QCOMPARE(chartAxisMaximum(maximum), axis);
    }

    void averages_data() {
        QTest::addColumn<QList<double>>("paid");
        QTest::addColumn<QString>("average");
        QTest::newRow("a third") << QList<double>{30, 30, 40} << "33.3";
        QTest::newRow("0.125 rounds down") << QList<double>{0.1, 0.15} << "0.1";
        QTest::newRow("0.15 rounds away") << QList<double>{0.1, 0.2} << "0.2";
    }
    void averages() {
        QFETCH(QList<double>, paid);
        QFETCH(QString, average);
        TempHome home;
        for (double p : paid)
            addOrder(home.db(), at(2019, 6, 1), p);
        const ReportOutcome day = dayReport(home.db(), QStringLiteral("2019年6月1日"));
        QCOMPARE(day.table.text(day.table.rowCount() - 1, 2), QStringLiteral("点单均价：") + average);
    }

    // The day runs from just after its midnight up to and including the next one, as in the history: an
    // order settled in the first minute after midnight is stamped 0时0分0秒 and belongs to the day before.
    // The month report keeps whole calendar days.
    void dayReportBounds() {
        TempHome home;
        Database& db = home.db();
        addOrder(db, at(2016, 5, 3, 0, 0, 0), 1);
        QVERIFY(!dayReport(db, QStringLiteral("2016年5月3日")).found);
        const ReportOutcome before = dayReport(db, QStringLiteral("2016年5月2日"));
        QVERIFY(before.found);
        QCOMPARE(before.table.text(before.table.rowCount() - 1, 0), QStringLiteral("点单数量：1"));
        addOrder(db, at(2016, 5, 3, 23, 59, 59), 20.5);
        addOrder(db, at(2016, 5, 3, 9, 30, 0), 8);
        addOrder(db, at(2016, 5, 3, 0, 1, 0), 2);
        addOrder(db, at(2016, 5, 4, 0, 0, 0), 9.5);
        addOrder(db, at(2016, 5, 4, 0, 1, 0), 1000);
        const ReportOutcome day = dayReport(db, QStringLiteral("2016年5月3日"));
        QVERIFY(day.found);
        QVERIFY(!day.chartVisible);
        QCOMPARE(rows(day.table), QStringList({
                                      "2016年5月3日 点单报表|||",
                                      "时间||实付|",
                                      "2016年5月3日0时1分||2|",
                                      "2016年5月3日9时30分||8|",
                                      "2016年5月3日23时59分59秒||20.5|",
                                      "2016年5月4日||9.5|",
                                      "|||",
                                      "总计收入：40|||",
                                      "点单数量：4||点单均价：10|",
                                  }));
        const ReportOutcome month = monthReport(db, QStringLiteral("2016"), QStringLiteral("5"));
        QCOMPARE(month.table.text(2, 0), QStringLiteral("2016-05-03"));
        QCOMPARE(month.table.text(2, 2), QStringLiteral("4"));
        QCOMPARE(month.table.text(3, 2), QStringLiteral("2"));
        QVERIFY(day.table.merges().contains(CellMerge{1, 0, 1, 1}));
        QVERIFY(day.table.merges().contains(CellMerge{5, 2, 5, 3}));
        QCOMPARE(day.table.colour(5, 2), CellColour::Red);
        QCOMPARE(day.table.colour(5, 0), CellColour::Default);
    }

    // Orders that cannot be read are told apart from a period without orders.
    void unreadableOrders() {
        TempHome home;
        Database& db = home.db();
        addOrder(db, at(2016, 5, 3), 10);
        QVERIFY(db.exec(QStringLiteral("ALTER TABLE 存单 RENAME TO 存单_旧")));
        const ReportOutcome year = yearReport(db, QStringLiteral("2016"));
        QVERIFY(!year.found);
        QVERIFY(!year.readError.isEmpty());
        QVERIFY(!dayReport(db, QStringLiteral("2016年5月3日")).readError.isEmpty());
    }

    // An absurd amount paid: the pie value stays within its integer, the texts say what is stored.
    void absurdAmounts() {
        TempHome home;
        addOrder(home.db(), at(2016, 5, 3), 1e308);
        addOrder(home.db(), at(2016, 6, 3), -5);
        const ReportOutcome year = yearReport(home.db(), QStringLiteral("2016"));
        QCOMPARE(year.table.text(2, 1), QStringLiteral("1e+308"));
        QCOMPARE(year.pies.incomes, QList<qint64>({std::numeric_limits<qint64>::max(), -5}));
        QCOMPARE(truncatedAmount(std::nan("")), 0);
    }

    void periodTexts() {
        QCOMPARE(pickerYears(2013), QStringList({"2013", "2012", "2011", "2010"}));
        QCOMPARE(pickerYears(2005), QStringList({"2005"}));
        QCOMPARE(monthPeriodText(QStringLiteral("2016"), QStringLiteral("5")), QStringLiteral("2016-05"));
        QCOMPARE(monthPeriodText(QStringLiteral("2016"), QStringLiteral("12")), QStringLiteral("2016-12"));
        QCOMPARE(parseDayText(QStringLiteral("2016年5月3日")), QDate(2016, 5, 3));
        QVERIFY(!parseDayText(QStringLiteral("2016年2月30日")).isValid());
        QVERIFY(!parseDayText(QStringLiteral("2016-05-03")).isValid());
    }
};

QTEST_GUILESS_MAIN(IncomeReportTest)
#include "tst_incomereport.moc"
