// The chart module: the chart view's drawing with Qt Charts, built as a library of its own and loaded by
// the program when the first chart is drawn (reports/chartcapability.h finds and loads it).
#include "reports/chartread.h"
#include "reports/ui/chartdrawer.h"

#include <QBarCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QGraphicsLayout>
#include <QHBoxLayout>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QToolTip>
#include <QValueAxis>

#include <cmath>

namespace qm {

namespace {

QChart* newChart() {
    auto* chart = new QChart();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->legend()->hide();
    chart->setMargins(QMargins(4, 2, 4, 2));
    chart->layout()->setContentsMargins(0, 0, 0, 0);
    chart->setBackgroundRoundness(0);
    return chart;
}

QColor orDefault(const QColor& colour, const QColor& fallback) {
    return colour.isValid() ? colour : fallback;
}

QString valueText(double value) {
    return QString::number(value, 'g', 13);
}

QString sliceLabel(const PieSliceData& slice, const QString& display, double percentage) {
    const QString percent = QString::number(percentage * 100, 'f', 1) + QLatin1Char('%');
    if (display == QLatin1String("all"))
        return QStringLiteral("%1 %2 (%3)").arg(slice.name, valueText(slice.value), percent);
    if (display == QLatin1String("num"))
        return QStringLiteral("%1 %2").arg(slice.name, valueText(slice.value));
    if (display == QLatin1String("font"))
        return slice.name;
    return {};
}

// The text every period name ends with after its number ("日" in 01日 .. 31日); empty when they differ.
QString sharedUnit(const QStringList& periods) {
    if (periods.isEmpty())
        return {};
    const QString& first = periods.first();
    qsizetype digits = 0;
    while (digits < first.size() && first.at(digits).isDigit())
        ++digits;
    const QString unit = first.mid(digits);
    if (digits == 0 || unit.isEmpty())
        return {};
    for (const QString& period : periods) {
        bool number = false;
        if (period.endsWith(unit))
            period.chopped(unit.size()).toInt(&number);
        if (!number)
            return {};
    }
    return unit;
}

QChart* pieChart(const PieData& pie, const QColor& background) {
    QChart* chart = newChart();
    chart->setBackgroundBrush(background);
    chart->setTitle(pie.title);
    QFont titleFont = chart->titleFont();
    titleFont.setPixelSize(std::max(8, pie.titleSize));
    titleFont.setBold(pie.titleBold);
    chart->setTitleFont(titleFont);
    chart->setTitleBrush(orDefault(pie.titleColour, Qt::black));

    auto* series = new QPieSeries();
    series->setPieSize(0.58);
    for (const PieSliceData& data : pie.slices) {
        QPieSlice* slice = series->append(data.name, std::max(0.0, data.value));
        if (data.colour.isValid())
            slice->setBrush(data.colour);
        slice->setPen(QPen(background.lighter(110), 1));
        slice->setLabelColor(orDefault(pie.textColour, Qt::black));
        slice->setExploded(data.open);
        slice->setExplodeDistanceFactor(0.06);
    }
    chart->addSeries(series);
    // Labels once the percentages are known.
    const QList<QPieSlice*> slices = series->slices();
    for (qsizetype i = 0; i < slices.size(); ++i) {
        const double share = slices.at(i)->percentage(); // not a number when every slice is 0
        const QString label =
            sliceLabel(pie.slices.at(i), pie.percentDisplay, std::isfinite(share) ? share : 0);
        // The slice keeps its name where the display shows none; the list beside the pie uses it.
        slices.at(i)->setLabel(label.isEmpty() ? pie.slices.at(i).name : label);
        slices.at(i)->setLabelVisible(pie.slices.at(i).showName && !label.isEmpty());
    }
    // The list beside the pie names every slice with its colour.
    if (pie.showList) {
        chart->legend()->show();
        chart->legend()->setAlignment(Qt::AlignRight);
        chart->legend()->setLabelColor(orDefault(pie.listTextColour, Qt::black));
        // Twelve months have to fit beside the pie in the view's height.
        QFont font = chart->legend()->font();
        font.setPixelSize(11);
        chart->legend()->setFont(font);
        chart->legend()->setMarkerShape(QLegend::MarkerShapeRectangle);
        const QList<QLegendMarker*> markers = chart->legend()->markers(series);
        for (qsizetype i = 0; i < markers.size() && i < pie.slices.size(); ++i)
            markers.at(i)->setLabel(pie.slices.at(i).name);
    }
    return chart;
}

} // namespace

// Two chart views side by side: the two pies, or the trend chart alone in the left one.
class QtChartsDrawer : public QWidget, public ChartDrawer {
public:
    explicit QtChartsDrawer(QWidget* parent);

    QWidget* widget() override { return this; }
    void showEmpty(ChartKind kind) override;
    void showPies(const PieChartData& data) override;
    void showTrend(const TrendChartData& data) override;
    QChart* chart(int index) const override;

private:
    void setCharts(QChart* first, QChart* second);

    ChartKind m_kind = ChartKind::Pie;
    QChartView* m_left = nullptr;
    QChartView* m_right = nullptr;
};

QtChartsDrawer::QtChartsDrawer(QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_left = new QChartView(newChart(), this);
    m_right = new QChartView(newChart(), this);
    for (QChartView* view : {m_left, m_right}) {
        view->setRenderHint(QPainter::Antialiasing);
        view->setContentsMargins(0, 0, 0, 0);
        view->setFrameShape(QFrame::NoFrame);
        layout->addWidget(view);
    }
}

QChart* QtChartsDrawer::chart(int index) const {
    if (index == 0)
        return m_left->chart();
    if (index == 1 && m_kind == ChartKind::Pie)
        return m_right->chart();
    return nullptr;
}

void QtChartsDrawer::setCharts(QChart* first, QChart* second) {
    const auto replace = [](QChartView* view, QChart* chart) {
        QChart* old = view->chart();
        view->setChart(chart);
        delete old;
    };
    replace(m_left, first);
    replace(m_right, second ? second : newChart());
    m_right->setVisible(second != nullptr);
    layout()->activate();
}

void QtChartsDrawer::showEmpty(ChartKind kind) {
    m_kind = kind;
    setCharts(newChart(), kind == ChartKind::Pie ? newChart() : nullptr);
    for (QChartView* view : {m_left, m_right})
        view->setBackgroundBrush(palette().window());
}

void QtChartsDrawer::showPies(const PieChartData& data) {
    m_kind = ChartKind::Pie;
    const QColor background = orDefault(data.background, QColor(0x33, 0x33, 0x33));
    setCharts(pieChart(data.pies[0], background), pieChart(data.pies[1], background));
    for (QChartView* view : {m_left, m_right})
        view->setBackgroundBrush(background);
}

void QtChartsDrawer::showTrend(const TrendChartData& data) {
    m_kind = ChartKind::Trend;
    QChart* chart = newChart();

    QStringList title;
    for (const TrendParagraph& paragraph : data.paragraphs)
        title << paragraph.text;
    chart->setTitle(title.join(QLatin1Char('\n')));
    if (!data.paragraphs.isEmpty()) {
        const TrendParagraph& first = data.paragraphs.first();
        QFont font = chart->titleFont();
        font.setPixelSize(std::max(8, first.size));
        font.setBold(first.bold);
        chart->setTitleFont(font);
        chart->setTitleBrush(orDefault(first.colour, QColor(0x00, 0x00, 0x66)));
    }

    const QColor axisColour = orDefault(data.axisTextColour, QColor(0x58, 0x7b, 0x8c));
    QFont axisFont;
    axisFont.setPixelSize(std::max(8, data.axisTextSize));

    auto* xAxis = new QBarCategoryAxis();
    QFont periodFont = axisFont;
    QStringList periods = data.periods;
    // A month of days has to fit its labels under the chart: "03日" shows as 3, with 日 as the axis title.
    if (periods.size() > 16) {
        periodFont.setPixelSize(std::min(periodFont.pixelSize(), 10));
        const QString unit = sharedUnit(periods);
        if (!unit.isEmpty()) {
            for (QString& period : periods)
                period = QString::number(period.chopped(unit.size()).toInt());
            xAxis->setTitleText(unit);
            xAxis->setTitleFont(periodFont);
            xAxis->setTitleBrush(axisColour);
        }
    }
    xAxis->append(periods);
    xAxis->setLabelsFont(periodFont);
    xAxis->setLabelsColor(axisColour);
    xAxis->setGridLineVisible(false);
    auto* yAxis = new QValueAxis();
    // The ticks stay where the data file puts them; the range reaches a little beyond the top and bottom
    // ones, so that the marker of a value at the maximum or at 0 is drawn whole, not cut by the plot area.
    const int intervals = std::max(1, data.yIntervals);
    const double span = data.yMax - data.yMin;
    yAxis->setTickType(QValueAxis::TicksDynamic);
    yAxis->setTickAnchor(data.yMin);
    yAxis->setTickInterval(span > 0 ? span / intervals : 1);
    const double room = span > 0 ? span * 0.04 : 0;
    yAxis->setRange(data.yMin - room, data.yMax + room);
    yAxis->setLabelFormat(QStringLiteral("%.1f"));
    yAxis->setLabelsFont(axisFont);
    yAxis->setLabelsColor(axisColour);
    yAxis->setGridLinePen(QPen(orDefault(data.gridColour, QColor(192, 192, 192)), data.gridThickness));
    chart->addAxis(xAxis, Qt::AlignBottom);
    chart->addAxis(yAxis, Qt::AlignLeft);

    for (const TrendSeriesData& serie : data.series) {
        auto* series = new QLineSeries();
        series->setName(serie.name);
        QPen pen(orDefault(serie.lineColour, Qt::black));
        pen.setWidth(std::max(1, serie.thickness));
        series->setPen(pen);
        series->setPointsVisible(data.pointRadius > 0);
        for (qsizetype i = 0; i < serie.values.size(); ++i)
            series->append(double(i), serie.values.at(i));
        chart->addSeries(series);
        series->setMarkerSize(2.0 * data.pointRadius);
        series->setBrush(orDefault(serie.pointColour, Qt::white));
        series->attachAxis(xAxis);
        series->attachAxis(yAxis);
        // The value under the pointer.
        const QStringList periods = data.periods;
        const QList<double> values = serie.values;
        const QString name = serie.name;
        connect(series, &QLineSeries::hovered, this,
                [periods, values, name](const QPointF& point, bool state) {
                    if (!state) {
                        QToolTip::hideText();
                        return;
                    }
                    const qsizetype i = qsizetype(std::lround(point.x()));
                    if (i < 0 || i >= values.size())
                        return;
                    QToolTip::showText(
                        QCursor::pos(),
                        QStringLiteral("%1 %2：%3").arg(periods.value(i), name, valueText(values.at(i))));
                });
    }

    if (data.legendVisible) {
        QLegend* legend = chart->legend();
        legend->show();
        legend->setAlignment(Qt::AlignTop);
        QFont font = legend->font();
        font.setPixelSize(std::max(8, data.legendTextSize));
        legend->setFont(font);
        legend->setLabelColor(orDefault(data.legendTextColour, QColor(0x5e, 0x70, 0x86)));
    }
    setCharts(chart, nullptr);
    m_left->setBackgroundBrush(palette().window());
}

} // namespace qm

// The module's one entry: the program resolves it by name (chartModuleEntryName).
extern "C" Q_DECL_EXPORT qm::ChartDrawer* quillmenu_chart_drawer(QWidget* parent) {
    return new qm::QtChartsDrawer(parent);
}
