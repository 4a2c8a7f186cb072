#pragma once

#include "store/customerstore.h"
#include "store/orderformstore.h"
#include "store/orderstore.h"

#include <QDate>
#include <QList>
#include <QRandomGenerator>
#include <QStringList>

// Sample sales data: a year of random cash orders (按钮_随机数据 "生成销售随机数据"), so that the history and
// the reports can be tried without real trade. Each order is a delivery to a stored customer or a meal at
// a stored table, and is stored as settling stores an order.
namespace qm {

class Database;
class Platform;

inline const QString sampleDataQuestion = QStringLiteral("是否生成随机数据？");

// What the orders are made of: the dish cache, the table-code cache's names and the stored customers.
struct SampleDataSources {
    QList<DishRecord> dishes;
    QStringList tableNames;
    QList<StoredCustomer> customers;
};

// Why no run can be made from the sources, naming what is missing (no dish, no dish price above 0 in sum,
// neither a customer nor a table); empty when a run can be made.
QString sampleDataRefusal(const SampleDataSources& sources);

// Whole numbers drawn uniformly from inclusive ranges; the same seed draws the same numbers.
class SampleRandom {
public:
    explicit SampleRandom(quint32 seed)
        : m_generator(seed) {}
    int draw(int low, int high) { return low + int(m_generator.bounded(quint32(high - low + 1))); }

private:
    QRandomGenerator m_generator;
};

struct SampleOrder {
    StoredOrder order;
    QList<StoredLine> lines;
};

// The orders of one day, numbered 1, 2, ... in the order they are made, until their amounts reach the
// day's drawn target (120 to 310). Each order's lines (one of a dish each) reach its drawn minimum (1 to
// 20); its time lies between 1:01 and 21:59. The sources must not be refused.
QList<SampleOrder> sampleDay(const QDate& day, const SampleDataSources& sources, SampleRandom& random);

enum class SampleDataOutcome { Declined, Refused, Cancelled, Failed, Stored };

// The button's action: asks, reads the customers, and stores one order day after day for every day of the
// current year (future days included) in one transaction, behind a progress window with Cancel. A refused,
// cancelled or failed run stores nothing and tells the user so.
SampleDataOutcome generateSampleData(Database& db, Platform& platform, const QList<DishRecord>& dishes,
                                     const QStringList& tableNames, quint32 seed);

} // namespace qm
