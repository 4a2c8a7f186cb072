#include "historybench.h"

#include "benchutil.h"

#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "history/csvexport.h"
#include "history/pagedbrowser.h"
#include "history/ui/historywindow.h"
#include "store/database.h"
#include "store/orderhistorystore.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>

namespace qm::bench {

namespace {

// The resident memory of this process in kB.
qint64 residentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

// Processor time (user and system) used by this process so far.
double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void benchFilter(const Database& db, const QString& name, const OrderFilter& filter) {
    OrderHistoryTable table(db);
    table.setFilter(filter);
    PagedBrowser browser(table);
    const PageView last = browser.show(lastPage);
    figure(QStringLiteral("history %1: count, sums and page 1").arg(name),
           meanMs(20, [&] { browser.show(1); }), "ms");
    const qint64 middle = std::max<qint64>(1, last.pageCount / 2);
    figure(QStringLiteral("history %1: page %2 (middle)").arg(name).arg(middle),
           meanMs(20, [&] { browser.show(middle); }), "ms");
    figure(QStringLiteral("history %1: last page %2").arg(name).arg(last.pageCount),
           meanMs(20, [&] { browser.show(lastPage); }), "ms");
    figure(QStringLiteral("  orders"), last.totals.count, "orders");
}

} // namespace

void benchHistory(const Home& home) {
    OpenedDatabase opened = openBenchDatabase(home, "history bench");
    if (!opened.db)
        return;
    Database& db = *opened.db;
    QtPlatform platform;

    figure(QStringLiteral("history window opening (count, sums, page 1)"),
           meanMs(10, [&] { HistoryWindow window(db, platform, OrderHandOff{}); }), "ms");

    OrderHistoryTable table(db);
    table.setFilter({OrderFilter::Kind::TakeAway, {}, {}, {}});
    const QString telephone = table.page(table.totals()->count - 1, 1)->value(0).value(6).toString();
    const QDate today = QDate::currentDate();
    benchFilter(db, QStringLiteral("all"), {});
    benchFilter(db, QStringLiteral("take-away"), {OrderFilter::Kind::TakeAway, {}, {}, {}});
    benchFilter(db, QStringLiteral("eat-in"), {OrderFilter::Kind::DineIn, {}, {}, {}});
    benchFilter(db, QStringLiteral("one customer"), OrderFilter::customer(telephone));
    benchFilter(db, QStringLiteral("today"), OrderFilter::days(today, today));
    benchFilter(db, QStringLiteral("last year"), OrderFilter::days(today.addYears(-1), today));
    benchFilter(db, QStringLiteral("ten years"), OrderFilter::days(today.addYears(-11), today));

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("orders.csv"));
    const qint64 before = residentKb();
    qint64 highest = before;
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = cpuSeconds();
    const CsvExportResult result = exportOrdersCsv(db, {}, {allOrdersLabel, {}}, path, [&](qint64) {
        highest = std::max(highest, residentKb());
        return true;
    });
    figure(QStringLiteral("CSV export of all orders"), double(timer.nsecsElapsed()) / 1e6, "ms");
    figure(QStringLiteral("  processor time of the export"), (cpuSeconds() - cpuBefore) * 1000, "ms");
    figure(QStringLiteral("  lines written"), result.lines, "lines");
    figure(QStringLiteral("  file size"), QFileInfo(path).size() / 1048576.0, "MB");
    figure(QStringLiteral("  memory growth during the export"), (highest - before) / 1024.0, "MB");
}

} // namespace qm::bench
