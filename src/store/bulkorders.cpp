#include "store/bulkorders.h"

#include "core/datetimetext.h"
#include "store/database.h"

#include <QVariant>

namespace qm {

BulkOrderWriter::BulkOrderWriter(Database& db)
    : m_db(db)
    , m_order(db.connection()) {
    m_order.prepare(QStringLiteral(
        "INSERT INTO 存单 (编号, 票头, 店铺名称, 时间, 减免, 减免份数, 减免金额, 合计, 支付方式, 已付, 实付, "
        "桌号, 电话, 姓名, 地址, 是否结算, 备注, 收银机) VALUES (?, ?, ?, ?, '', 0, 0, ?, ?, ?, ?, ?, ?, ?, "
        "?, "
        "1, '', ?) RETURNING ID"));
    m_lines = lineInsert(db);
    // Each insert that fires the totals triggers keeps a statement journal, so that it can be undone alone;
    // in a long transaction SQLite writes it to a temporary file, dozens of writes an order. In memory it
    // holds a few pages at a time.
    if (!db.isServer())
        db.exec(QStringLiteral("PRAGMA temp_store = MEMORY"));
}

BulkOrderWriter::~BulkOrderWriter() {
    finish();
    if (!m_db.isServer())
        m_db.exec(QStringLiteral("PRAGMA temp_store = DEFAULT"));
}

bool BulkOrderWriter::begin() {
    if (m_open)
        return true;
    if (!m_db.connection().transaction())
        return false;
    // In turn with the other writers of orders (see Database::lockOrderWrites()).
    if (!m_db.lockOrderWrites()) {
        m_db.connection().rollback();
        return false;
    }
    m_open = true;
    return true;
}

bool BulkOrderWriter::add(const GeneratedOrder& order) {
    if (!begin())
        return false;
    const QString time = isoText(order.time);
    const QVariant values[] = {order.number,
                               order.ticketHeader,
                               order.shopName,
                               time,
                               order.total,
                               order.paymentMethod,
                               order.total,
                               order.total,
                               order.tableName,
                               order.telephone,
                               order.customerName,
                               order.address,
                               storedText(m_db.tillName())};
    for (int i = 0; i < int(std::size(values)); ++i)
        m_order.bindValue(i, values[i]);
    if (!m_order.exec() || !m_order.next())
        return false;
    const qint64 id = m_order.value(0).toLongLong();
    m_order.finish();
    QString error;
    if (!insertLines(m_lines, id, order.time, order.lines, error))
        return false;
    if (++m_inBatch >= batchSize) {
        m_inBatch = 0;
        m_open = false;
        return m_db.connection().commit();
    }
    return true;
}

bool BulkOrderWriter::finish() {
    if (!m_open)
        return true;
    m_open = false;
    m_inBatch = 0;
    return m_db.connection().commit();
}

} // namespace qm
