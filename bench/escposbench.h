#pragma once

// Direct ESC/POS printing against a fake printer on 127.0.0.1: F12 until the last byte of the receipt is
// handed over (80 mm, both pictures), and the size of the raster job of a 30-line receipt.
namespace qm {
class Home;
}

namespace qm::bench {

void benchDirectPrinting(const Home& home);

} // namespace qm::bench
