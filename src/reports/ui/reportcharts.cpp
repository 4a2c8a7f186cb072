#include "reports/ui/reportcharts.h"

#include "reports/chartcapability.h"
#include "reports/chartdata.h"
#include "reports/chartread.h"
#include "reports/reportchartfiles.h"
#include "reports/ui/chartview.h"

#include <QVBoxLayout>

namespace qm {

ReportCharts::ReportCharts(const Home& home, QWidget* parent)
    : QWidget(parent)
    , m_home(home)
    , m_view(new ChartView(home, this)) {
    setObjectName(QStringLiteral("超文本浏览框1"));
    setFixedHeight(282);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

bool ReportCharts::apply(const ReportOutcome& outcome) {
    setVisible(outcome.chartVisible);
    const bool written = writeReportChartFiles(outcome, m_home);
    if (!chartsAvailable())
        return written;
    // The quarter report shows its (emptied) pie file at once, so a quarter without orders shows no pies.
    // A data file that could not be written would still hold the last report's figures: an empty chart
    // shows instead.
    if (outcome.emptyPiesFirst && outcome.chart != ReportChart::Pies && written) {
        // A quarter without orders: its two pies' titles on their background, without slices (the data
        // file itself stays emptied).
        IncomePies titlesOnly = outcome.pies;
        titlesOnly.labels.clear();
        titlesOnly.incomes.clear();
        titlesOnly.counts.clear();
        if (const std::optional<PieChartData> frames =
                readPieChart(pieChartBytes(incomePieChart(titlesOnly))))
            m_view->showPies(*frames);
        else
            m_view->navigate(ChartKind::Pie);
    } else if (outcome.emptyPiesFirst || outcome.chart == ReportChart::Pies) {
        if (written)
            m_view->navigate(ChartKind::Pie);
        else
            m_view->showPieFile(QString());
    } else if (outcome.chart == ReportChart::Trend) {
        if (written)
            m_view->navigate(ChartKind::Trend);
        else
            m_view->showTrendFile(QString());
    }
    return written;
}

} // namespace qm
