#pragma once

// The running totals of 存单 that keep the order history quick on a large database: per block of 1024
// IDs, per day and per kind (take-away, eat-in) the number of orders and the sums of 合计 and 实付. Triggers
// on 存单 keep them in the same transaction as every insert, change and delete of an order, whoever
// writes it.
namespace qm {

class Database;

// Orders per block of IDs in 存单汇总.块 (ID / orderBlockSize).
inline constexpr int orderBlockSize = 1024;

// Creates the totals table with its triggers when missing and fills it from the stored orders. Runs in
// the caller's transaction; false when the totals could not be set up (the history then reads 存单
// directly).
bool ensureOrderTotals(const Database& db);
// Takes the triggers away, for a bulk copy of orders that would otherwise update the totals row by row;
// ensureOrderTotals() afterwards counts the totals afresh and puts the triggers back. In the caller's
// transaction.
bool suspendOrderTotals(const Database& db);
// True when the totals table and its triggers are in place.
bool orderTotalsReady(const Database& db);

} // namespace qm
