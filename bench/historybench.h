#pragma once

// Order history timings on a given home (the large generated database): the window opening, pages
// (first, middle, last) with their count and sums under each filter, and the CSV export of every order.
namespace qm {
class Home;
}

namespace qm::bench {

void benchHistory(const Home& home);

} // namespace qm::bench
