#include "settlebench.h"

#include "benchutil.h"

#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "order/orderform.h"
#include "order/settle.h"
#include "store/database.h"
#include "store/orderstore.h"

namespace qm::bench {

namespace {

// A few telephones used over and over, so repeated runs do not grow the customer table.
QString telephone(int i) {
    return QStringLiteral("1370000%1").arg(i % 8, 4, 10, QLatin1Char('0'));
}

StoredOrder sampleOrder(int i, const QDateTime& now) {
    StoredOrder o;
    o.number = 9000 + i;
    o.ticketHeader = QStringLiteral("微信点餐");
    o.shopName = QStringLiteral("白云快餐");
    o.time = now;
    o.paymentMethod = QStringLiteral("现金支付");
    o.total = o.paid = o.toPay = 57.5;
    o.settled = true;
    o.telephone = telephone(i);
    o.customerName = QStringLiteral("顾客");
    o.address = QStringLiteral("幸福路 1 号");
    return o;
}

const QList<StoredLine> sampleLines = {{QStringLiteral("空心菜"), 2, QStringLiteral("份"), 36},
                                       {QStringLiteral("王老吉"), 1, QStringLiteral("瓶"), 3.5},
                                       {QStringLiteral("红烧排骨饭"), 1, QStringLiteral("份"), 18}};

} // namespace

void benchSettle(const Home& home) {
    OpenedDatabase opened = openBenchDatabase(home, "settle bench");
    if (!opened.db)
        return;
    Database& db = *opened.db;
    QList<qint64> stored;
    const int runs = 200;

    const QDateTime now = QDateTime::currentDateTime();
    int i = 0;
    figure(QStringLiteral("settle: store order + 3 lines + customer (transaction)"),
           meanMs(runs,
                  [&] {
                      if (const OrderWriteResult r = insertOrder(db, sampleOrder(i++, now), sampleLines))
                          stored << *r.id;
                  }),
           "ms");

    // The whole F12 command with a printer that prints at once: reading the form, storing, resetting the
    // form (today's totals, next number). Typing the order is not timed.
    QtPlatform platform;
    OrderForm form(db, platform, opened.quantityDecimals);
    form.refreshTodayTotals();
    form.loadDishCache();
    SettleCommands commands(form, [](bool) { return true; });
    const double settleMs = timeSettles(form, commands, runs, stored, "settle bench",
                                        [&](int n) { form.setText(OrderField::Telephone, telephone(n)); });
    figure(QStringLiteral("settle command F12 without printing (store + reset)"), settleMs, "ms");

    for (qint64 id : stored)
        deleteOrder(db, id);
}

} // namespace qm::bench
