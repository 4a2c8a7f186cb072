#include "reports/ui/chartview.h"

#include "reports/chartcapability.h"
#include "reports/chartdata.h"
#include "reports/chartread.h"

#include <QHBoxLayout>

namespace qm {

ChartView::ChartView(const Home& home, QWidget* parent)
    : QWidget(parent)
    , m_home(home) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (const auto create = reinterpret_cast<ChartDrawerFactory>(chartModuleEntry())) {
        m_drawer = create(this);
        layout->addWidget(m_drawer->widget());
    }
    showEmpty(ChartKind::Pie);
}

ChartView::~ChartView() = default;

void ChartView::navigate(ChartKind chart) {
    if (chart == ChartKind::Pie)
        showPieFile(pieChartPath());
    else
        showTrendFile(lineChartPath(m_home));
}

void ChartView::showPieFile(const QString& path) {
    if (const std::optional<PieChartData> data = readPieChartFile(path))
        showPies(*data);
    else
        showEmpty(ChartKind::Pie);
}

void ChartView::showTrendFile(const QString& path) {
    if (const std::optional<TrendChartData> data = readTrendChartFile(path))
        showTrend(*data);
    else
        showEmpty(ChartKind::Trend);
}

QChart* ChartView::chart(int index) const {
    return m_drawer ? m_drawer->chart(index) : nullptr;
}

void ChartView::showEmpty(ChartKind kind) {
    m_kind = kind;
    m_empty = true;
    if (m_drawer)
        m_drawer->showEmpty(kind);
}

void ChartView::showPies(const PieChartData& data) {
    m_kind = ChartKind::Pie;
    m_empty = false;
    if (m_drawer)
        m_drawer->showPies(data);
}

void ChartView::showTrend(const TrendChartData& data) {
    m_kind = ChartKind::Trend;
    m_empty = false;
    if (m_drawer)
        m_drawer->showTrend(data);
}

} // namespace qm
