#pragma once

// Report timings on a given home (the large generated database): each income report and sales statistic
// from the choice to a filled grid and a written chart data file, and the chart drawn from that file.
namespace qm {
class Home;
}

namespace qm::bench {

void benchReports(const Home& home);

} // namespace qm::bench
