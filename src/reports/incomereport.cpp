#include "reports/incomereport.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "reports/periods.h"
#include "store/reportstore.h"

namespace qm {

namespace {

const QStringList monthHeader = {QStringLiteral("月份"), QStringLiteral("月收入"),
                                 QStringLiteral("月点单数量"), QStringLiteral("平均点单价格")};
const QStringList dayHeader = {QStringLiteral("日期"), QStringLiteral("日收入"), QStringLiteral("日点单数量"),
                               QStringLiteral("平均点单价格")};

// The title row and the header row, both centred, and the status line.
ReportOutcome prepared(const QString& title, const QStringList& header) {
    ReportOutcome outcome;
    outcome.table.mergeWithText(0, 0, 0, 3, title);
    outcome.table.setRow(1, header);
    outcome.table.centreRow(0);
    outcome.table.centreRow(1);
    outcome.status = QStringLiteral("正在浏览:") + title;
    return outcome;
}

struct Totals {
    qint64 count = 0;
    double sum = 0;
};

Totals totalsOf(const QList<GroupTotal>& groups) {
    Totals totals;
    for (const GroupTotal& g : groups) {
        totals.count += g.count;
        totals.sum += g.sum;
    }
    return totals;
}

// The texts of the summary block under the rows of a year, quarter or month report.
struct SummaryTexts {
    QString total;   // "本年度总计收入："
    QString missing; // "本年度有%1个月的数据缺损"
    QString count;   // "年度总点单数量："
    QString average; // "年度点单均价："
};

// Fills the period rows from row 2 on and the summary block; r is the last period row.
void fillPeriodRows(ReportOutcome& outcome, const QList<GroupTotal>& groups, int periods,
                    const SummaryTexts& texts, const QString& labelSuffix) {
    ReportTable& table = outcome.table;
    const Totals totals = totalsOf(groups);
    table.setRowCount(periods + 5);
    int r = 1;
    for (const GroupTotal& g : groups) {
        ++r;
        table.setRow(r, {g.key, doubleText(g.sum), QString::number(g.count), averageText(g.sum, g.count)});
        outcome.pies.labels << g.key.right(2) + labelSuffix;
        outcome.pies.incomes << truncatedAmount(g.sum);
        outcome.pies.counts << g.count;
    }
    table.setColumnColour(1, 2, r, CellColour::Red);
    table.setColumnColour(2, 2, r, CellColour::Blue);
    table.merge(r + 1, 0, r + 1, 3);
    const int missing = periods + 1 - r;
    const QString totalText = texts.total + doubleText(totals.sum);
    if (missing != 0) {
        table.mergeWithText(r + 2, 0, r + 2, 1, totalText);
        table.mergeWithText(r + 2, 2, r + 2, 3, texts.missing.arg(missing));
    } else {
        table.mergeWithText(r + 2, 0, r + 2, 3, totalText);
    }
    table.mergeWithText(r + 3, 0, r + 3, 1, texts.count + QString::number(totals.count));
    table.mergeWithText(r + 3, 2, r + 3, 3, texts.average + averageText(totals.sum, totals.count));
    table.setRowCount(r + 4);
    outcome.found = true;
}

ReportOutcome monthsOf(const Database& db, const QString& title, const QDate& from, const QDate& to,
                       int months, const SummaryTexts& texts) {
    ReportOutcome outcome = prepared(title, monthHeader);
    if (!from.isValid())
        return outcome;
    const QList<GroupTotal> groups = incomeByPeriod(db, from, to, Grouping::Month, &outcome.readError);
    if (groups.isEmpty())
        return outcome;
    fillPeriodRows(outcome, groups, months, texts, QStringLiteral("月"));
    outcome.chart = ReportChart::Pies;
    return outcome;
}

} // namespace

ReportOutcome yearReport(const Database& db, const QString& year) {
    const int y = parseYear(year);
    ReportOutcome outcome =
        monthsOf(db, year + QStringLiteral("年 年报表"), y ? QDate(y, 1, 1) : QDate(), QDate(y + 1, 1, 1), 12,
                 {QStringLiteral("本年度总计收入："), QStringLiteral("本年度有%1个月的数据缺损"),
                  QStringLiteral("年度总点单数量："), QStringLiteral("年度点单均价：")});
    outcome.pies.incomeTitle = year + QStringLiteral("年 年收入参考");
    outcome.pies.countTitle = year + QStringLiteral("年 开单数量参考");
    return outcome;
}

ReportOutcome quarterReport(const Database& db, const QString& year, const QString& quarter) {
    const int y = parseYear(year);
    bool ok = false;
    const int q = quarter.toInt(&ok);
    const bool valid = y && ok && q >= 1 && q <= 4;
    const QDate from = valid ? QDate(y, 3 * q - 2, 1) : QDate();
    ReportOutcome outcome = monthsOf(
        db, year + QStringLiteral("年") + quarter + QStringLiteral("季度报表"), from, from.addMonths(3), 3,
        {QStringLiteral("本季度总计收入："), QStringLiteral("本季度有%1个月的数据缺损"),
         QStringLiteral("季度总点单数量："), QStringLiteral("季度点单均价：")});
    outcome.emptyPiesFirst = true;
    outcome.pies.quarter = true;
    outcome.pies.incomeTitle = year + QStringLiteral("年") + quarter + QStringLiteral("季度收入参考");
    outcome.pies.countTitle = year + QStringLiteral("年") + quarter + QStringLiteral("季度开单数量参考");
    return outcome;
}

ReportOutcome monthReport(const Database& db, const QString& year, const QString& month) {
    const int y = parseYear(year);
    bool ok = false;
    const int m = month.toInt(&ok);
    const QDate from = y && ok && m >= 1 && m <= 12 ? QDate(y, m, 1) : QDate();
    ReportOutcome outcome =
        prepared(year + QStringLiteral("年") + month + QStringLiteral("月 月报表"), dayHeader);
    if (!from.isValid())
        return outcome;
    const QList<GroupTotal> groups =
        incomeByPeriod(db, from, from.addMonths(1), Grouping::Day, &outcome.readError);
    if (groups.isEmpty())
        return outcome;
    fillPeriodRows(outcome, groups, from.daysInMonth(),
                   {QStringLiteral("本月总计收入："), QStringLiteral("本月有%1日的数据缺损"),
                    QStringLiteral("月总点单数量："), QStringLiteral("月点单均价：")},
                   QStringLiteral("日"));
    TrendChart& trend = outcome.trend;
    double maximum = 0;
    for (const GroupTotal& g : groups) {
        maximum = raiseChartMaximum(maximum, g.sum, g.count);
        trend.amounts << doubleText(g.sum);
        trend.counts << QString::number(g.count);
    }
    trend.periods = outcome.pies.labels;
    outcome.pies = {};
    trend.yMaximum = chartAxisMaximum(maximum);
    trend.paragraph = year + QStringLiteral("年") + month + QStringLiteral("月份 参考数据");
    trend.amountSeries = QStringLiteral("月实付总额");
    trend.countSeries = QStringLiteral("月点单数量");
    outcome.chart = ReportChart::Trend;
    return outcome;
}

ReportOutcome dayReport(const Database& db, const QString& day) {
    ReportOutcome outcome;
    outcome.chartVisible = false;
    ReportTable& table = outcome.table;
    const QString title = day + QStringLiteral(" 点单报表");
    table.mergeWithText(0, 0, 0, 3, title);
    table.mergeWithText(1, 0, 1, 1, QStringLiteral("时间"));
    table.mergeWithText(1, 2, 1, 3, QStringLiteral("实付"));
    table.centreRow(0);
    table.centreRow(1);
    outcome.status = QStringLiteral("正在浏览:") + title;
    const QDate date = parseDayText(day);
    if (!date.isValid())
        return outcome;
    const QList<PaidOrder> orders = paidOrders(db, TimeRange::day(date), &outcome.readError);
    if (orders.isEmpty())
        return outcome;
    table.setRowCount(int(orders.size()) + 5);
    int r = 1;
    double total = 0;
    for (const PaidOrder& order : orders) {
        ++r;
        table.mergeWithText(r, 0, r, 1, dateTimeText(order.time));
        table.mergeWithText(r, 2, r, 3, doubleText(order.paid));
        total += order.paid;
    }
    table.setColumnColour(2, 2, r, CellColour::Red);
    table.merge(r + 1, 0, r + 1, 3);
    table.mergeWithText(r + 2, 0, r + 2, 3, QStringLiteral("总计收入：") + doubleText(total));
    table.mergeWithText(r + 3, 0, r + 3, 1, QStringLiteral("点单数量：") + QString::number(orders.size()));
    table.mergeWithText(r + 3, 2, r + 3, 3, QStringLiteral("点单均价：") + averageText(total, orders.size()));
    table.setRowCount(r + 4);
    outcome.found = true;
    return outcome;
}

} // namespace qm
