#pragma once

#include "core/home.h"

#include <QWidget>

class QChart;
class QChartView;

// The chart view of the report windows: draws what the chart data files hold, the two pies side by side or
// the trend chart, with Qt Charts.
namespace qm {

struct PieChartData;
struct TrendChartData;

enum class ChartKind { Pie, Trend };

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
    // The charts on show: the two pies (left, right) or the trend chart (first) and null.
    QChart* chart(int index) const;

private:
    void showTrend(const TrendChartData& data);
    void showEmpty(ChartKind kind);
    void setCharts(QChart* first, QChart* second);

    Home m_home;
    ChartKind m_kind = ChartKind::Pie;
    bool m_empty = true;
    QChartView* m_left = nullptr;
    QChartView* m_right = nullptr;
};

} // namespace qm
