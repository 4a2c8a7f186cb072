#pragma once

#include "reports/reporttable.h"

#include <QList>
#include <QString>
#include <QStringList>

// What one report or statistic produces: the table, the status line, and what the chart view shows.
namespace qm {

// The message when a period has no orders or no sales.
inline const QString noDataMessage = QStringLiteral("没有找到对应时间内的点单数据。");

// The two pies of the year and quarter income reports: income and order count per month.
struct IncomePies {
    bool quarter = false; // the quarter report places its first pie differently and keeps slices closed
    QString incomeTitle;
    QString countTitle;
    QStringList labels;    // "05月"
    QList<qint64> incomes; // the month's income, truncated toward zero
    QList<qint64> counts;
};

// The trend chart of the month income report and the yearly and monthly sales statistics.
struct TrendChart {
    int yMaximum = 0;
    QString paragraph;
    QString amountSeries; // drawn red
    QString countSeries;  // drawn blue
    QStringList periods;
    QStringList amounts;
    QStringList counts;
};

enum class ReportChart {
    None,  // the chart view keeps what it shows
    Pies,  // write the pie data file and show it
    Trend, // write the line-chart data file and show it
};

struct ReportOutcome {
    ReportTable table{4, 229};
    QString status; // the status line "正在浏览:…"
    bool found = false;
    bool chartVisible = true;
    ReportChart chart = ReportChart::None;
    // The quarter report empties the pie data file and shows it before it reads the orders.
    bool emptyPiesFirst = false;
    // The yearly sales statistic without sales empties the line-chart data file.
    bool emptyTrend = false;
    IncomePies pies;
    TrendChart trend;
    // Why the orders could not be read; empty when they were. The period then counts as without orders.
    QString readError;
};

// The message when the orders could not be read.
QString readErrorMessage(const QString& reason);

// A sum as the pie charts take it: truncated toward zero, held within the range of the integer.
qint64 truncatedAmount(double value);

// The chart maximum as the reports track it over their rows: raised to a larger amount `s` (truncated),
// else to a larger count `c`.
double raiseChartMaximum(double maximum, double amount, qint64 count);
// The maximum raised to the next multiple of 100 (a multiple of 100 stays), as the Y axis shows it.
int chartAxisMaximum(double maximum);

// The text of an average: rounded to one decimal, half away from zero.
QString averageText(double total, qint64 count);

} // namespace qm
