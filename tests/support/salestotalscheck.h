#pragma once

#include <QDate>
#include <QString>

namespace qm {

class Database;

// Compares the kept sales totals (销售汇总) with the order lines they count, by what the statistics ask of
// them: for every day from `first` to `last`, for every dish and for all dishes, the lines of the day's
// range [00:00:00, next day's 00:00:00) against the totals of the same range; then all lines against all
// totals. Empty when they agree, else the first difference.
QString salesTotalsDifference(const Database& db, const QDate& first, const QDate& last);

} // namespace qm
