#pragma once

#include "reports/reportoutcome.h"

#include <QString>

// The sales statistics (销售统计): order lines (存单详单) summed per month of a year or per day of a month,
// or listed for one day, for every dish or for one.
namespace qm {

class Database;

enum class SalesKind { Year, Month, Day };

// What the statistics keep for the whole run of the program, beyond one opening of their window.
struct SalesState {
    SalesKind kind = SalesKind::Year;
    QString dish;  // empty: every dish
    QString year;  // the last periods, one per kind: "2016"
    QString month; // "2016-05"
    QString day;   // "2016年5月3日"
};

// The program's one statistics state.
SalesState& salesState();

// The type list's first item, and the texts that stand for every dish.
inline const QString allDishesText = QStringLiteral("所有商品");
// The dish a type list text chooses: empty for "", "所有菜品" and "所有商品".
QString dishOfType(const QString& typeText);

// Runs the statistic of `kind` for `period` (empty: the remembered period of that kind, else the period is
// remembered). `typeText` is the type list's text, shown in the titles; the dish is the state's.
ReportOutcome salesStatistic(const Database& db, SalesState& state, SalesKind kind, const QString& period,
                             const QString& typeText);

} // namespace qm
