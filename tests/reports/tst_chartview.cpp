#include "core/home.h"
#include "reports/chartdata.h"
#include "reports/ui/chartview.h"

#include <QApplication>
#include <QChart>
#include <QDir>
#include <QFile>
#include <QLegend>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QTemporaryDir>
#include <QTest>
#include <QToolTip>
#include <QValueAxis>

using namespace qm;

namespace {

bool copyOver(const QString& from, const QString& to) {
    QDir().mkpath(QFileInfo(to).path());
    QFile::remove(to);
    return QFile::copy(from, to);
}

bool writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// With CHART_SHOTS=folder the view is saved as a picture, to look at.
void keepPicture(QWidget& view, const QString& name) {
    const QString folder = qEnvironmentVariable("CHART_SHOTS");
    if (folder.isEmpty())
        return;
    view.grab().save(QDir(folder).filePath(name));
}

} // namespace

// The chart view draws what the data files hold; files it cannot use show an empty chart.
class ChartViewTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temp;

private slots:
    void initTestCase() {
        QVERIFY(m_temp.isValid());
        qputenv("TMPDIR", QFile::encodeName(m_temp.path()));
    }

    void piesFromTheirFile() {
        QTemporaryDir dir;
        ChartView view{Home(dir.path())};
        view.resize(954, 282);
        QVERIFY(copyOver(QFINDTESTDATA("golden/piedata.xml"), pieChartPath()));
        view.navigate(ChartKind::Pie);

        QCOMPARE(view.shownKind(), ChartKind::Pie);
        QVERIFY(!view.isEmptyChart());
        for (int i = 0; i < 2; ++i) {
            QChart* chart = view.chart(i);
            QVERIFY(chart);
            QCOMPARE(chart->series().size(), 1);
            auto* pie = qobject_cast<QPieSeries*>(chart->series().first());
            QVERIFY(pie);
            QCOMPARE(pie->count(), 3);
            QCOMPARE(pie->slices().at(2)->brush().color(), QColor(46, 73, 241));
            QCOMPARE(chart->backgroundBrush().color(), QColor(213, 234, 255));
        }
        QCOMPARE(view.chart(0)->title(), QStringLiteral("2026年 年收入参考"));
        QCOMPARE(qobject_cast<QPieSeries*>(view.chart(0)->series().first())->slices().at(0)->value(), 1200.0);
        QVERIFY(qobject_cast<QPieSeries*>(view.chart(0)->series().first())->slices().at(0)->isExploded());
        // Pie 1 with its values on the slices, pie 2 with the list of names beside it.
        QVERIFY(qobject_cast<QPieSeries*>(view.chart(0)->series().first())->slices().at(0)->isLabelVisible());
        QVERIFY(!view.chart(0)->legend()->isVisible());
        QVERIFY(view.chart(1)->legend()->isVisible());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        keepPicture(view, QStringLiteral("pies.png"));
    }

    void trendFromItsFile() {
        QTemporaryDir dir;
        const Home home(dir.path());
        ChartView view{home};
        view.resize(954, 282);
        QVERIFY(copyOver(QFINDTESTDATA("golden/line-chart.xml"), lineChartPath(home)));
        view.navigate(ChartKind::Trend);

        QCOMPARE(view.shownKind(), ChartKind::Trend);
        QVERIFY(!view.isEmptyChart());
        QVERIFY(!view.chart(1));
        QChart* chart = view.chart(0);
        QCOMPARE(chart->title(), QStringLiteral("2026年5月份 参考数据"));
        QCOMPARE(chart->series().size(), 2);
        auto* income = qobject_cast<QLineSeries*>(chart->series().at(0));
        QVERIFY(income);
        QCOMPARE(income->name(), QStringLiteral("月实付总额"));
        QCOMPARE(income->count(), 3);
        QCOMPARE(income->at(0).y(), 250.5);
        QCOMPARE(income->pen().color(), QColor(255, 0, 0));
        QCOMPARE(income->pen().width(), 2);
        auto* y = qobject_cast<QValueAxis*>(chart->axes(Qt::Vertical).first());
        QVERIFY(y);
        // Ticks every 60 up to the file's 300; the range a little above it leaves room for a top marker.
        QCOMPARE(y->tickType(), QValueAxis::TicksDynamic);
        QCOMPARE(y->tickAnchor(), 0.0);
        QCOMPARE(y->tickInterval(), 60.0);
        QVERIFY(y->max() > 300.0 && y->max() < 330.0);
        QVERIFY(chart->legend()->isVisible());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        keepPicture(view, QStringLiteral("trend.png"));

        // The pointer over the line near the second day shows that day's value.
        emit income->hovered(QPointF(1.2, 60), true);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("04日 月实付总额：20"));
        emit income->hovered(QPointF(1.2, 60), false);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    // What the writers give for a full year and a full month comes back whole: twelve slices a pie, 31 days.
    void writersToView() {
        QTemporaryDir dir;
        const Home home(dir.path());
        PieChartFile pies;
        pies.backgroundSet = true;
        pies.background = rgbColour(213, 234, 255);
        for (PieChartSpec& pie : pies.pies) {
            pie.title = QStringLiteral("2026年 年收入参考");
            for (int m = 1; m <= 12; ++m) {
                pie.values.append(1000 + m * 173);
                pie.names.append(QStringLiteral("%1月").arg(m, 2, 10, QLatin1Char('0')));
                pie.colours.append(rgbColour(20 * m, 250 - 20 * m, 128));
            }
            pie.showNames = QList<bool>(12, true);
            pie.open = QList<bool>(12, true);
            pie.percentDisplay = QStringLiteral("num");
        }
        QVERIFY(writePieChart(pies));
        LineChartWriter trend;
        trend.configure(standardTrendConfig(3000));
        trend.addParagraph(1, true, 0, false, 16, 45, 10, 500, QStringLiteral("2026年5月份 参考数据"));
        trend.addSeries(rgbColour(255, 0, 0), 2, rgbColour(255, 168, 255), QStringLiteral("月实付总额"));
        trend.addSeries(rgbColour(0, 0, 255), 2, rgbColour(0, 224, 128), QStringLiteral("月点单数量"));
        QStringList days, amounts, counts;
        for (int d = 1; d <= 31; ++d) {
            days << QStringLiteral("%1日").arg(d, 2, 10, QLatin1Char('0'));
            amounts << QString::number(1500 + (d % 7) * 187.5);
            counts << QString::number(80 + d);
        }
        trend.setPeriods(days);
        trend.addValues(amounts);
        trend.addValues(counts);
        trend.addValues({});
        QVERIFY(trend.write(home));

        ChartView view{home};
        view.resize(954, 282);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
        view.navigate(ChartKind::Pie);
        QCOMPARE(qobject_cast<QPieSeries*>(view.chart(1)->series().first())->count(), 12);
        keepPicture(view, QStringLiteral("pies-year.png"));
        view.navigate(ChartKind::Trend);
        QCOMPARE(qobject_cast<QLineSeries*>(view.chart(0)->series().at(1))->count(), 31);
        QCOMPARE(qobject_cast<QLineSeries*>(view.chart(0)->series().at(1))->at(30).y(), 111.0);
        keepPicture(view, QStringLiteral("trend-month.png"));
    }

    // Files that are well formed but odd: no periods or series, slices that are all 0 or below, values that
    // are no numbers. Drawn without a crash; what is not a number counts as 0.
    void oddContentIsDrawn() {
        QTemporaryDir dir;
        const Home home(dir.path());
        ChartView view{home};
        view.resize(954, 282);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        LineChartWriter bare;
        bare.configure(standardTrendConfig(0));
        QVERIFY(bare.write(home));
        view.navigate(ChartKind::Trend);
        QVERIFY(!view.isEmptyChart());
        QVERIFY(view.chart(0)->series().isEmpty());
        view.grab();

        LineChartWriter odd;
        odd.configure(standardTrendConfig(-5));
        odd.addSeries(rgbColour(255, 0, 0), 2, 0, QStringLiteral("额"));
        odd.setPeriods({QStringLiteral("a"), QStringLiteral("b")});
        odd.addValues({QStringLiteral("nan"), QStringLiteral("1e308")});
        QVERIFY(odd.write(home));
        view.navigate(ChartKind::Trend);
        auto* series = qobject_cast<QLineSeries*>(view.chart(0)->series().first());
        QCOMPARE(series->at(0).y(), 0.0);
        QCOMPARE(series->at(1).y(), 1e308);
        view.grab();

        PieChartFile pies;
        pies.pies[0].values = {0, 0};
        pies.pies[0].names = {QStringLiteral("甲"), QStringLiteral("乙")};
        pies.pies[0].showNames = {true, true};
        pies.pies[0].percentDisplay = QStringLiteral("all");
        pies.pies[1].values = {-5, 3};
        QVERIFY(writePieChart(pies));
        view.navigate(ChartKind::Pie);
        QVERIFY(!view.isEmptyChart());
        const QPieSlice* zero = qobject_cast<QPieSeries*>(view.chart(0)->series().first())->slices().first();
        QCOMPARE(zero->label(), QStringLiteral("甲 0 (0.0%)"));
        QCOMPARE(qobject_cast<QPieSeries*>(view.chart(1)->series().first())->slices().first()->value(), 0.0);
        view.grab();
    }

    void unusableFilesShowAnEmptyChart_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("present");
        for (const int kind : {int(ChartKind::Pie), int(ChartKind::Trend)}) {
            const char* name = kind == int(ChartKind::Pie) ? "pie" : "trend";
            QTest::addRow("%s missing", name) << kind << QByteArray() << false;
            QTest::addRow("%s empty", name) << kind << QByteArray() << true;
            QTest::addRow("%s malformed", name) << kind << QByteArray("<lineChart><drawpie>&&") << true;
            QTest::addRow("%s binary", name) << kind << QByteArray("\x00\xFF\xFE<\x01", 5) << true;
        }
    }
    void unusableFilesShowAnEmptyChart() {
        QFETCH(int, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, present);
        QTemporaryDir dir;
        const Home home(dir.path());
        ChartView view{home};
        // Something on show first: the bad file must replace it.
        QVERIFY(copyOver(QFINDTESTDATA("golden/line-chart.xml"), lineChartPath(home)));
        view.navigate(ChartKind::Trend);
        QVERIFY(!view.isEmptyChart());

        const ChartKind chart = ChartKind(kind);
        const QString path = chart == ChartKind::Pie ? pieChartPath() : lineChartPath(home);
        QFile::remove(path);
        if (present)
            QVERIFY(writeBytes(path, bytes));
        view.navigate(chart);
        QCOMPARE(view.shownKind(), chart);
        QVERIFY(view.isEmptyChart());
        QVERIFY(view.chart(0)->series().isEmpty());
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));
    }
};

QTEST_MAIN(ChartViewTest)
#include "tst_chartview.moc"
