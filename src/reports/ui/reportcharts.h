#pragma once

#include <QWidget>

// The chart area of the report windows (超文本浏览框1): writes the chart data file a report asks for and
// shows it in the chart view.
namespace qm {

class ChartView;
class Home;
struct ReportOutcome;

class ReportCharts : public QWidget {
    Q_OBJECT
public:
    explicit ReportCharts(const Home& home, QWidget* parent = nullptr);

    // Writes what `outcome` asks for and, when charts can be shown, draws it; shows or hides the area.
    // False when a data file could not be written.
    bool apply(const ReportOutcome& outcome);

    ChartView* view() const { return m_view; }

private:
    const Home& m_home;
    ChartView* m_view;
};

} // namespace qm
