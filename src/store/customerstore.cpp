#include "store/customerstore.h"

#include "store/database.h"

#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace qm {

namespace {

const QString searchCondition = QStringLiteral(" WHERE 姓名 = ? OR 电话 = ?");

StoredCustomer customerAt(const QSqlQuery& query, int first) {
    return {query.value(first).toString(), query.value(first + 1).toString(),
            query.value(first + 2).toString()};
}

} // namespace

std::optional<QList<StoredCustomer>> CustomerStore::loadAll() const {
    QSqlQuery query = m_db.prepare(QStringLiteral("SELECT 电话, 姓名, 地址 FROM 客户 ORDER BY ID"));
    if (!run(query))
        return std::nullopt;
    QList<StoredCustomer> customers;
    while (query.next())
        customers.append(customerAt(query, 0));
    return customers;
}

std::optional<qint64> CustomerStore::count(const QString& search) const {
    QSqlQuery query =
        search.isEmpty()
            ? m_db.prepare(QStringLiteral("SELECT COUNT(*) FROM 客户"))
            : m_db.prepare(QStringLiteral("SELECT COUNT(*) FROM 客户") + searchCondition, {search, search});
    if (!run(query) || !query.next())
        return std::nullopt;
    return query.value(0).toLongLong();
}

std::optional<QList<CustomerRow>> CustomerStore::page(const QString& search, qint64 offset, int limit) const {
    if (offset < 0 || limit <= 0)
        return QList<CustomerRow>();
    const QString select = QStringLiteral("SELECT ID, 电话, 姓名, 地址 FROM 客户") +
                           (search.isEmpty() ? QString() : searchCondition) +
                           QStringLiteral(" ORDER BY ID LIMIT ? OFFSET ?");
    QSqlQuery query = search.isEmpty() ? m_db.prepare(select, {limit, offset})
                                       : m_db.prepare(select, {search, search, limit, offset});
    if (!run(query))
        return std::nullopt;
    QList<CustomerRow> rows;
    while (query.next())
        rows.append({query.value(0).toLongLong(), customerAt(query, 1)});
    std::reverse(rows.begin(), rows.end());
    return rows;
}

std::optional<StoredCustomer> CustomerStore::find(const QString& telephone) const {
    QSqlQuery query = m_db.prepare(
        QStringLiteral("SELECT 电话, 姓名, 地址 FROM 客户 WHERE 电话 = ? ORDER BY ID LIMIT 1"), {telephone});
    if (!query.exec() || !query.next())
        return std::nullopt;
    return customerAt(query, 0);
}

bool CustomerStore::insert(const StoredCustomer& customer) const {
    return write(QStringLiteral("INSERT INTO 客户 (电话, 姓名, 地址) VALUES (?, ?, ?)"),
                 {customer.telephone, customer.name, customer.address});
}

bool CustomerStore::update(const StoredCustomer& customer) const {
    return write(QStringLiteral("UPDATE 客户 SET 姓名 = ?, 地址 = ? WHERE 电话 = ?"),
                 {customer.name, customer.address, customer.telephone});
}

bool CustomerStore::removeByTelephone(const QString& telephone) const {
    return write(QStringLiteral("DELETE FROM 客户 WHERE 电话 = ?"), {telephone});
}

bool CustomerStore::run(QSqlQuery& query) const {
    if (query.exec())
        return true;
    m_lastError = query.lastError().text();
    return false;
}

bool CustomerStore::write(const QString& sql, std::initializer_list<QVariant> values) const {
    if (m_db.exec(sql, values))
        return true;
    m_lastError = m_db.lastError();
    return false;
}

std::optional<PageTotals> CustomerTable::totals() const {
    const std::optional<qint64> count = m_store.count(m_search);
    if (!count)
        return std::nullopt;
    return PageTotals{*count, {}};
}

std::optional<QList<QVariantList>> CustomerTable::page(qint64 first, int rows) const {
    const std::optional<QList<CustomerRow>> page = m_store.page(m_search, first, rows);
    if (!page)
        return std::nullopt;
    QList<QVariantList> out;
    out.reserve(page->size());
    for (const CustomerRow& row : *page)
        out.append({row.id, row.customer.telephone, row.customer.name, row.customer.address});
    return out;
}

} // namespace qm
