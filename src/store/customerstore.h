#pragma once

#include <QList>
#include <QString>

#include <optional>

// The customers (客户) as the customer window and the sample data keep them. The telephone is a customer's
// key: changes and deletes reach every row with it. Text is stored exactly as typed.
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
    QString lastError() const;

private:
    const Database& m_db;
};

} // namespace qm
