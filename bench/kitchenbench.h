#pragma once

// Kitchen tickets: drawing one slip, and F12 until the last byte is at two kitchen printers and the
// receipt printer (fake printers on 127.0.0.1).
namespace qm {
class Home;
}

namespace qm::bench {

void benchKitchenTickets(const Home& home);

} // namespace qm::bench
