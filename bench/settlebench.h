#pragma once

// Settling timings: storing an order (order row, lines and customer count in one transaction) and the
// whole settle command without printing, on a given home (the large generated database).
namespace qm {
class Home;
}

namespace qm::bench {

// Prints the figures. The orders stored while measuring are deleted again, so the home keeps its data.
void benchSettle(const Home& home);

} // namespace qm::bench
