#pragma once

#include "core/home.h"
#include "reports/ui/chartdrawer.h"

#include <QWidget>

class QChart;

// The chart view of the report windows: draws what the chart data files hold, the two pies side by side or
// the trend chart. The drawing is done by the chart module (reports/ui/chartdrawer.h), loaded with the first
// view; where it cannot be loaded the view stays blank and the report windows say so.
namespace qm {

class ChartView : public QWidget {
    Q_OBJECT

public:
    // `home` is where the trend chart's data file lives; the pie file is in the temporary folder.
    explicit ChartView(const Home& home, QWidget* parent = nullptr);
    ~ChartView() override;

    // Reads the data file that belongs to `chart` (pieChartPath() or lineChartPath(home)) and draws it.
    // An empty, missing or malformed file shows an empty chart.
    void navigate(ChartKind chart);

    // The same for a data file somewhere else.
    void showPieFile(const QString& path);
    void showTrendFile(const QString& path);
    // Two pies as `data` has them; a pie without slices shows its title on the background.
    void showPies(const PieChartData& data);

    // What is on show, for tests and for the windows' status.
    ChartKind shownKind() const { return m_kind; }
    bool isEmptyChart() const { return m_empty; }
    // The charts on show: the two pies (left, right) or the trend chart (first) and null; null as well
    // when the chart module could not be loaded.
    QChart* chart(int index) const;

private:
    void showTrend(const TrendChartData& data);
    void showEmpty(ChartKind kind);

    Home m_home;
    ChartKind m_kind = ChartKind::Pie;
    bool m_empty = true;
    ChartDrawer* m_drawer = nullptr; // a child widget; null without the chart module
};

} // namespace qm
