#pragma once

#include "store/database.h"
#include "store/orderstore.h"

#include <QDateTime>
#include <QTest>

// Stores orders for the report tests: a time, the amount paid and the lines.
namespace qm {

inline QDateTime at(int y, int mo, int d, int h = 12, int mi = 0, int s = 0) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

inline void addOrder(Database& db, const QDateTime& time, double paid, const QList<StoredLine>& lines = {}) {
    StoredOrder order;
    order.time = time;
    order.toPay = paid;
    order.total = paid;
    order.settled = true;
    QVERIFY(insertOrder(db, order, lines));
}

} // namespace qm
