#pragma once

#include "reports/chartdata.h"
#include "reports/reportoutcome.h"

// The chart data files of the income report and the sales statistics, with the positions, colours and
// series the reports draw them in.
namespace qm {

class Home;

// The two pies of a year or quarter income report.
PieChartFile incomePieChart(const IncomePies& pies);
// The trend chart writer filled for a month income report or a yearly or monthly sales statistic.
LineChartWriter trendChartWriter(const TrendChart& trend);

// Writes (or empties) the data files `outcome` asks for. True when every write succeeded.
bool writeReportChartFiles(const ReportOutcome& outcome, const Home& home);

} // namespace qm
