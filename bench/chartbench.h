#pragma once

namespace qm {
class Home;
}

// Chart and closing timings: writing both chart data files, the chart view drawing them, and the day's
// closing summary of a 500-order day read from the big home and printed to a PDF file.
namespace qm::bench {

// Uses the generated home for the closing summary: the 500 orders are added in a transaction that is
// rolled back afterwards, so the home stays as generated. Needs the QApplication to exist.
void benchCharts(const Home& home);

} // namespace qm::bench
