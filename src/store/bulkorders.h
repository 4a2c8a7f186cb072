#pragma once

#include <QDateTime>
#include <QList>
#include <QSqlQuery>
#include <QString>

#include "store/orderstore.h"

// Writing many generated orders quickly: prepared statements reused inside one transaction per batch.
namespace qm {

class Database;

struct GeneratedOrder {
    int number = 1;
    QDateTime time;
    QString ticketHeader;
    QString shopName;
    QString paymentMethod;
    QString tableName;
    QString telephone;
    QString customerName;
    QString address;
    double total = 0;
    QList<StoredLine> lines;
};

class BulkOrderWriter {
public:
    explicit BulkOrderWriter(Database& db);
    ~BulkOrderWriter();

    // Adds one order with its lines; a batch is committed every `batchSize` orders and at the end.
    bool add(const GeneratedOrder& order);
    bool finish();

private:
    bool begin();

    Database& m_db;
    QSqlQuery m_order;
    QSqlQuery m_lines;
    int m_inBatch = 0;
    bool m_open = false;
    static constexpr int batchSize = 20000;
};

} // namespace qm
