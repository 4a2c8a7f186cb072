#pragma once

#include <QString>

// The kept sales totals (销售汇总) that answer the yearly and monthly sales statistics without reading every
// order line: per day and dish the number of order lines (存单详单) and the sums of their 数量 and 小计.
// Triggers on 存单详单 keep them in the same transaction as every insert, change and delete of a line,
// whoever writes it.
//
// 销售汇总.日 is the start of the day of the line's 销售时间 ("2016-05-03 00:00:00"), so that the period
// ranges of the statistics ([start of a day, start of a later day)) pick the same lines from the totals as
// from the lines themselves: a line stamped exactly 00:00:00 counts for the day that starts then. A time
// that does not begin with a day keeps its own text there, and is found by the same ranges as in 存单详单.
namespace qm {

class Database;

// Creates the totals table with its triggers when missing and fills it from the stored lines. Runs in the
// caller's transaction; false when the totals could not be set up (the statistics then read 存单详单).
bool ensureSalesTotals(const Database& db);
// Takes the triggers away, for a bulk copy of lines that would otherwise update the totals row by row;
// ensureSalesTotals() afterwards counts the totals afresh and puts the triggers back. In the caller's
// transaction.
bool suspendSalesTotals(const Database& db);
// True when the totals table and its triggers are in place.
bool salesTotalsReady(const Database& db);

} // namespace qm
