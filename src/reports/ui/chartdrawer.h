#pragma once

class QChart;
class QWidget;

// What the chart view draws with. The drawing itself lives in the chart module, a library of its own that
// links Qt Charts (and, through it, OpenGL); the program loads it when the first chart is drawn, so that
// start-up does not wait for those libraries. The module exports one function, chartModuleEntry in
// reports/chartcapability.h, of the type ChartDrawerFactory.
namespace qm {

struct PieChartData;
struct TrendChartData;

enum class ChartKind { Pie, Trend };

class ChartDrawer {
public:
    virtual ~ChartDrawer() = default;

    // The widget the charts are drawn in; it belongs to the parent the factory was given.
    virtual QWidget* widget() = 0;

    // An empty chart of `kind` on the window's background (two pies side by side, or one trend chart).
    virtual void showEmpty(ChartKind kind) = 0;
    // Two pies as `data` has them; a pie without slices shows its title on the background.
    virtual void showPies(const PieChartData& data) = 0;
    virtual void showTrend(const TrendChartData& data) = 0;

    // The charts on show: the two pies (left, right) or the trend chart (first) and null.
    virtual QChart* chart(int index) const = 0;
};

// Makes a drawer whose widget is a child of `parent`; the parent's end deletes both.
using ChartDrawerFactory = ChartDrawer* (*)(QWidget* parent);

} // namespace qm
