#include "reports/ui/reportbody.h"

#include "core/platform.h"
#include "reports/reportoutcome.h"
#include "reports/ui/reportcharts.h"
#include "reports/ui/reportgrid.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QVBoxLayout>

namespace qm {

ReportBody::ReportBody(QDialog* window, QMenuBar* menuBar, const Home& home,
                       const QList<QWidget*>& besideStatus) {
    m_status = new QLabel(window);
    m_status->setObjectName(QStringLiteral("透明标签7"));
    auto* top = new QHBoxLayout;
    top->addWidget(m_status, 1);
    for (QWidget* widget : besideStatus)
        top->addWidget(widget);

    m_grid = new ReportGrid(window);
    m_charts = new ReportCharts(home, window);
    auto* layout = new QVBoxLayout(window);
    layout->setMenuBar(menuBar);
    layout->setContentsMargins(3, 4, 3, 3);
    layout->addLayout(top);
    layout->addWidget(m_grid, 1);
    layout->addWidget(m_charts);
}

bool ReportBody::present(const ReportOutcome& outcome, Platform& platform) {
    m_status->setText(outcome.status);
    m_grid->showTable(outcome.table);
    m_charts->apply(outcome);
    if (!outcome.readError.isEmpty())
        platform.showMessage(readErrorMessage(outcome.readError), MessageIcon::Warning);
    else if (!outcome.found)
        platform.showMessage(noDataMessage, MessageIcon::Information, QStringLiteral("提示"));
    return outcome.found;
}

} // namespace qm
