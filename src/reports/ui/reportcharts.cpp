#include "reports/ui/reportcharts.h"

#include "reports/reportoutcome.h"

namespace qm {

ReportCharts::ReportCharts(const Home& home, QWidget* parent)
    : QWidget(parent)
    , m_home(home) {
    setObjectName(QStringLiteral("超文本浏览框1"));
    setMinimumHeight(282);
}

void ReportCharts::apply(const ReportOutcome& outcome) {
    setVisible(outcome.chartVisible);
}

} // namespace qm
