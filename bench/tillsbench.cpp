#include "tillsbench.h"

#include "benchutil.h"

#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "order/orderform.h"
#include "order/settle.h"
#include "store/database.h"
#include "store/opendatabase.h"
#include "store/orderstore.h"
#include "store/tillfile.h"
#include "support/testserver.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace qm::bench {

namespace {

const QList<StoredLine> lines = {{QStringLiteral("空心菜"), 2, QStringLiteral("份"), 36},
                                 {QStringLiteral("王老吉"), 1, QStringLiteral("瓶"), 3.5},
                                 {QStringLiteral("红烧排骨饭"), 1, QStringLiteral("份"), 18}};

StoredOrder order(int i) {
    StoredOrder o;
    o.time = QDateTime::currentDateTime();
    o.paymentMethod = QStringLiteral("现金支付");
    o.total = o.paid = o.toPay = 57.5;
    o.settled = true;
    o.telephone = QStringLiteral("1370000%1").arg(i % 8, 4, 10, QLatin1Char('0'));
    o.customerName = QStringLiteral("顾客");
    o.address = QStringLiteral("幸福路 1 号");
    return o;
}

struct Times {
    double mean = 0;
    double p95 = 0;
    double max = 0;
};

// Stores `runs` orders the way a settle does (the number proposed from today's highest, the store's
// transaction), each timed.
Times storeOrders(Database& db, int runs, bool* failed) {
    QList<double> ms;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        timer.start();
        StoredOrder o = order(i);
        o.number = todayTotals(db, o.time.date()).maxNumber + 1;
        const OrderWriteResult r = insertOrder(db, o, lines, OrderNumber::Proposed);
        ms << double(timer.nsecsElapsed()) / 1e6;
        if (!r) {
            std::fprintf(stderr, "tills bench: %s\n", qPrintable(r.error));
            *failed = true;
            break;
        }
    }
    Times t;
    if (ms.isEmpty())
        return t;
    for (double m : ms)
        t.mean += m;
    t.mean /= double(ms.size());
    std::sort(ms.begin(), ms.end());
    t.p95 = ms.at(std::min<qsizetype>(ms.size() - 1, qsizetype(ms.size() * 0.95)));
    t.max = ms.last();
    return t;
}

void report(const QString& what, const Times& t) {
    figure(what + QStringLiteral(", mean"), t.mean, "ms");
    figure(QStringLiteral("  95th percentile"), t.p95, "ms");
    figure(QStringLiteral("  longest"), t.max, "ms");
}

// The whole F12 on a home: reading the form, storing, resetting the form.
double settleCommand(const Home& home) {
    OpenedDatabase opened = openBenchDatabase(home, "tills bench");
    if (!opened.db)
        return -1;
    QtPlatform platform;
    OrderForm form(*opened.db, platform, opened.quantityDecimals);
    form.refreshTodayTotals();
    form.loadDishCache();
    SettleCommands commands(form, [](bool) { return true; });
    QList<qint64> stored;
    return timeSettles(form, commands, 100, stored, "tills bench");
}

} // namespace

int runBenchTill(const QString& url, const QString& name, int orders) {
    const std::optional<ServerSetting> server = parseServerUrl(url);
    QString error;
    std::unique_ptr<Database> db = server ? Database::connectServer(*server, &error) : nullptr;
    if (!db || !prepareDatabase(*db, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    db->setTillName(name);
    bool failed = false;
    const Times t = storeOrders(*db, orders, &failed);
    std::printf("%f %f %f\n", t.mean, t.p95, t.max);
    return failed ? 1 : 0;
}

bool benchTills(const QString& program) {
    // Commits reach the disk on both engines, as in the shop.
    TestServer::setDurable(true);
    QString why;
    TestServer* server = TestServer::shared(&why);
    if (!server) {
        std::fprintf(stderr, "tills bench: no server: %s\n", qPrintable(why));
        return false;
    }
    const int runs = 300;
    bool failed = false;

    // The SQLite home in the temporary folder, on the disk that holds the server's files too.
    QTemporaryDir fileDir;
    const Home fileHome(fileDir.path());
    QTemporaryDir serverDir;
    const Home serverHome(serverDir.path());
    const ServerSetting shared = server->newDatabase();
    TillFile(serverHome.tillPath()).setServer(shared);
    for (const Home* home : {&fileHome, &serverHome}) {
        OpenedDatabase opened = openBenchDatabase(*home, "tills bench");
        if (!opened.db)
            return false;
        report(home == &fileHome ? QStringLiteral("store a settled order, SQLite file")
                                 : QStringLiteral("store a settled order, PostgreSQL server"),
               storeOrders(*opened.db, runs, &failed));
    }
    figure(QStringLiteral("settle command F12 without printing, SQLite file"), settleCommand(fileHome), "ms");
    figure(QStringLiteral("settle command F12 without printing, PostgreSQL server"),
           settleCommand(serverHome), "ms");

    // Two tills at once, each its own process and connection, storing on the same day.
    QList<QProcess*> tills;
    for (const QString& name : {QStringLiteral("收银1"), QStringLiteral("收银2")}) {
        auto* till = new QProcess;
        till->start(program, {QStringLiteral("--till-worker"), shared.url(), QStringLiteral("--till-name"),
                              name, QStringLiteral("--orders"), QString::number(runs)});
        tills << till;
    }
    int n = 0;
    for (QProcess* till : tills) {
        ++n;
        if (!till->waitForFinished(300000) || till->exitCode() != 0) {
            std::fprintf(stderr, "tills bench: till %d failed: %s\n", n,
                         till->readAllStandardError().constData());
            failed = true;
        } else {
            const QStringList values =
                QString::fromLatin1(till->readAllStandardOutput()).simplified().split(' ');
            Times t;
            t.mean = values.value(0).toDouble();
            t.p95 = values.value(1).toDouble();
            t.max = values.value(2).toDouble();
            report(QStringLiteral("two tills at once: till %1 storing").arg(n), t);
        }
        delete till;
    }
    std::unique_ptr<Database> check = Database::connectServer(shared, &why);
    if (check) {
        QSqlQuery q =
            check->prepare(QStringLiteral("SELECT count(*), count(DISTINCT 编号) FROM 存单 WHERE 收银机 IN "
                                          "('收银1', '收银2')"));
        if (q.exec() && q.next()) {
            figure(QStringLiteral("  orders stored by the two tills"), q.value(0).toDouble(), "orders");
            figure(QStringLiteral("  distinct numbers among them"), q.value(1).toDouble(), "numbers");
        }
    }
    return !failed;
}

} // namespace qm::bench
