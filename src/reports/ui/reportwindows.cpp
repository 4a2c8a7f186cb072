#include "reports/ui/reportwindows.h"

#include "reports/ui/incomereportwindow.h"
#include "reports/ui/salesstatisticswindow.h"

namespace qm {

void openIncomeReport(QWidget* parent, Database& db, Platform& platform, const Home& home) {
    IncomeReportWindow window(db, platform, home, execModal, parent);
    window.exec();
}

void openSalesStatistics(QWidget* parent, Database& db, Platform& platform, const Home& home) {
    SalesStatisticsWindow window(db, platform, home, salesState(), execModal, parent);
    window.exec();
}

} // namespace qm
