// The benchmark: fills a fresh program home with years of generated orders and prints how long the
// things a cashier waits for take on it.
#include "auditbench.h"
#include "benchutil.h"
#include "chartbench.h"
#include "customerbench.h"
#include "escposbench.h"
#include "historybench.h"
#include "importbench.h"
#include "kitchenbench.h"
#include "orderbench.h"
#include "receiptbench.h"
#include "reportbench.h"
#include "safetybench.h"
#include "servercopybench.h"
#include "settlebench.h"
#include "tillsbench.h"

#include "app/programdatabase.h"
#include "core/home.h"
#include "store/bulkorders.h"
#include "store/orderformstore.h"
#include "store/settings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace qm;
using namespace qm::bench;

namespace {

struct Dish {
    const char* name;
    double price;
    const char* unit;
};

const Dish dishes[] = {{"红烧排骨饭", 18, "份"}, {"茄子豆角", 14, "份"},     {"西红柿炒蛋", 13, "份"},
                       {"金针菇肉片", 16, "份"}, {"白菜肉水饺", 15.5, "份"}, {"酸菜鱼", 16, "份"},
                       {"鱼香肉丝", 13, "份"},   {"雪花纯生", 8, "瓶"},      {"王老吉", 3.5, "瓶"},
                       {"空心菜", 18, "份"}};
const char* const payments[] = {"现金支付", "微信支付", "支付宝支付", "到付"};

// `count` orders spread evenly over the ten years that end now, so that today has its share too.
bool generateOrders(Database& db, int count, const QDateTime& now) {
    QRandomGenerator random(20261209);
    const QDateTime start = now.addYears(-10);
    const qint64 span = start.secsTo(now);
    BulkOrderWriter writer(db);
    QDate day;
    int number = 0;
    for (int i = 0; i < count; ++i) {
        GeneratedOrder order;
        order.time = start.addSecs(span * (i + 1) / count);
        order.time.setTime(QTime(order.time.time().hour(), order.time.time().minute()));
        if (order.time.date() != day) {
            day = order.time.date();
            number = 0;
        }
        order.number = ++number;
        order.ticketHeader = QStringLiteral("微信点餐");
        order.shopName = QStringLiteral("白云快餐");
        order.paymentMethod = QString::fromUtf8(payments[random.bounded(int(std::size(payments)))]);
        if (random.bounded(2) == 0) {
            order.telephone = QStringLiteral("139%1").arg(random.bounded(100000), 8, 10, QLatin1Char('0'));
            order.customerName = QStringLiteral("顾客");
            order.address = QStringLiteral("幸福路 %1 号").arg(random.bounded(1, 300));
        } else {
            order.tableName = QStringLiteral("号牌 %1").arg(random.bounded(1, 11));
        }
        const int lines = 1 + random.bounded(5);
        for (int l = 0; l < lines; ++l) {
            const Dish& dish = dishes[random.bounded(int(std::size(dishes)))];
            const double quantity = 1 + random.bounded(3);
            order.lines.append({QString::fromUtf8(dish.name), quantity, QString::fromUtf8(dish.unit),
                                quantity * dish.price});
            order.total += quantity * dish.price;
        }
        if (!writer.add(order))
            return false;
    }
    return writer.finish();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quillmenu benchmark"));
    parser.addHelpOption();
    const QCommandLineOption ordersOption(QStringLiteral("orders"), QStringLiteral("Orders to generate."),
                                          QStringLiteral("N"), QStringLiteral("1000000"));
    const QCommandLineOption homeOption(
        QStringLiteral("home"), QStringLiteral("Keep the generated home in DIR (reused when it has data)."),
        QStringLiteral("DIR"));
    const QCommandLineOption serverCopyOption(
        QStringLiteral("server-copy"),
        QStringLiteral("Only time the copy of the home into a throwaway PostgreSQL server (--copy-to)."));
    const QCommandLineOption auditOption(QStringLiteral("audit-only"),
                                         QStringLiteral("Only the record of changes, with N rows."),
                                         QStringLiteral("N"));
    const QCommandLineOption kitchenOption(
        QStringLiteral("kitchen-only"),
        QStringLiteral("Only the kitchen tickets: drawing a slip, F12 to the kitchen printers."));
    const QCommandLineOption tillsOption(
        QStringLiteral("tills"),
        QStringLiteral(
            "Only settling on a throwaway PostgreSQL server beside SQLite, and two tills at once."));
    const QCommandLineOption tillWorkerOption(QStringLiteral("till-worker"),
                                              QStringLiteral("One till of --tills, on the server at URL."),
                                              QStringLiteral("URL"));
    const QCommandLineOption tillNameOption(QStringLiteral("till-name"), QStringLiteral("The till's name."),
                                            QStringLiteral("NAME"));
    const QCommandLineOption reportsOption(
        QStringLiteral("reports-only"),
        QStringLiteral("Only the first opening of the home, the income report and the sales statistics."));
    parser.addOption(reportsOption);
    parser.addOption(tillsOption);
    parser.addOption(tillWorkerOption);
    parser.addOption(tillNameOption);
    parser.addOption(ordersOption);
    parser.addOption(kitchenOption);
    parser.addOption(homeOption);
    parser.addOption(serverCopyOption);
    parser.addOption(auditOption);
    parser.process(app);
    if (parser.isSet(tillWorkerOption))
        return runBenchTill(parser.value(tillWorkerOption), parser.value(tillNameOption),
                            parser.value(ordersOption).toInt());
    if (parser.isSet(tillsOption))
        return benchTills(QCoreApplication::applicationFilePath()) ? 0 : 1;
    if (parser.isSet(auditOption)) {
        benchAudit(parser.value(auditOption).toInt());
        return 0;
    }

    QTemporaryDir temporary;
    const Home home(parser.isSet(homeOption) ? parser.value(homeOption) : temporary.path());
    const int orders = parser.value(ordersOption).toInt();
    const QDateTime now = QDateTime::currentDateTime();

    {
        QElapsedTimer opening;
        opening.start();
        OpenedDatabase opened = openProgramDatabase(home);
        figure(QStringLiteral("open database (first opening of this run)"),
               double(opening.nsecsElapsed()) / 1e6, "ms");
        if (!opened.db) {
            std::fprintf(stderr, "cannot open %s: %s\n", qPrintable(home.databasePath()),
                         qPrintable(opened.error));
            return 1;
        }
        const int existing = todayTotals(*opened.db, now.date()).count;
        if (existing == 0) {
            QElapsedTimer timer;
            timer.start();
            if (!generateOrders(*opened.db, orders, now)) {
                std::fprintf(stderr, "generation failed: %s\n", qPrintable(opened.db->lastError()));
                return 1;
            }
            const double seconds = double(timer.nsecsElapsed()) / 1e9;
            figure(QStringLiteral("generated orders"), orders, "orders");
            figure(QStringLiteral("generation rate"), orders / seconds, "orders/s");
        }
    }

    if (parser.isSet(serverCopyOption))
        return benchServerCopy(home) ? 0 : 1;
    if (parser.isSet(reportsOption)) {
        benchReports(home);
        return 0;
    }
    if (parser.isSet(kitchenOption)) {
        benchKitchenTickets(home);
        return 0;
    }

    figure(QStringLiteral("open database (already current)"), meanMs(5, [&] { openProgramDatabase(home); }),
           "ms");
    {
        OpenedDatabase opened = openProgramDatabase(home);
        RecordStore(*opened.db).update(QStringLiteral("数据库版本"), QStringLiteral("3.1"));
    }
    figure(QStringLiteral("open database with upgrade"), meanMs(1, [&] { openProgramDatabase(home); }), "ms");

    OpenedDatabase opened = openProgramDatabase(home);
    Database& db = *opened.db;
    TodayTotals totals;
    figure(QStringLiteral("today's totals, first run"),
           meanMs(1, [&] { totals = todayTotals(db, now.date()); }), "ms");
    figure(QStringLiteral("today's totals (max 编号, count, sum 实付)"),
           meanMs(50, [&] { totals = todayTotals(db, now.date()); }), "ms");
    figure(QStringLiteral("  orders today"), totals.count, "orders");
    opened.db.reset();

    benchMainWindowStart(home);
    benchSettle(home);
    benchOrderEntry();
    benchReceipt();
    benchCharts(home);
    benchCustomers();
    benchImport();
    benchSampleData();
    benchReports(home);
    benchSafety(home);
    benchDirectPrinting(home);
    benchKitchenTickets(home);
    benchHistory(home);
    benchAudit(100000);
    return 0;
}
