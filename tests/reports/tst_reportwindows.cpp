#include "reportfixture.h"

#include "reports/chartcapability.h"
#include "reports/chartdata.h"
#include "reports/reportchartfiles.h"
#include "reports/ui/chartview.h"
#include "reports/ui/incomereportwindow.h"
#include "reports/ui/salesstatisticswindow.h"
#include "support/fakeplatform.h"
#include "support/heldlock.h"
#include "support/temphome.h"

#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPieSeries>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

using namespace qm;

namespace {

// The pickers the window opens, each handled by the next script in turn.
struct PickerScripts {
    QList<std::function<void(QDialog&)>> scripts;
    int run = 0;
    RunModal runner() {
        return [this](QDialog& picker) { scripts.at(run++)(picker); };
    }
};

void choose(QDialog& picker, const char* list, const QString& text) {
    auto* box = picker.findChild<QComboBox*>(QString::fromUtf8(list));
    QVERIFY(box);
    box->setCurrentIndex(box->findText(text));
    QCOMPARE(box->currentText(), text);
}

void click(QWidget& window, const char* button) {
    auto* b = window.findChild<QPushButton*>(QString::fromUtf8(button));
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton);
}

void trigger(QWidget& window, const char* menu, const QString& item) {
    auto* m = window.findChild<QMenu*>(QString::fromUtf8(menu));
    QVERIFY(m);
    for (QAction* action : m->actions()) {
        if (action->text() == item) {
            action->trigger();
            return;
        }
    }
    QFAIL("no such menu item");
}

QTableWidget* grid(QWidget& window) {
    return window.findChild<QTableWidget*>(QStringLiteral("高级表格1"));
}

QString cell(QWidget& window, int row, int column) {
    QTableWidgetItem* item = grid(window)->item(row, column);
    return item ? item->text() : QString();
}

ChartView* chartView(QWidget& window) {
    return window.findChild<ChartView*>();
}

qint64 fileSize(const QString& path) {
    return QFileInfo(path).exists() ? QFileInfo(path).size() : -1;
}

QString status(QWidget& window) {
    return window.findChild<QLabel*>(QStringLiteral("透明标签7"))->text();
}

} // namespace

class ReportWindowsTest : public QObject {
    Q_OBJECT

    // The pie data file lives in the temporary folder: each run of this test has its own.
    QTemporaryDir m_temp;

private slots:
    void initTestCase() { qputenv("TMPDIR", m_temp.path().toLocal8Bit()); }
    void init() { salesState() = {}; }

    // The current year without orders: the message at once, the title and header rows alone.
    void incomeOpensOnTheCurrentYear() {
        TempHome home;
        FakePlatform platform;
        addOrder(home.db(), at(2025, 7, 1), 10);
        IncomeReportWindow window(home.db(), platform, home.home());
        QCOMPARE(window.windowTitle(), QStringLiteral("收入报表"));
        QCOMPARE(platform.shown.size(), 1);
        QCOMPARE(platform.shown[0].text, QStringLiteral("没有找到对应时间内的点单数据。"));
        QCOMPARE(platform.shown[0].icon, MessageIcon::Information);
        QCOMPARE(platform.shown[0].caption, QStringLiteral("提示"));
        QCOMPARE(grid(window)->rowCount(), 2);
        QCOMPARE(cell(window, 0, 0), QStringLiteral("2026年 年报表"));
        QCOMPARE(grid(window)->columnSpan(0, 0), 4);
        QCOMPARE(cell(window, 1, 3), QStringLiteral("平均点单价格"));
        QCOMPARE(status(window), QStringLiteral("正在浏览:2026年 年报表"));
    }

    // A picker stays open while the chosen period has no orders and closes on one that has; cancel changes
    // nothing.
    void incomePickersStayOpenOnEmptyPeriods() {
        TempHome home;
        FakePlatform platform;
        addOrder(home.db(), at(2026, 2, 10), 10);
        addOrder(home.db(), at(2024, 11, 5, 9), 25.5);
        PickerScripts pickers;
        IncomeReportWindow window(home.db(), platform, home.home(), pickers.runner());
        QCOMPARE(platform.shown.size(), 0);
        QCOMPARE(cell(window, 2, 0), QStringLiteral("2026-02"));
        QCOMPARE(grid(window)->item(2, 1)->foreground().color(), QColor(255, 0, 0));
        QCOMPARE(grid(window)->item(2, 2)->foreground().color(), QColor(0, 0, 255));

        int resultAfterEmpty = -1;
        pickers.scripts << [&](QDialog& picker) {
            QCOMPARE(picker.windowTitle(), QStringLiteral("请选择指定时间段"));
            choose(picker, "组合框_年选择1", QStringLiteral("3"));
            auto* year = picker.findChild<QComboBox*>("组合框_年选择");
            QCOMPARE(year->currentText(), QStringLiteral("2026"));
            picker.show();
            QVERIFY(QTest::qWaitForWindowActive(&picker));
            click(picker, "按钮2");
            resultAfterEmpty = picker.result();
            // The year list has the focus again, so typing the next year changes it.
            QCOMPARE(picker.focusWidget(), year);
            QCOMPARE(status(window), QStringLiteral("正在浏览:2026年3月 月报表"));
            choose(picker, "组合框_年选择", QStringLiteral("2026"));
            choose(picker, "组合框_年选择1", QStringLiteral("2"));
            click(picker, "按钮2");
        };
        trigger(window, "报表类型", QStringLiteral("月报表"));
        QCOMPARE(resultAfterEmpty, 0);
        QCOMPARE(platform.texts(), QStringList({"没有找到对应时间内的点单数据。"}));
        QCOMPARE(cell(window, 0, 0), QStringLiteral("2026年2月 月报表"));
        QCOMPARE(cell(window, 2, 0), QStringLiteral("2026-02-10"));

        pickers.scripts << [&](QDialog& picker) {
            choose(picker, "组合框_年选择", QStringLiteral("2024"));
            click(picker, "按钮_取消");
        };
        trigger(window, "报表类型", QStringLiteral("年度报表"));
        QCOMPARE(cell(window, 0, 0), QStringLiteral("2026年2月 月报表"));

        pickers.scripts << [&](QDialog& picker) {
            QCOMPARE(picker.windowTitle(), QStringLiteral("请选择指定日期"));
            auto* date = picker.findChild<QDateEdit*>("日期框1");
            QCOMPARE(date->date(), QDate(2026, 3, 14));
            date->setDate(QDate(2024, 11, 5));
            click(picker, "按钮_确认");
            QCOMPARE(picker.result(), int(QDialog::Accepted));
        };
        trigger(window, "报表类型", QStringLiteral("日报表"));
        QCOMPARE(cell(window, 0, 0), QStringLiteral("2024年11月5日 点单报表"));
        QCOMPARE(cell(window, 2, 0), QStringLiteral("2024年11月5日9时"));
        QCOMPARE(cell(window, 2, 2), QStringLiteral("25.5"));
        QVERIFY(window.findChild<QPushButton*>("按钮_打印日结")->isVisibleTo(&window));
        window.findChild<QPushButton*>("按钮_打印日结")->click(); // the print dialog is cancelled
        QCOMPARE(platform.printRequests.size(), 1);
        QVERIFY(!window.findChild<QWidget*>("超文本浏览框1")->isVisibleTo(&window));
    }

    // Year and quarter reports write the pies, the month report the trend chart, and the view draws them;
    // a quarter without orders empties the pie file first and shows the pies without slices.
    void incomeChartsFollowTheReports() {
        TempHome home;
        FakePlatform platform;
        addOrder(home.db(), at(2026, 1, 2), 10);
        addOrder(home.db(), at(2026, 2, 5), 30);
        IncomeReportWindow window(home.db(), platform, home.home());
        QCOMPARE(chartView(window)->shownKind(), ChartKind::Pie);
        QVERIFY(!chartView(window)->isEmptyChart());
        QFile pies(pieChartPath());
        QVERIFY(pies.open(QIODevice::ReadOnly));
        QVERIFY(pies.readAll().contains("<pie_num>10,30</pie_num>"));
        pies.close();

        QVERIFY(window.showMonth(QStringLiteral("2026"), QStringLiteral("2")));
        QCOMPARE(chartView(window)->shownKind(), ChartKind::Trend);
        QVERIFY(!chartView(window)->isEmptyChart());
        QVERIFY(fileSize(lineChartPath(home.home())) > 0);

        // The emptied quarter still shows its two pies' titles on their background, without slices.
        QVERIFY(!window.showQuarter(QStringLiteral("2026"), QStringLiteral("3")));
        QCOMPARE(fileSize(pieChartPath()), 0);
        QCOMPARE(chartView(window)->shownKind(), ChartKind::Pie);
        const QStringList titles{QStringLiteral("2026年3季度收入参考"),
                                 QStringLiteral("2026年3季度开单数量参考")};
        for (int i = 0; i < 2; ++i) {
            const QChart* chart = chartView(window)->chart(i);
            QVERIFY(chart);
            QCOMPARE(chart->title(), titles[i]);
            QCOMPARE(chart->backgroundBrush().color(), QColor(213, 234, 255));
            QCOMPARE(chart->series().size(), 1);
            QCOMPARE(static_cast<const QPieSeries*>(chart->series().first())->count(), 0);
        }

        // The day report hides the chart; a year without orders leaves the chart as it was.
        QVERIFY(window.showDay(QStringLiteral("2026年2月5日")));
        QVERIFY(!window.findChild<QWidget*>("超文本浏览框1")->isVisibleTo(&window));
        QVERIFY(window.showYear(QStringLiteral("2026")));
        QVERIFY(!window.showYear(QStringLiteral("2019")));
        QVERIFY(!chartView(window)->isEmptyChart());
    }

    // The pies of the year and quarter reports differ in the first pie's place and the open slices.
    void pieChartPlacement() {
        IncomePies pies;
        pies.labels = {QStringLiteral("05月")};
        pies.incomes = {100};
        pies.counts = {3};
        const PieChartFile year = incomePieChart(pies);
        QCOMPARE(year.background, rgbColour(213, 234, 255));
        QCOMPARE(year.pies[0].titleX, 140);
        QCOMPARE(year.pies[0].centreX, 210);
        QCOMPARE(year.pies[0].open, QList<bool>(12, true));
        QCOMPARE(year.pies[0].colours.size(), 12);
        QCOMPARE(year.pies[1].values, QList<qint64>({3}));
        QCOMPARE(year.pies[1].listX, 880);
        pies.quarter = true;
        const PieChartFile quarter = incomePieChart(pies);
        QCOMPARE(quarter.pies[0].titleX, 100);
        QCOMPARE(quarter.pies[0].centreX, 190);
        QCOMPARE(quarter.pies[1].open, QList<bool>(12, false));
    }

    // Another program holding the database: the report says the orders could not be read, not that the
    // period has none, and shows again once the lock is gone.
    void lockedDatabaseIsTold() {
        TempHome home;
        FakePlatform platform;
        addOrder(home.db(), at(2026, 1, 2), 10);
        IncomeReportWindow window(home.db(), platform, home.home());
        home.db().setBusyTime(50);
        HeldLock lock(home.db());
        QVERIFY(!window.showMonth(QStringLiteral("2026"), QStringLiteral("1")));
        QCOMPARE(platform.shown.last().icon, MessageIcon::Warning);
        QVERIFY(platform.shown.last().text.startsWith(QStringLiteral("无法读取点单数据，报表没有生成。")));
        QVERIFY(platform.shown.last().text.contains(QStringLiteral("数据库被其他程序占用")));
        lock.release();
        QVERIFY(window.showMonth(QStringLiteral("2026"), QStringLiteral("1")));
    }

    // The trend chart of a month report, byte for byte as the hand-made file of the chart format.
    void trendChartMatchesTheGoldenFile() {
        TrendChart trend;
        trend.yMaximum = 300;
        trend.paragraph = QStringLiteral("2026年5月份 参考数据");
        trend.amountSeries = QStringLiteral("月实付总额");
        trend.countSeries = QStringLiteral("月点单数量");
        trend.periods = QStringList({"03日", "04日", "05日"});
        trend.amounts = QStringList({"250.5", "20", "30"});
        trend.counts = QStringList({"3", "1"});
        QFile golden(QFINDTESTDATA("golden/line-chart.xml"));
        QVERIFY(golden.open(QIODevice::ReadOnly));
        QCOMPARE(trendChartWriter(trend).document(), golden.readAll());
    }

    // Charts that cannot be shown: the question when the window opens; the report is built all the same.
    void chartsUnavailableAsksAndStillReports() {
        TempHome home;
        FakePlatform platform;
        addOrder(home.db(), at(2026, 1, 2), 10);
        overrideChartsAvailable(false);
        platform.yesNoAnswers.enqueue(true);
        IncomeReportWindow window(home.db(), platform, home.home());
        overrideChartsAvailable(std::nullopt);
        QCOMPARE(platform.shown.size(), 1);
        QCOMPARE(platform.shown[0].kind, FakePlatform::Kind::Question);
        QCOMPARE(platform.shown[0].icon, MessageIcon::Warning);
        QCOMPARE(platform.openedUrls, QList<QUrl>({chartSupportPage()}));
        QCOMPARE(cell(window, 2, 0), QStringLiteral("2026-01"));
    }

    // The sales pickers close before the statistic runs; the type list reruns the kind last run for its
    // remembered period and ignores the wheel; reopening shows the yearly statistic and keeps the kind.
    void salesRoutingAndTypeList() {
        TempHome home;
        FakePlatform platform;
        addOrder(home.db(), at(2025, 5, 3), 0, {{QStringLiteral("酸菜鱼"), 2, QStringLiteral("份"), 32}});
        addOrder(home.db(), at(2025, 5, 4), 0, {{QStringLiteral("王老吉"), 1, QStringLiteral("瓶"), 3.5}});
        PickerScripts pickers;
        {
            SalesStatisticsWindow window(home.db(), platform, home.home(), salesState(), pickers.runner());
            QCOMPARE(platform.texts(), QStringList({"没有找到对应时间内的点单数据。"}));
            QCOMPARE(cell(window, 0, 0), QStringLiteral("2026年 所有商品销售表"));
            auto* type = window.findChild<QComboBox*>("组合框_票头");
            QCOMPARE(type->itemText(0), QStringLiteral("所有商品"));
            QCOMPARE(type->itemText(1), QStringLiteral("红烧排骨饭"));

            pickers.scripts << [&](QDialog& picker) {
                choose(picker, "组合框_年选择", QStringLiteral("2025"));
                choose(picker, "组合框_年选择1", QStringLiteral("6"));
                click(picker, "按钮2");
                QCOMPARE(picker.result(), int(QDialog::Accepted)); // closed although June has no sales
            };
            trigger(window, "统计方式", QStringLiteral("月销售统计"));
            QCOMPARE(cell(window, 0, 0), QStringLiteral("2025-06月 所有商品销售表"));
            pickers.scripts << [&](QDialog& picker) {
                choose(picker, "组合框_年选择", QStringLiteral("2025"));
                choose(picker, "组合框_年选择1", QStringLiteral("5"));
                click(picker, "按钮2");
            };
            trigger(window, "统计方式", QStringLiteral("月销售统计"));
            QCOMPARE(cell(window, 2, 0), QStringLiteral("03日"));
            QCOMPARE(cell(window, 3, 0), QStringLiteral("04日"));

            type->setCurrentIndex(type->findText(QStringLiteral("酸菜鱼")));
            QCOMPARE(cell(window, 0, 0), QStringLiteral("2025-05月 酸菜鱼销售表"));
            QCOMPARE(grid(window)->rowCount(), 6);
            QCOMPARE(cell(window, 2, 2), QStringLiteral("32"));

            QWheelEvent wheel(QPointF(5, 5), type->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120),
                              Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(type, &wheel);
            QCOMPARE(type->currentText(), QStringLiteral("酸菜鱼"));
        }
        // A year without sales empties the trend chart's data file.
        QVERIFY(fileSize(lineChartPath(home.home())) > 0);
        SalesStatisticsWindow reopened(home.db(), platform, home.home(), salesState(), pickers.runner());
        QCOMPARE(cell(reopened, 0, 0), QStringLiteral("2026年 所有商品销售表"));
        QCOMPARE(fileSize(lineChartPath(home.home())), 0);
        QCOMPARE(salesState().kind, SalesKind::Month);
        auto* type = reopened.findChild<QComboBox*>("组合框_票头");
        type->setCurrentIndex(type->findText(QStringLiteral("王老吉")));
        QCOMPARE(cell(reopened, 0, 0), QStringLiteral("2025-05月 王老吉销售表"));
        QCOMPARE(cell(reopened, 2, 0), QStringLiteral("04日"));
    }
};

QTEST_MAIN(ReportWindowsTest)
#include "tst_reportwindows.moc"
