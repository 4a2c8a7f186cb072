#include "chartbench.h"

#include "benchutil.h"

#include "core/datetimetext.h"
#include "core/home.h"
#include "core/ui/qtplatform.h"
#include "reports/chartdata.h"
#include "reports/dayclosingsummary.h"
#include "reports/ui/chartview.h"
#include "reports/ui/dayclosing.h"
#include "store/closingstore.h"
#include "store/orderstore.h"

#include <QFont>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace qm::bench {

namespace {

PieChartFile twelveMonthPies() {
    PieChartFile chart;
    chart.backgroundSet = true;
    chart.background = rgbColour(213, 234, 255);
    for (PieChartSpec& pie : chart.pies) {
        pie.title = QStringLiteral("2026年 年收入参考");
        for (int m = 1; m <= 12; ++m) {
            pie.values.append(10000 + m * 731);
            pie.names.append(QStringLiteral("%1月").arg(m, 2, 10, QLatin1Char('0')));
            pie.colours.append(rgbColour(20 * m, 255 - 20 * m, 128));
        }
        pie.showNames = QList<bool>(12, true);
        pie.open = QList<bool>(12, false);
        pie.percentDisplay = QStringLiteral("num");
    }
    chart.pies[1].listX = 880;
    return chart;
}

LineChartWriter monthTrend() {
    LineChartWriter writer;
    writer.configure(standardTrendConfig(3000));
    writer.addParagraph(1, true, 0, false, 16, 45, 10, 500, QStringLiteral("2026年5月份 参考数据"));
    writer.addSeries(rgbColour(255, 0, 0), 2, rgbColour(255, 168, 255), QStringLiteral("月实付总额"));
    writer.addSeries(rgbColour(0, 0, 255), 2, rgbColour(0, 224, 128), QStringLiteral("月点单数量"));
    QStringList days, amounts, counts;
    for (int d = 1; d <= 31; ++d) {
        days << QStringLiteral("%1日").arg(d, 2, 10, QLatin1Char('0'));
        amounts << QString::number(1500 + d * 37.5);
        counts << QString::number(80 + d);
    }
    writer.setPeriods(days);
    writer.addValues(amounts);
    writer.addValues(counts);
    writer.addValues({});
    return writer;
}

// 500 orders of three lines each on `day`, inside the caller's transaction.
bool addBusyDay(const Database& db, const QDate& day) {
    const char* const payments[] = {"现金支付", "微信支付", "支付宝支付", "到付"};
    const char* const headers[] = {"美团(第1联)", "饿了么(第1联)", "自助快餐", "微信点餐"};
    for (int i = 0; i < 500; ++i) {
        const QDateTime time(day, QTime(10, 0).addSecs(i * 90));
        if (!db.exec(QStringLiteral(
                         "INSERT INTO 存单 (编号, 票头, 时间, 减免, 减免金额, 支付方式, 实付, 桌号, 地址) "
                         "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                     {i + 1, QString::fromUtf8(headers[i % 4]), isoText(time),
                      i % 7 == 0 ? QStringLiteral("立减优惠") : QString(), i % 7 == 0 ? 5.0 : 0.0,
                      QString::fromUtf8(payments[i % 4]), 40.0 + i % 13,
                      i % 2 ? QStringLiteral("号牌 3") : QString(),
                      i % 2 ? QString() : QStringLiteral("幸福路 %1 号").arg(i)}))
            return false;
        QSqlQuery id = db.prepare(QStringLiteral("SELECT last_insert_rowid()"));
        if (!id.exec() || !id.next())
            return false;
        QList<StoredLine> lines;
        for (int l = 0; l < 3; ++l)
            lines.append(
                {QStringLiteral("菜品%1").arg((i + l * 7) % 40), double(1 + l), QStringLiteral("份"), 12.0});
        QString error;
        if (!insertLines(db, id.value(0).toLongLong(), time, lines, error))
            return false;
    }
    return true;
}

} // namespace

void benchCharts(const Home& home) {
    QFont::insertSubstitution(QStringLiteral("宋体"), QStringLiteral("AR PL UMing CN"));
    QTemporaryDir temporary;
    // The pie data file goes to the temporary folder: this part's own while it runs, the usual one after
    // (a folder removed at the end would send later chart files elsewhere).
    struct TemporaryFolder {
        explicit TemporaryFolder(const QString& path)
            : m_was(qgetenv("TMPDIR"))
            , m_wasSet(qEnvironmentVariableIsSet("TMPDIR")) {
            qputenv("TMPDIR", QFile::encodeName(path));
        }
        ~TemporaryFolder() {
            if (m_wasSet)
                qputenv("TMPDIR", m_was);
            else
                qunsetenv("TMPDIR");
        }
        QByteArray m_was;
        bool m_wasSet;
    } ownFolder(temporary.path());
    const Home chartHome(temporary.path());
    const PieChartFile pies = twelveMonthPies();
    figure(QStringLiteral("pie chart data file, 2 x 12 slices, written"),
           meanMs(50, [&] { writePieChart(pies); }), "ms");
    figure(QStringLiteral("trend chart data file, 31 days, built and written"),
           meanMs(50, [&] { monthTrend().write(chartHome); }), "ms");

    ChartView view(chartHome);
    view.resize(954, 282);
    view.show();
    figure(QStringLiteral("chart view: pies read and drawn"),
           meanMs(20,
                  [&] {
                      view.navigate(ChartKind::Pie);
                      view.grab();
                  }),
           "ms");
    figure(QStringLiteral("chart view: trend read and drawn"),
           meanMs(20,
                  [&] {
                      view.navigate(ChartKind::Trend);
                      view.grab();
                  }),
           "ms");

    OpenedDatabase opened = openBenchDatabase(home, "chart bench");
    if (!opened.db)
        return;
    Database& db = *opened.db;
    const QDate day = QDate::currentDate().addYears(1);
    QSqlDatabase connection = db.connection();
    if (!connection.transaction() || !addBusyDay(db, day)) {
        std::fprintf(stderr, "chart bench: cannot add the busy day: %s\n", qPrintable(db.lastError()));
        connection.rollback();
        return;
    }
    DayClosing closing;
    figure(QStringLiteral("day closing, 500 orders: read and figures"),
           meanMs(20,
                  [&] {
                      const std::optional<ClosingRows> rows =
                          loadClosingRows(db, closingStart(day), closingEnd(day));
                      closing = computeDayClosing(*rows, day, QDateTime::currentDateTime());
                  }),
           "ms");
    figure(QStringLiteral("  orders on the day"), closing.orderCount, "orders");
    QtPlatform platform;
    qputenv("QUILLMENU_PRINT_PDF", temporary.filePath(QStringLiteral("closing.pdf")).toLocal8Bit());
    figure(QStringLiteral("day closing, 500 orders: read to the printed PDF"),
           meanMs(10, [&] { printDayClosing(nullptr, db, platform, home, day); }), "ms");
    qunsetenv("QUILLMENU_PRINT_PDF");
    connection.rollback();
}

} // namespace qm::bench
