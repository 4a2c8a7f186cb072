#pragma once

#include <QWidget>

// The chart area of the report windows (超文本浏览框1): writes the chart data file a report asks for and
// shows it.
namespace qm {

class Home;
struct ReportOutcome;

class ReportCharts : public QWidget {
    Q_OBJECT
public:
    ReportCharts(const Home& home, QWidget* parent = nullptr);

    // Writes what `outcome` asks for and, when charts can be shown, draws it; shows or hides the area.
    void apply(const ReportOutcome& outcome);

private:
    const Home& m_home;
};

} // namespace qm
