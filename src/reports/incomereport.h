#pragma once

#include "reports/reportoutcome.h"

#include <QString>

// The income report (收入报表): year, quarter, month and day reports of what the shop took in (存单.实付).
// Each takes the period as the pickers deliver it and gives the table, the status line and the chart.
namespace qm {

class Database;

// Y: a four-digit year text.
ReportOutcome yearReport(const Database& db, const QString& year);
// Q: "1" to "4".
ReportOutcome quarterReport(const Database& db, const QString& year, const QString& quarter);
// M: "1" to "12".
ReportOutcome monthReport(const Database& db, const QString& year, const QString& month);
// D: "%d年%d月%d日". Orders after 0时0分0秒 of that day up to and including 0时0分0秒 of the next.
ReportOutcome dayReport(const Database& db, const QString& day);

} // namespace qm
