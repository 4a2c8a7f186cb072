#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// What a paged list window reads from its table: the count (with any sums) over the window's filter, and
// one page of rows. The order history and the customer list each have one.
namespace qm {

struct PageTotals {
    qint64 count = 0;
    // The sums the window shows beside the count, in the table's own order (none for customers).
    QList<double> sums;
};

class PagedTable {
public:
    virtual ~PagedTable() = default;

    // Count and sums over the current filter; no value when the query failed.
    virtual std::optional<PageTotals> totals() const = 0;
    // The rows ranked first + 1 .. first + rows by ascending ID under the current filter, listed newest
    // first (descending ID). Each row holds the table's list columns, the ID first. No value when the
    // query failed.
    virtual std::optional<QList<QVariantList>> page(qint64 first, int rows) const = 0;
    // Why the last query failed.
    virtual QString lastError() const { return {}; }
};

} // namespace qm
