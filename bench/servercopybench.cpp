#include "servercopybench.h"

#include "benchutil.h"
#include "historybench.h"
#include "orderbench.h"
#include "reportbench.h"

#include "core/home.h"
#include "store/database.h"
#include "store/opendatabase.h"
#include "store/orderstore.h"
#include "store/servercopy.h"
#include "store/tillfile.h"
#include "support/testserver.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace qm::bench {

namespace {

// The most memory this process has held so far, in MiB.
double peakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

} // namespace

bool benchServerCopy(const Home& home) {
    QString why;
    TestServer* server = TestServer::shared(&why);
    if (!server) {
        std::fprintf(stderr, "server copy: no server: %s\n", qPrintable(why));
        return false;
    }
    const ServerSetting setting = server->newDatabase();
    std::unique_ptr<Database> target = Database::connectServer(setting, &why);
    if (!target) {
        std::fprintf(stderr, "server copy: %s\n", qPrintable(why));
        return false;
    }
    const double before = peakMemoryMiB();
    QElapsedTimer timer;
    timer.start();
    const ServerCopyResult result = ServerCopy(home.databasePath(), *target).run();
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    if (!result) {
        std::fprintf(stderr, "server copy: %s\n", qPrintable(result.error));
        return false;
    }
    qint64 rows = 0;
    for (const CopiedTable& table : result.tables)
        rows += table.rows;
    figure(QStringLiteral("--copy-to: whole copy into PostgreSQL"), seconds, "s");
    figure(QStringLiteral("  rows copied"), double(rows), "rows");
    figure(QStringLiteral("  peak memory before the copy"), before, "MiB");
    figure(QStringLiteral("  peak memory after the copy"), peakMemoryMiB(), "MiB");

    // A till on the copy: storing an order with two lines and a customer (the store's part of a settle),
    // the shared counters' and totals' triggers included.
    if (!prepareDatabase(*target, &why)) {
        std::fprintf(stderr, "server copy: %s\n", qPrintable(why));
        return false;
    }
    StoredOrder order;
    order.time = QDateTime::currentDateTime();
    order.total = 21.5;
    order.toPay = 21.5;
    order.telephone = QStringLiteral("13900001111");
    order.customerName = QStringLiteral("顾客");
    order.address = QStringLiteral("幸福路 1 号");
    const QList<StoredLine> lines = {{QStringLiteral("空心菜"), 1, QStringLiteral("份"), 18},
                                     {QStringLiteral("王老吉"), 1, QStringLiteral("瓶"), 3.5}};
    int number = 0;
    figure(QStringLiteral("store an order on the server copy"),
           meanMs(200,
                  [&] {
                      order.number = ++number;
                      insertOrder(*target, order, lines, OrderNumber::Proposed);
                  }),
           "ms");

    // The same windows and reports as on the file, on a till whose home points at the copy.
    QTemporaryDir tillFolder;
    const Home till(tillFolder.path());
    if (!TillFile(till.tillPath()).setServer(setting)) {
        std::fprintf(stderr, "server copy: cannot write %s\n", qPrintable(till.tillPath()));
        return false;
    }
    std::printf("-- on the PostgreSQL copy --\n");
    benchMainWindowStart(till);
    benchHistory(till);
    benchReports(till);
    return true;
}

} // namespace qm::bench
