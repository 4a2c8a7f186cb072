#include "reports/salesstatistics.h"

#include "core/datetimetext.h"
#include "core/numtext.h"
#include "reports/periods.h"
#include "store/reportstore.h"

namespace qm {

namespace {

QString dec1Text(double value) {
    return doubleText(roundHalfAway(value, 1));
}

QString& rememberedPeriod(SalesState& state, SalesKind kind) {
    switch (kind) {
    case SalesKind::Month:
        return state.month;
    case SalesKind::Day:
        return state.day;
    case SalesKind::Year:
        break;
    }
    return state.year;
}

ReportOutcome prepared(SalesKind kind, const QString& title) {
    ReportOutcome outcome;
    outcome.table = ReportTable(3, 305);
    ReportTable& table = outcome.table;
    table.mergeWithText(0, 0, 0, 2, title);
    table.centreRow(0);
    table.centreRow(1);
    table.setRow(1, {kind == SalesKind::Year ? QStringLiteral("月份") : QStringLiteral("时间"),
                     kind == SalesKind::Day ? QStringLiteral("商品名称") : QStringLiteral("销售数量"),
                     QStringLiteral("销售金额")});
    outcome.status = QStringLiteral("正在浏览:") + title;
    outcome.chartVisible = kind != SalesKind::Day;
    return outcome;
}

// Rows from row 2 on, their colours, the separator and the two summary lines.
void fillRows(ReportOutcome& outcome, const QList<QStringList>& rows, double amount,
              const QString& quantity) {
    ReportTable& table = outcome.table;
    const int n = int(rows.size());
    table.setRowCount(n + 5);
    for (int i = 0; i < n; ++i)
        table.setRow(i + 2, rows[i]);
    table.setColumnColour(1, 2, n + 1, CellColour::Blue);
    table.setColumnColour(2, 2, n + 1, CellColour::Red);
    table.merge(n + 2, 0, n + 2, 2);
    table.mergeWithText(n + 3, 0, n + 3, 2,
                        QStringLiteral("总销售额(仅作参考，请以实付金额为准)：") + dec1Text(amount));
    table.mergeWithText(n + 4, 0, n + 4, 2, QStringLiteral("总销售量：") + quantity);
    outcome.found = true;
}

// The yearly or monthly statistic: one row per month or day with sales, and the trend chart.
void fillGroups(ReportOutcome& outcome, const QList<GroupTotal>& groups, const QString& labelSuffix,
                const QString& paragraph) {
    TrendChart& trend = outcome.trend;
    QList<QStringList> rows;
    double maximum = 0;
    double amount = 0;
    qint64 count = 0;
    for (const GroupTotal& g : groups) {
        const double sum = roundHalfAway(g.sum, 1);
        const QString label = g.key.right(2) + labelSuffix;
        maximum = raiseChartMaximum(maximum, sum, g.count);
        trend.periods << label;
        trend.amounts << doubleText(sum);
        trend.counts << QString::number(g.count);
        rows.append({label, QString::number(g.count), doubleText(sum)});
        amount += g.sum;
        count += g.count;
    }
    fillRows(outcome, rows, amount, QString::number(count));
    trend.yMaximum = chartAxisMaximum(maximum);
    trend.paragraph = paragraph;
    trend.amountSeries = QStringLiteral("销售额");
    trend.countSeries = QStringLiteral("销售量");
    outcome.chart = ReportChart::Trend;
}

} // namespace

SalesState& salesState() {
    static SalesState state;
    return state;
}

QString dishOfType(const QString& typeText) {
    if (typeText.isEmpty() || typeText == QStringLiteral("所有菜品") || typeText == allDishesText)
        return {};
    return typeText;
}

ReportOutcome salesStatistic(const Database& db, SalesState& state, SalesKind kind, const QString& period,
                             const QString& typeText) {
    QString& remembered = rememberedPeriod(state, kind);
    if (!period.isEmpty())
        remembered = period;
    const QString p = remembered;
    switch (kind) {
    case SalesKind::Year: {
        ReportOutcome outcome =
            prepared(kind, p + QStringLiteral("年 ") + typeText + QStringLiteral("销售表"));
        const int year = parseYear(p);
        const QList<GroupTotal> groups = year ? salesByPeriod(db, QDate(year, 1, 1), QDate(year + 1, 1, 1),
                                                              Grouping::Month, state.dish, &outcome.readError)
                                              : QList<GroupTotal>();
        if (groups.isEmpty())
            outcome.emptyTrend = outcome.readError.isEmpty();
        else
            fillGroups(outcome, groups, QStringLiteral("月"),
                       p + QStringLiteral("年 ") + typeText + QStringLiteral("销售参考数据"));
        return outcome;
    }
    case SalesKind::Month: {
        ReportOutcome outcome =
            prepared(kind, p + QStringLiteral("月 ") + typeText + QStringLiteral("销售表"));
        const QDate from = parseMonthPeriod(p);
        const QList<GroupTotal> groups =
            from.isValid()
                ? salesByPeriod(db, from, from.addMonths(1), Grouping::Day, state.dish, &outcome.readError)
                : QList<GroupTotal>();
        if (!groups.isEmpty())
            fillGroups(outcome, groups, QStringLiteral("日"),
                       p + QStringLiteral("月 ") + typeText + QStringLiteral("销售参考数据"));
        return outcome;
    }
    case SalesKind::Day:
        break;
    }
    ReportOutcome outcome = prepared(kind, p + typeText + QStringLiteral("销售表"));
    const QDate day = parseDayText(p);
    const QList<SoldLine> lines = day.isValid()
                                      ? soldLines(db, TimeRange::day(day), state.dish, &outcome.readError)
                                      : QList<SoldLine>();
    if (lines.isEmpty())
        return outcome;
    QList<QStringList> rows;
    double amount = 0;
    double quantity = 0;
    for (const SoldLine& line : lines) {
        // A quantity shows as stored: half a portion stays 0.5 and counts in the total.
        rows.append({dateTimeText(line.time),
                     line.name + QLatin1Char('(') + doubleText(line.quantity) + QLatin1Char(')'),
                     dec1Text(line.amount)});
        amount += line.amount;
        quantity += line.quantity;
    }
    fillRows(outcome, rows, amount, doubleText(roundHalfAway(quantity, 6)));
    return outcome;
}

} // namespace qm
