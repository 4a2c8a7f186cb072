#pragma once

// Receipt timings: the preview redraw of a 30-line order with both pictures on, and one copy printed to a
// PDF file through QPrinter.
namespace qm::bench {

// Builds its own program home and prints the figures. Needs the QApplication to exist.
void benchReceipt();

} // namespace qm::bench
