#pragma once

#include "store/pagedtable.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <initializer_list>

#include <optional>

// The customers (客户) as the customer window and the sample data keep them. The telephone is a customer's
// key: changes and deletes reach every row with it. Text is stored exactly as typed.
class QSqlQuery;

namespace qm {

class Database;

struct StoredCustomer {
    QString telephone; // 电话
    QString name;      // 姓名
    QString address;   // 地址
};

// One row of the customer list.
struct CustomerRow {
    qint64 id = 0;
    StoredCustomer customer;
};

class CustomerStore {
public:
    explicit CustomerStore(const Database& db)
        : m_db(db) {}

    // Every customer in table order; no value when the table cannot be read.
    std::optional<QList<StoredCustomer>> loadAll() const;

    // The customers a search text selects: an empty text selects all of them, any other the customers whose
    // name or telephone equals it exactly (blanks included). No value when the query fails.
    std::optional<qint64> count(const QString& search) const;
    // The selected customers ranked `offset` + 1 .. `offset` + `limit` by ascending ID, listed newest first.
    std::optional<QList<CustomerRow>> page(const QString& search, qint64 offset, int limit) const;

    // The first customer (in table order) with exactly this telephone.
    std::optional<StoredCustomer> find(const QString& telephone) const;
    bool insert(const StoredCustomer& customer) const;
    // Gives every customer with the record's telephone its name and address.
    bool update(const StoredCustomer& customer) const;
    // Deletes every customer with this telephone.
    bool removeByTelephone(const QString& telephone) const;

    // The reason the last statement failed.
    QString lastError() const { return m_lastError; }

private:
    bool run(QSqlQuery& query) const;
    bool write(const QString& sql, std::initializer_list<QVariant> values) const;

    const Database& m_db;
    mutable QString m_lastError;
};

// The customer list as the paged list browser reads it: the count (no sums) and pages of rows with the
// columns ID, 电话, 姓名, 地址, under a search text (empty: every customer).
class CustomerTable : public PagedTable {
public:
    explicit CustomerTable(const Database& db)
        : m_store(db) {}

    void setSearch(const QString& search) { m_search = search; }
    const QString& search() const { return m_search; }

    std::optional<PageTotals> totals() const override;
    std::optional<QList<QVariantList>> page(qint64 first, int rows) const override;
    QString lastError() const override { return m_store.lastError(); }

private:
    CustomerStore m_store;
    QString m_search;
};

} // namespace qm
