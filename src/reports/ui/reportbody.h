#pragma once

#include <QList>

class QDialog;
class QLabel;
class QMenuBar;
class QWidget;

// What the report windows (收入报表, 销售统计) share below their menus: the status line (透明标签7) with
// what the window puts beside it, the report table, the charts, and how a report outcome is shown.
namespace qm {

class Home;
class Platform;
class ReportCharts;
class ReportGrid;
struct ReportOutcome;

class ReportBody {
public:
    // Lays the body out as the layout of `window`, under `menuBar`, with `besideStatus` on the status line.
    ReportBody(QDialog* window, QMenuBar* menuBar, const Home& home, const QList<QWidget*>& besideStatus);

    // Shows `outcome` and tells a failed read or a period without orders; true when the period has orders.
    bool present(const ReportOutcome& outcome, Platform& platform);

private:
    QLabel* m_status;
    ReportGrid* m_grid;
    ReportCharts* m_charts;
};

} // namespace qm
