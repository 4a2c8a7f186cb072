#pragma once

#include "store/pagedtable.h"

#include <QString>

#include <optional>

// The paged list browsing of the order history and the customer list: a count over the filter, the page
// count, a page number clamped to it, and the rows of one page. Page p holds the rows ranked
// (p - 1) * pageSize + 1 .. p * pageSize by ascending ID, listed newest first: page 1 holds the oldest rows,
// the last page the newest.
namespace qm {

inline constexpr int listPageSize = 200;
// The page number that asks for the last page.
inline constexpr qint64 lastPage = -1;

// Pages for `count` rows: the quotient rounded up, a quotient within 0.0000001 above a whole number
// counting as that whole number.
qint64 pageCountFor(qint64 count, int pageSize);
// The number typed into the jump box: leading blanks skipped, an optional sign, the leading digits; a text
// without digits reads as 0, a number too large for the page count reads as the largest one.
qint64 readPageNumber(const QString& text);
// A sum as the status bar shows it: cut to a whole number toward zero. A sum within 0.000001 below a whole
// number counts as that number, so that the rounding of many added amounts does not lose a unit.
QString wholeNumberText(double sum);

// What showing a page changed.
struct PageView {
    bool ok = true;           // false: the count or the page could not be read (shown as none)
    QString error;            // why, when not ok
    PageTotals totals;        // count and sums, always refreshed
    bool countShown = false;  // the record count is shown again
    bool labelsShown = false; // the current page and the page count are shown again
    bool listShown = false;   // the list is emptied and refilled with `rows`
    QList<QVariantList> rows;
    qint64 page = 0; // the page handed back: clamped to the page count
    qint64 pageCount = 0;
};

class PagedBrowser {
public:
    explicit PagedBrowser(const PagedTable& table, int pageSize = listPageSize);

    // Shows page p (lastPage: the last page). Counts and sums are always read again. A p below 1 other
    // than lastPage changes neither the list nor the page labels, unless there are no rows at all (then
    // the list is emptied).
    PageView show(qint64 page);

    // The links: each gives no value when it does nothing (the first page is shown, or the last).
    std::optional<PageView> first();
    std::optional<PageView> previous();
    std::optional<PageView> next();
    std::optional<PageView> last();
    PageView refresh();
    // 跳到: shows the page typed; the jump box then shows view.page.
    PageView jump(const QString& typed);

    // The page labels as last shown.
    qint64 currentPage() const { return m_page; }
    qint64 pageCount() const { return m_pageCount; }
    int pageSize() const { return m_pageSize; }

private:
    const PagedTable& m_table;
    int m_pageSize;
    qint64 m_page = 0;
    qint64 m_pageCount = 0;
};

} // namespace qm
