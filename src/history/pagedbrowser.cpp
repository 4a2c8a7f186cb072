#include "history/pagedbrowser.h"

#include <cmath>
#include <limits>

namespace qm {

qint64 pageCountFor(qint64 count, int pageSize) {
    if (count <= 0 || pageSize <= 0)
        return 0;
    const double quotient = double(count) / pageSize;
    const double whole = std::floor(quotient);
    return quotient - whole <= 0.0000001 ? qint64(whole) : qint64(whole) + 1;
}

qint64 readPageNumber(const QString& text) {
    int i = 0;
    while (i < text.size() && (text[i].isSpace() || text[i] == QChar(0x3000)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        negative = text[i++] == QLatin1Char('-');
    constexpr qint64 largest = std::numeric_limits<int>::max();
    qint64 value = 0;
    for (; i < text.size() && text[i] >= QLatin1Char('0') && text[i] <= QLatin1Char('9'); ++i)
        value = std::min(largest, value * 10 + (text[i].unicode() - '0'));
    return negative ? -value : value;
}

QString wholeNumberText(double sum) {
    if (!std::isfinite(sum))
        return QStringLiteral("0");
    double whole = std::trunc(sum + (sum < 0 ? -0.000001 : 0.000001));
    if (whole == 0)
        whole = 0; // no "-0"
    return QString::number(whole, 'f', 0);
}

PagedBrowser::PagedBrowser(const PagedTable& table, int pageSize)
    : m_table(table)
    , m_pageSize(pageSize) {}

PageView PagedBrowser::show(qint64 page) {
    PageView view;
    const std::optional<PageTotals> totals = m_table.totals();
    if (totals) {
        view.totals = *totals;
    } else {
        view.ok = false;
        view.error = m_table.lastError();
    }
    const qint64 count = view.totals.count;
    if (count == 0) {
        view.countShown = true;
        view.listShown = true;
    }
    view.pageCount = pageCountFor(count, m_pageSize);
    view.page = page;
    if (page != lastPage && page < 1)
        return view;
    if (page == lastPage || page > view.pageCount)
        view.page = view.pageCount;
    view.countShown = view.labelsShown = view.listShown = true;
    m_page = view.page;
    m_pageCount = view.pageCount;
    if (view.page < 1)
        return view;
    const qint64 first = (view.page - 1) * m_pageSize;
    const int rows = int(std::min<qint64>(m_pageSize, count - first));
    const std::optional<QList<QVariantList>> fetched = m_table.page(first, rows);
    if (fetched) {
        view.rows = *fetched;
    } else if (view.ok) {
        view.ok = false;
        view.error = m_table.lastError();
    }
    return view;
}

std::optional<PageView> PagedBrowser::first() {
    if (m_page == 1)
        return std::nullopt;
    return show(1);
}

std::optional<PageView> PagedBrowser::previous() {
    if (m_page == 1)
        return std::nullopt;
    return show(m_page - 1);
}

std::optional<PageView> PagedBrowser::next() {
    if (m_page == m_pageCount)
        return std::nullopt;
    return show(m_page + 1);
}

std::optional<PageView> PagedBrowser::last() {
    if (m_page == m_pageCount)
        return std::nullopt;
    return show(lastPage);
}

PageView PagedBrowser::refresh() {
    return show(m_page);
}

PageView PagedBrowser::jump(const QString& typed) {
    return show(readPageNumber(typed));
}

} // namespace qm
