#include "reportbench.h"

#include "benchutil.h"

#include "core/home.h"
#include "reports/incomereport.h"
#include "reports/reportchartfiles.h"
#include "reports/salesstatistics.h"
#include "reports/ui/chartview.h"
#include "reports/ui/reportgrid.h"
#include "store/database.h"
#include "store/salestotals.h"

#include <QDate>
#include <QDir>

#include <ctime>

namespace qm::bench {

namespace {

// The processor time of one run in milliseconds: on a machine shared with other work the wall time of a run
// also counts the time others hold the processor.
double cpuMs(int runs, const std::function<void()>& work) {
    const std::clock_t start = std::clock();
    for (int i = 0; i < runs; ++i)
        work();
    return double(std::clock() - start) * 1000.0 / CLOCKS_PER_SEC / runs;
}

struct Case {
    QString name;
    std::function<ReportOutcome()> build;
};

} // namespace

void benchReports(const Home& home) {
    OpenedDatabase opened = openBenchDatabase(home, "report bench");
    if (!opened.db)
        return;
    Database& db = *opened.db;
    // Last year is a full year of the generated orders.
    const int year = QDate::currentDate().year() - 1;
    const QString y = QString::number(year);
    const QString month = QStringLiteral("%1-06").arg(year);
    const QString day = QStringLiteral("%1年6月15日").arg(year);
    const QString dish = QStringLiteral("酸菜鱼");

    SalesState all;
    SalesState one;
    one.dish = dish;
    const QList<Case> cases = {
        {QStringLiteral("income report, year"), [&] { return yearReport(db, y); }},
        {QStringLiteral("income report, quarter 4"),
         [&] { return quarterReport(db, y, QStringLiteral("4")); }},
        {QStringLiteral("income report, month"), [&] { return monthReport(db, y, QStringLiteral("6")); }},
        {QStringLiteral("income report, day"), [&] { return dayReport(db, day); }},
        {QStringLiteral("sales statistic, year, all dishes"),
         [&] { return salesStatistic(db, all, SalesKind::Year, y, QStringLiteral("所有商品")); }},
        {QStringLiteral("sales statistic, year, one dish"),
         [&] { return salesStatistic(db, one, SalesKind::Year, y, dish); }},
        {QStringLiteral("sales statistic, month, all dishes"),
         [&] { return salesStatistic(db, all, SalesKind::Month, month, QStringLiteral("所有商品")); }},
        {QStringLiteral("sales statistic, month, one dish"),
         [&] { return salesStatistic(db, one, SalesKind::Month, month, dish); }},
        {QStringLiteral("sales statistic, day, all dishes"),
         [&] { return salesStatistic(db, all, SalesKind::Day, day, QStringLiteral("所有商品")); }},
        {QStringLiteral("sales statistic, day, one dish"),
         [&] { return salesStatistic(db, one, SalesKind::Day, day, dish); }},
    };

    // What the first opening of an older database by this version adds: the sales totals counted from
    // every line, here in a transaction rolled back afterwards.
    bool counted = false;
    figure(QStringLiteral("sales totals counted afresh from every line"),
           meanMs(1,
                  [&] {
                      db.transaction([&] {
                          counted = suspendSalesTotals(db) && ensureSalesTotals(db);
                          return false;
                      });
                  }),
           "ms");
    if (!counted)
        std::fprintf(stderr, "report bench: the sales totals could not be counted: %s\n",
                     qPrintable(db.lastError()));

    ReportGrid grid;
    grid.resize(936, 368);
    grid.show();
    ChartView view(home);
    view.resize(954, 282);
    view.show();
    for (const Case& c : cases) {
        ReportOutcome outcome;
        const double first = meanMs(1, [&] { outcome = c.build(); });
        auto fill = [&] {
            outcome = c.build();
            writeReportChartFiles(outcome, home);
            grid.showTable(outcome.table);
            grid.grab();
        };
        figure(c.name + QStringLiteral(": grid + data file"), meanMs(10, fill), "ms");
        figure(QStringLiteral("  the same, processor time"), cpuMs(10, fill), "ms");
        figure(QStringLiteral("  first run, query only"), first, "ms");
        figure(QStringLiteral("  query and table only, processor time"),
               cpuMs(10, [&] { outcome = c.build(); }), "ms");
        figure(QStringLiteral("  grid filled and drawn only, processor time"),
               cpuMs(10,
                     [&] {
                         grid.showTable(outcome.table);
                         grid.grab();
                     }),
               "ms");
        figure(QStringLiteral("  table rows"), outcome.table.rowCount(), "rows");
        if (outcome.chart != ReportChart::None) {
            const ChartKind kind = outcome.chart == ReportChart::Pies ? ChartKind::Pie : ChartKind::Trend;
            figure(QStringLiteral("  chart read and drawn"),
                   meanMs(10,
                          [&] {
                              view.navigate(kind);
                              view.grab();
                          }),
                   "ms");
        }
    }
}

} // namespace qm::bench
