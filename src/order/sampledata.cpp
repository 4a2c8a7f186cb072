#include "order/sampledata.h"

#include "core/numtext.h"
#include "core/platform.h"
#include "store/database.h"

namespace qm {

namespace {

const QString ticketHeader = QStringLiteral("饿了么(第1联)");
const QString shopName = QStringLiteral("山东手工水饺");
const QString discountName = QStringLiteral("无");
const QString paymentMethod = QStringLiteral("现金支付");

// Chooses where the order goes: p from 1 to 100 is a table when there are at least p tables, otherwise a
// delivery to a drawn customer. Without customers the delivery becomes a meal at a drawn table.
void choosePlace(StoredOrder& order, const SampleDataSources& sources, SampleRandom& random) {
    const int tables = int(sources.tableNames.size());
    const int p = random.draw(1, 100);
    if (p <= tables) {
        order.tableName = sources.tableNames.at(p - 1);
    } else if (!sources.customers.isEmpty()) {
        const StoredCustomer& customer =
            sources.customers.at(random.draw(1, int(sources.customers.size())) - 1);
        order.telephone = customer.telephone;
        order.customerName = customer.name;
        order.address = customer.address;
    } else {
        order.tableName = sources.tableNames.at(random.draw(1, tables) - 1);
    }
}

SampleOrder sampleOrder(const QDate& day, int number, const SampleDataSources& sources,
                        SampleRandom& random) {
    const int minimum = random.draw(1, 20);
    SampleOrder made;
    StoredOrder& order = made.order;
    order.number = number;
    const int hour = random.draw(1, 21);
    const int minute = random.draw(1, 59);
    order.time = QDateTime(day, QTime(hour, minute));
    double amount = 0;
    while (amount < minimum - zeroTolerance) {
        const DishRecord& dish = sources.dishes.at(random.draw(1, int(sources.dishes.size())) - 1);
        const double price = textToNumber(dish.price);
        made.lines.append({dish.name, 1, dish.unit, price});
        amount += price;
    }
    choosePlace(order, sources, random);
    order.ticketHeader = ticketHeader;
    order.shopName = shopName;
    order.discountName = discountName;
    order.paymentMethod = paymentMethod;
    order.total = order.paid = order.toPay = amount;
    order.settled = !isZero(amount);
    return made;
}

} // namespace

QString sampleDataRefusal(const SampleDataSources& sources) {
    QStringList missing;
    if (sources.dishes.isEmpty()) {
        missing << QStringLiteral("菜单中还没有菜品");
    } else {
        double sum = 0;
        for (const DishRecord& dish : sources.dishes)
            sum += textToNumber(dish.price);
        // Orders are filled with drawn dishes until they reach an amount: prices that add up to nothing
        // above 0 would never get there.
        if (!(sum > zeroTolerance))
            missing << QStringLiteral("菜单中菜品的价格合计不大于 0");
    }
    if (sources.customers.isEmpty() && sources.tableNames.isEmpty())
        missing << QStringLiteral("还没有客户，也没有桌号");
    if (missing.isEmpty())
        return {};
    return QStringLiteral("无法生成随机数据：") + missing.join(QStringLiteral("；")) + QStringLiteral("。");
}

QList<SampleOrder> sampleDay(const QDate& day, const SampleDataSources& sources, SampleRandom& random) {
    const int target = random.draw(120, 310);
    QList<SampleOrder> orders;
    double total = 0;
    while (total < target) {
        orders.append(sampleOrder(day, int(orders.size()) + 1, sources, random));
        total += orders.last().order.total;
    }
    return orders;
}

SampleDataOutcome generateSampleData(Database& db, Platform& platform, const QList<DishRecord>& dishes,
                                     const QStringList& tableNames, quint32 seed) {
    if (!platform.askYesNo(sampleDataQuestion, MessageIcon::Warning))
        return SampleDataOutcome::Declined;
    const CustomerStore customerStore(db);
    const std::optional<QList<StoredCustomer>> customers = customerStore.loadAll();
    if (!customers) {
        platform.showMessage(QStringLiteral("生成随机数据失败：无法读取客户资料。\r\n") +
                                 customerStore.lastError(),
                             MessageIcon::Stop);
        return SampleDataOutcome::Failed;
    }
    const SampleDataSources sources{dishes, tableNames, *customers};
    if (const QString refusal = sampleDataRefusal(sources); !refusal.isEmpty()) {
        platform.showMessage(refusal, MessageIcon::Information);
        return SampleDataOutcome::Refused;
    }

    const int year = platform.now().date().year();
    const QDate first(year, 1, 1);
    const int days = first.daysInYear();
    SampleRandom random(seed);
    bool cancelled = false;
    QString error;
    const std::unique_ptr<Progress> progress = platform.startProgress(
        QStringLiteral("生成销售随机数据"), QStringLiteral("正在生成 %1 年的销售随机数据……").arg(year), days);
    const bool stored = db.transaction([&] {
        if (!db.lockOrderWrites())
            return false;
        for (int d = 0; d < days; ++d) {
            for (const SampleOrder& made : sampleDay(first.addDays(d), sources, random)) {
                if (!insertOrderRows(db, made.order, made.lines, error))
                    return false;
            }
            if (!progress->advance(d + 1)) {
                cancelled = true;
                return false;
            }
        }
        return true;
    });
    if (stored)
        return SampleDataOutcome::Stored;
    if (cancelled) {
        platform.showMessage(QStringLiteral("已取消生成随机数据，没有保存任何数据。"),
                             MessageIcon::Information);
        return SampleDataOutcome::Cancelled;
    }
    platform.showMessage(QStringLiteral("生成随机数据失败，没有保存任何数据：\r\n") +
                             (error.isEmpty() ? db.lastError() : error),
                         MessageIcon::Stop);
    return SampleDataOutcome::Failed;
}

} // namespace qm
